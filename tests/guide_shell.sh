#!/bin/sh
# SPDX-License-Identifier: ISC
# The shell that cram runs the guide's commands in (see CMakeLists.txt).
# Each page starts in a new directory of cram's.  For the guide of the
# source (SOURCE set), it becomes a clone's top directory after its build:
# build/quelto (QUELTO) and the quelto-words beside it, also on PATH, and
# from the source the examples, without anything made from them, the bus
# adapters, the lint waivers and the test bench.  For a release's guide (RELEASE set: its directories,
# separated by colons), it gets what those hold, as a user who unpacked
# the release works among its files, and QUELTO's directory leads PATH.
if [ -n "$RELEASE" ]; then
	IFS=:
	for dir in $RELEASE; do
		cp -R "$dir"/. . || exit 1
	done
	unset IFS
	make -s -C examples clean > /dev/null || exit 1
	PATH=$(dirname "$QUELTO"):$PATH
else
	mkdir -p build tests/hardware &&
		ln -s "$QUELTO" build/quelto &&
		ln -s "$(dirname "$QUELTO")/quelto-words" build/quelto-words &&
		cp -R "$SOURCE/examples" "$SOURCE/adapters" "$SOURCE/lint_waivers.vlt" . &&
		make -s -C examples clean > /dev/null &&
		cp "$SOURCE/tests/hardware/rom_bench.v" tests/hardware/ || exit 1
	PATH=$PWD/build:$PATH
fi
unset RELEASE SOURCE
export PATH
exec /bin/sh "$@"
