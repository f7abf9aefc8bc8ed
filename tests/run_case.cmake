# Runs one test case of quelto and compares what it did with the golden
# files of the case (see CMakeLists.txt beside this script).
#
# Variables: QUELTO (the binary), CASE (the case's path without suffix),
# HEADER (the golden header), WORK (a scratch file for standard output).

set(args "")
if(EXISTS "${CASE}.args")
  file(STRINGS "${CASE}.args" args)
endif()
set(wrapper "")
if(EXISTS "${CASE}.wrapper")
  file(STRINGS "${CASE}.wrapper" wrapper)
endif()
set(output "${WORK}")
if(EXISTS "${CASE}.stdout")
  file(STRINGS "${CASE}.stdout" output)
endif()

execute_process(
  COMMAND ${wrapper} "${QUELTO}" ${args}
  INPUT_FILE "${CASE}.srec"
  OUTPUT_FILE "${output}"
  ERROR_VARIABLE stderr
  RESULT_VARIABLE status)

set(failures "")

# A case that expects a message expects status 1; one without, status 0.
set(expected_stderr "")
set(expected_status 0)
if(EXISTS "${CASE}.err")
  file(READ "${CASE}.err" expected_stderr)
  set(expected_status 1)
endif()

if(NOT "${status}" STREQUAL "${expected_status}")
  string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()
if(NOT "${stderr}" STREQUAL "${expected_stderr}")
  string(APPEND failures "standard error:\n${stderr}expected:\n${expected_stderr}")
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
