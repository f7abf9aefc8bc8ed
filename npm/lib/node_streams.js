// SPDX-License-Identifier: ISC
// The process's own standard streams, for the command: read and written
// with blocking calls, as the native tool reads and writes them.

import { readSync, writeSync } from 'node:fs';
import { isatty } from 'node:tty';

// Node has no call that waits until a descriptor is ready, and the
// descriptor's non-blocking mode must not be turned off: the process that
// passed it on shares it.  So a call that finds no data or no room yet
// (EAGAIN) is made again after a short sleep, which costs no processor
// time meanwhile.
const sleeper = new Int32Array(new SharedArrayBuffer(4));
function retrying(call) {
  for (let delay = 1; ; delay = Math.min(2 * delay, 10)) {
    try {
      return call();
    } catch (error) {
      if (error.code !== 'EAGAIN')
        throw error;
      Atomics.wait(sleeper, 0, 0, delay);
    }
  }
}

export const processStreams = {
  read(buffer) {
    try {
      return retrying(() => readSync(0, buffer, 0, buffer.length, null));
    } catch (error) {
      // Windows reports the end of a pipe as an error.
      if (error.code === 'EOF')
        return 0;
      throw error;
    }
  },
  write(fd, buffer) {
    for (let offset = 0; offset < buffer.length;)
      offset += retrying(() => writeSync(fd, buffer, offset, buffer.length - offset));
  },
  isTerminal: (fd) => isatty(fd),
};
