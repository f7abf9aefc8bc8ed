# SPDX-License-Identifier: ISC
# Example boot program for a quelto ROM (RV32I): writes a greeting to the
# data register of a UART, one byte at a time, then waits forever.

	.equ	uart_data, 0x10000000

	.section .text.boot, "ax"
	.globl	_start
_start:
	li	a0, uart_data
	la	a1, greeting
next:
	lbu	a2, 0(a1)
	beqz	a2, done
	sb	a2, 0(a0)
	addi	a1, a1, 1
	j	next
done:
	j	done

	.section .rodata
greeting:
	.string	"Hello from the boot ROM\n"
