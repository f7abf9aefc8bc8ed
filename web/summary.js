// SPDX-License-Identifier: ISC
// The line shown beside a module: what its table holds, read from the
// module's text alone.

const count = (n, what) => `${n.toLocaleString('en-US')} ${what}${n === 1 ? '' : 's'}`;

// Summarises the Verilog `text` of a module that quelto wrote.  A table
// on mem_ad[f:2] has 2^(f-1) rows, for an image of 2^(f-2) words or more
// but fewer than 2^(f-1): its lower half is all image.  Above that, the
// image is taken to end at its last word that is not zero, since the
// module does not tell a zero word of the image from a zero row.  The
// rows are read from the end of the table up, as the largest has 32,768.
export function summarise(text) {
  const bits = /^ {2}reg {4}\[(\d+):2\] {4}m_ad;$/m.exec(text);
  if (!bits) {
    const word = /^ {2}assign mem_rdata = m_rd \? 32'h([0-9a-f]{8}) : 0;$/m.exec(text);
    return word ? `One word, 32'h${word[1]}: no table, no address bits` : '';
  }
  const rows = 2 ** (Number(bits[1]) - 1);
  let zeroRows = 0;
  let position = text.lastIndexOf('\n    endcase\n');
  while (zeroRows < rows / 2) {
    position = text.lastIndexOf(": rdata = 32'h", position - 1);
    if (position < 0 || !text.startsWith("00000000;\n", position + 14))
      break;
    zeroRows++;
  }
  return `${count(rows, 'row')} on mem_ad[${bits[1]}:2]: ` +
    `${count(rows - zeroRows, 'word')} of image, ${count(zeroRows, 'zero row')}`;
}
