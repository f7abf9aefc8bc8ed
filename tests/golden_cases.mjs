// SPDX-License-Identifier: ISC
// The golden cases of tests/ for the JavaScript tests: each case's name,
// its input and its arguments.  Left out are the cases that need the
// process's own streams (a wrapper, or output to a device), which have no
// meaning for a function or a page, and those of quelto-words (words/).

import { existsSync, readFileSync, readdirSync } from 'node:fs';
import { join } from 'node:path';

export function goldenCases(directory) {
  const cases = [];
  for (const group of readdirSync(directory, { withFileTypes: true })) {
    if (!group.isDirectory() || group.name === 'words')
      continue;
    for (const file of readdirSync(join(directory, group.name)).sort()) {
      const base = join(directory, group.name, file.replace(/\.srec$/, ''));
      if (!file.endsWith('.srec') || existsSync(`${base}.wrapper`) || existsSync(`${base}.stdout`))
        continue;
      const args = existsSync(`${base}.args`)
        ? readFileSync(`${base}.args`, 'utf8').split('\n').slice(0, -1) : [];
      cases.push({ name: base, input: readFileSync(`${base}.srec`), args });
    }
  }
  return cases;
}
