#!/bin/sh
# SPDX-License-Identifier: ISC
# Stands in for quelto on empty input, right in every byte but one: its
# message ends in CR LF.  The case runner must fail it (see CMakeLists.txt).
cat "$HEADER"
printf 'quelto: Missing S8 end record\r\n' >&2
exit 1
