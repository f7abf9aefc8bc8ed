# SPDX-License-Identifier: ISC
# What the benchmarks share: a Release build of quelto and make_image in
# build/, a scratch directory $work that is removed on exit, and make_rom.
# Sourced, from the top of the tree.

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A ROM of `size` bytes of random data: $work/rom_<size>.v, its module
# rom_<size>, and the image $work/rom_<size>.bin.  The largest image has
# a last record of 250 bytes at offset 0xFFFF, after 35 zero bytes.
make_rom() {
	local size=$1 name=rom_$1 offset=0
	((size <= 65536)) || offset=$((size - 65750))
	"$build/tests/hardware/make_image" "$work/$name" "$offset" \
		$((size - offset)) 250 "$size" 0x80000000
	"$build/quelto" "$name" < "$work/$name.srec" > "$work/$name.v"
}
