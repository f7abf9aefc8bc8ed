// SPDX-License-Identifier: ISC
// Runs quelto.wasm: the eight WASI (preview 1) functions that it imports,
// over standard streams that the caller supplies.
//
// The package brings this layer of its own instead of Node's node:wasi: a
// browser has no node:wasi; node:wasi prints a warning of its own on
// standard error, where the command must print quelto's bytes alone; and
// it returns EAGAIN from a non-blocking standard input at once, where the
// command must wait for input as the native tool does.  quelto needs no
// files, clocks or environment, so eight small functions suffice.

// WASI's errno values, in order; Node's error codes are these names with
// an E in front.
const errnos = ('SUCCESS 2BIG ACCES ADDRINUSE ADDRNOTAVAIL AFNOSUPPORT AGAIN ' +
  'ALREADY BADF BADMSG BUSY CANCELED CHILD CONNABORTED CONNREFUSED ' +
  'CONNRESET DEADLK DESTADDRREQ DOM DQUOT EXIST FAULT FBIG HOSTUNREACH IDRM ' +
  'ILSEQ INPROGRESS INTR INVAL IO ISCONN ISDIR LOOP MFILE MLINK MSGSIZE ' +
  'MULTIHOP NAMETOOLONG NETDOWN NETRESET NETUNREACH NFILE NOBUFS NODEV ' +
  'NOENT NOEXEC NOLCK NOLINK NOMEM NOMSG NOPROTOOPT NOSPC NOSYS NOTCONN ' +
  'NOTDIR NOTEMPTY NOTRECOVERABLE NOTSOCK NOTSUP NOTTY NXIO OVERFLOW ' +
  'OWNERDEAD PERM PIPE PROTO PROTONOSUPPORT PROTOTYPE RANGE ROFS SPIPE ' +
  'SRCH STALE TIMEDOUT TXTBSY XDEV NOTCAPABLE').split(' ');
const SUCCESS = 0;
const BADF = errnos.indexOf('BADF');
const IO = errnos.indexOf('IO');
const SPIPE = errnos.indexOf('SPIPE');

// File types and rights, as fd_fdstat_get gives them.
const UNKNOWN = 0;
const CHARACTER_DEVICE = 2;
const FD_READ = 1n << 1n;
const FD_WRITE = 1n << 6n;

// The WASI errno of an error that a stream threw: its Node code, else EIO.
function errnoOf(error) {
  const code = typeof error?.code === 'string' ? error.code.replace(/^E/, '') : '';
  const errno = errnos.indexOf(code);
  return errno > 0 ? errno : IO;
}

// proc_exit unwinds the module's stack with this.
class Exit {
  constructor(status) {
    this.status = status;
  }
}

// Runs a compiled quelto.wasm with the arguments `args` (without the
// program's name) and returns its exit status.  `streams` has
//   read(bytes)          fills the start of bytes from standard input and
//                        gives the count, 0 at its end
//   write(fd, bytes)     writes all of bytes to standard output (1) or
//                        standard error (2)
//   isTerminal(fd)       whether descriptor 0, 1 or 2 is a terminal
// and read and write throw an error with a Node error code on failure.
export function run(module, args, streams) {
  let memory;
  const view = () => new DataView(memory.buffer);
  const bytes = (pointer, length) => new Uint8Array(memory.buffer, pointer, length);
  const encoder = new TextEncoder();
  const argv = ['quelto', ...args].map((arg) => encoder.encode(`${arg}\0`));

  // The buffers of an iovec array, as views of the module's memory.
  const buffers = (iovs, count) => {
    const list = [];
    for (let i = 0; i < count; i++) {
      const pointer = view().getUint32(iovs + 8 * i, true);
      const length = view().getUint32(iovs + 8 * i + 4, true);
      list.push(bytes(pointer, length));
    }
    return list;
  };

  const imports = {
    args_sizes_get(count, size) {
      view().setUint32(count, argv.length, true);
      view().setUint32(size, argv.reduce((sum, arg) => sum + arg.length, 0), true);
      return SUCCESS;
    },
    args_get(pointers, buffer) {
      for (const [i, arg] of argv.entries()) {
        view().setUint32(pointers + 4 * i, buffer, true);
        bytes(buffer, arg.length).set(arg);
        buffer += arg.length;
      }
      return SUCCESS;
    },
    // The C library asks this only to tell a terminal, which it buffers
    // by lines: a character device without the right to seek.  The
    // rights given are to read standard input and write the others.
    fd_fdstat_get(fd, stat) {
      if (fd > 2)
        return BADF;
      bytes(stat, 24).fill(0);
      view().setUint8(stat, streams.isTerminal(fd) ? CHARACTER_DEVICE : UNKNOWN);
      view().setBigUint64(stat + 8, fd === 0 ? FD_READ : FD_WRITE, true);
      return SUCCESS;
    },
    fd_read(fd, iovs, count, done) {
      if (fd !== 0)
        return BADF;
      const target = buffers(iovs, count).find((buffer) => buffer.length > 0);
      try {
        view().setUint32(done, target ? streams.read(target) : 0, true);
        return SUCCESS;
      } catch (error) {
        return errnoOf(error);
      }
    },
    fd_write(fd, iovs, count, done) {
      if (fd !== 1 && fd !== 2)
        return BADF;
      let written = 0;
      try {
        for (const buffer of buffers(iovs, count)) {
          streams.write(fd, buffer);
          written += buffer.length;
        }
      } catch (error) {
        return errnoOf(error);
      }
      view().setUint32(done, written, true);
      return SUCCESS;
    },
    // The standard streams are neither sought nor closed.
    fd_seek() {
      return SPIPE;
    },
    fd_close() {
      return SUCCESS;
    },
    proc_exit(status) {
      throw new Exit(status);
    },
  };

  const instance = new WebAssembly.Instance(module, { wasi_snapshot_preview1: imports });
  memory = instance.exports.memory;
  try {
    instance.exports._start();
    return 0;
  } catch (error) {
    if (error instanceof Exit)
      return error.status;
    throw error;
  }
}

