# SPDX-License-Identifier: ISC
# Proves the formal properties of a bus adapter: Yosys reads SOURCES (the
# adapter, and the property modules that it instantiates) with FORMAL
# defined, and yosys-smtbmc, with z3, checks every assertion of the
# module TOP for DEPTH clocks from reset, and for DEPTH clocks from the
# all-zero state of the registers with reset never asserted (the model
# read with FORMAL_NO_RESET): the base cases.  Then by induction over
# INDUCTION clocks: the properties that hold for INDUCTION clocks in a
# row hold at the next, from any state; as the proof from reset allows
# any reset or none, its induction covers both starts, and with the base
# cases every reachable state.  On success it prints what was proven:
# the "Proven:" comments of SOURCES.  On failure it prints the solver's
# report, which names the assertion, and keeps the counterexample's
# trace in WORK.  Run by CTest (see CMakeLists.txt beside this script).
#
# PARAMETERS, if set, are chparam's options for TOP, such as
# "-set ACK_WRITES 1".  Tools: YOSYS, SMTBMC.  WORK: a scratch directory.

cmake_minimum_required(VERSION 3.16)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
list(JOIN SOURCES " " sources)
foreach(model reset no_reset)
  set(defines "")
  if(model STREQUAL "no_reset")
    set(defines "-DFORMAL_NO_RESET ")
  endif()
  set(parameters "")
  if(PARAMETERS)
    set(parameters "chparam ${PARAMETERS} ${TOP}\n")
  endif()
  file(WRITE "${WORK}/${model}.ys"
    "read_verilog -formal ${defines}${sources}\n"
    "${parameters}"
    "prep -top ${TOP}\n"
    "flatten\n"
    "opt_expr -full\n"
    "wreduce\n"
    "opt_clean\n"
    "write_smt2 -wires ${model}.smt2\n")
  execute_process(COMMAND "${YOSYS}" -q -s ${model}.ys WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status STREQUAL "0")
    message(NOTICE "${output}")
    message(FATAL_ERROR "yosys failed with status ${status}")
  endif()
endforeach()

# --unroll: z3 is many times faster on the unrolled model, as on one whose
# bit widths wreduce has cut to what the logic uses.
foreach(step "base case from reset" "base case from the all-zero state"
    "induction")
  set(model reset)
  set(options --unroll -t ${DEPTH})
  if(step STREQUAL "base case from the all-zero state")
    set(model no_reset)
  elseif(step STREQUAL "induction")
    set(options --unroll -i -t ${INDUCTION})
  endif()
  execute_process(COMMAND "${SMTBMC}" -s z3 ${options}
      --dump-vcd counterexample.vcd ${model}.smt2
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status STREQUAL "0")
    message(NOTICE "${output}")
    message(FATAL_ERROR "${TOP}: the ${step} failed; the trace is "
      "${WORK}/counterexample.vcd")
  endif()
endforeach()

# The "Proven:" comments, each as one line; their semicolons stand in for
# CMake's list separator meanwhile.
string(CONCAT report "${TOP}: proven for every reachable state from reset, "
  "and from the all-zero state of its registers with no reset at all, by "
  "base cases of ${DEPTH} clocks from each and induction over "
  "${INDUCTION} clocks:\n")
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
