# SPDX-License-Identifier: ISC
# Proves the formal properties of a bus adapter: Yosys reads SOURCES (the
# adapter, and the property modules that it instantiates) with FORMAL
# defined, and yosys-smtbmc, with z3, checks every assertion of the
# module TOP for DEPTH clocks from the start (the base case) and then by
# induction over DEPTH clocks, which covers every reachable state.  The
# start is reset; with NO_RESET set, it is the all-zero state of the
# registers, and reset is never asserted (FORMAL_NO_RESET).  On success it
# prints what was proven: the "Proven:" comments of SOURCES.  On failure
# it prints the solver's report, which names the assertion, and keeps the
# counterexample's trace in WORK.  Run by CTest (see CMakeLists.txt
# beside this script).
#
# Tools: YOSYS, SMTBMC.  WORK: a scratch directory.

cmake_minimum_required(VERSION 3.16)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(defines "")
set(start "reset")
if(NO_RESET)
  set(defines "-DFORMAL_NO_RESET ")
  set(start "the all-zero state, with no reset at all")
endif()
list(JOIN SOURCES " " sources)
file(WRITE "${WORK}/model.ys"
  "read_verilog -formal ${defines}${sources}\n"
  "prep -top ${TOP}\n"
  "flatten\n"
  "write_smt2 -wires model.smt2\n")
execute_process(COMMAND "${YOSYS}" -q -s model.ys WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status STREQUAL "0")
  message(NOTICE "${output}")
  message(FATAL_ERROR "yosys failed with status ${status}")
endif()

foreach(step "base case" "induction")
  # --unroll: z3 is many times faster on the unrolled model.
  set(options --unroll -t ${DEPTH} --dump-vcd counterexample.vcd)
  if(step STREQUAL "induction")
    list(APPEND options -i)
  endif()
  execute_process(COMMAND "${SMTBMC}" -s z3 ${options} model.smt2
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status STREQUAL "0")
    message(NOTICE "${output}")
    message(FATAL_ERROR "${TOP}: the ${step} failed over ${DEPTH} clocks "
      "from ${start}; the trace is ${WORK}/counterexample.vcd")
  endif()
endforeach()

# The "Proven:" comments, each as one line; their semicolons stand in for
# CMake's list separator meanwhile.
string(CONCAT report "${TOP}: proven for every reachable state, by "
  "induction over ${DEPTH} clocks after a base case of ${DEPTH} clocks "
  "from ${start}:\n")
string(ASCII 1 semicolon)
foreach(file IN LISTS SOURCES)
  file(READ "${file}" source)
  string(REPLACE ";" "${semicolon}" source "${source}")
  string(REGEX MATCHALL "// Proven: [^\n]*(\n *// [^\n]*)*" claims "${source}")
  foreach(claim IN LISTS claims)
    string(REGEX REPLACE "\n *// " " " claim "${claim}")
    string(REGEX REPLACE "^// Proven: " "" claim "${claim}")
    string(APPEND report "- ${claim}\n")
  endforeach()
endforeach()
string(REPLACE "${semicolon}" ";" report "${report}")
message(NOTICE "${report}")
