#!/bin/sh
# SPDX-License-Identifier: ISC
# The shell that cram runs the guide's commands in (see CMakeLists.txt).
# Each page starts in a new directory of cram's, which becomes a clone's
# top directory after its build: build/quelto (QUELTO), also on PATH, and
# from the source (SOURCE) the examples, without anything made from them,
# the bus adapters, the lint waivers and the test bench.
mkdir -p build tests/hardware &&
	ln -s "$QUELTO" build/quelto &&
	cp -R "$SOURCE/examples" "$SOURCE/adapters" "$SOURCE/lint_waivers.vlt" . &&
	make -s -C examples clean > /dev/null &&
	cp "$SOURCE/tests/hardware/rom_bench.v" tests/hardware/ || exit 1
PATH=$PWD/build:$PATH
export PATH
exec /bin/sh "$@"
