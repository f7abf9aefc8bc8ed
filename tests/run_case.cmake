# SPDX-License-Identifier: ISC
# Runs one test case of quelto and compares what it did with the golden
# files of the case (see CMakeLists.txt beside this script).
#
# Variables: QUELTO (the binary: quelto, or quelto-words), EMULATOR (a command that runs it, where
# it is built for another platform), CASE (the case's path without suffix),
# HEADER (what a failed run leaves on standard output: quelto's header,
# nothing for quelto-words), WORK (a path for scratch files, without
# suffix), EXACT_REASONS (whether messages that carry the system's reason
# for a failed read or write are compared in full; where the C runtime
# words its reasons otherwise, everything but the reason is compared, and
# the reason must be one line of printable text).
#
# Both streams are written to files and compared byte for byte: output
# that CMake captures itself has lost every CR and NUL.

set(args "")
if(EXISTS "${CASE}.args")
  file(STRINGS "${CASE}.args" args)
endif()
set(wrapper "")
if(EXISTS "${CASE}.wrapper")
  file(STRINGS "${CASE}.wrapper" wrapper)
endif()
set(output "${WORK}.out")
if(EXISTS "${CASE}.stdout")
  file(STRINGS "${CASE}.stdout" output)
endif()

execute_process(
  COMMAND ${wrapper} ${EMULATOR} "${QUELTO}" ${args}
  INPUT_FILE "${CASE}.srec"
  OUTPUT_FILE "${output}"
  ERROR_FILE "${WORK}.err"
  RESULT_VARIABLE status)

set(failures "")

# A case that expects a message expects status 1, or the one its .status
# gives; one without, status 0 and an empty standard error.
set(expected_status 0)
if(EXISTS "${CASE}.status")
  file(STRINGS "${CASE}.status" expected_status)
elseif(EXISTS "${CASE}.err")
  set(expected_status 1)
endif()
if(NOT "${status}" STREQUAL "${expected_status}")
  string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()

file(READ "${WORK}.err" stderr_hex HEX)
if(NOT EXISTS "${CASE}.err")
  string(COMPARE EQUAL "${stderr_hex}" "" stderr_matches)
else()
  file(READ "${CASE}.err" expected_stderr)
  set(reason_message "^([a-z-]+: Error (reading standard input|writing standard output): )[^\n]+\n$")
  if(NOT EXACT_REASONS AND expected_stderr MATCHES "${reason_message}")
    string(LENGTH "${CMAKE_MATCH_1}" prefix_length)
    file(READ "${CASE}.err" prefix_hex HEX LIMIT ${prefix_length})
    string(REGEX MATCH "^${prefix_hex}([2-7][0-9a-f])+0a$" stderr_matches "${stderr_hex}")
  else()
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}.err" "${CASE}.err"
      RESULT_VARIABLE stderr_differs)
    string(COMPARE EQUAL "${stderr_differs}" 0 stderr_matches)
  endif()
endif()
if(NOT stderr_matches)
  set(expected "${CASE}.err")
  if(NOT EXISTS "${expected}")
    set(expected "nothing")
  endif()
  file(READ "${WORK}.err" stderr)
  string(APPEND failures "standard error, expected ${expected}:\n"
    "${stderr}\n(in hex: ${stderr_hex})\n")
endif()

# A failed run leaves the header alone on standard output.
if(NOT EXISTS "${CASE}.stdout")
  if(EXISTS "${CASE}.out")
    set(expected_output "${CASE}.out")
  else()
    set(expected_output "${HEADER}")
  endif()
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E compare_files "${output}" "${expected_output}"
    RESULT_VARIABLE differs)
  if(differs)
    string(APPEND failures "standard output differs from ${expected_output}\n")
    execute_process(COMMAND diff -u "${expected_output}" "${output}"
      OUTPUT_VARIABLE diff ERROR_QUIET)
    string(SUBSTRING "${diff}" 0 4000 diff)
    string(APPEND failures "${diff}")
  endif()
endif()

if(failures)
  message(NOTICE "${failures}")
  message(FATAL_ERROR "${CASE} failed")
endif()
