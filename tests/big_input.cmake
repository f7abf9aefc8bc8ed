# SPDX-License-Identifier: ISC
# A long input: a megabyte of text before the first record, 300,000 header
# records, a megabyte-long line without records, then a data record and a
# record with a bad checksum.  quelto must read all of it and name the bad
# record by its six-digit number.
#
# Variables: QUELTO (the binary), EMULATOR (a command that runs it, if
# any), WORK (a scratch file for the input).

string(REPEAT "notes, logs and lowercase text between records\n" 21846 text)
string(REPEAT "S0030000FC\n" 300000 headers)
string(REPEAT "x" 1048576 long_line)
file(WRITE "${WORK}" "${text}${headers}${long_line}\n"
  "S30D0000000011223344556677888E\n"
  "S70500000000FB\n")

execute_process(COMMAND ${EMULATOR} "${QUELTO}" INPUT_FILE "${WORK}"
  OUTPUT_QUIET ERROR_FILE "${WORK}.err" RESULT_VARIABLE status)
# Compared as files: captured output would have lost any CR.
file(WRITE "${WORK}.expected"
  "quelto: Invalid check sum in record number 300002\n")
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
  "${WORK}.err" "${WORK}.expected" RESULT_VARIABLE differs)
if(NOT status STREQUAL "1" OR differs)
  file(READ "${WORK}.err" stderr)
  message(FATAL_ERROR "status ${status}, standard error: ${stderr}"
    "expected status 1 and the line in ${WORK}.expected")
endif()
