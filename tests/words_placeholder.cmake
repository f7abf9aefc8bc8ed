# SPDX-License-Identifier: ISC
# Placeholders of ROWS rows, from the smallest to the largest: quelto must
# make of each a table of exactly ROWS rows, and quelto-words must give its
# words: ROWS - 1 distinct words, none of them zero, then one zero row.
# The largest must have the same bytes on every platform: SHA256 is that
# of the placeholder as its generator is documented, computed apart from
# quelto-words.
#
# Variables: QUELTO, QUELTO_WORDS, EMULATOR, WORK (a scratch directory),
# SHA256 (of the placeholder of 16,384 rows).

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(OUTPUT INPUT COMMAND...): COMMAND must end with status 0 and nothing
# on standard error.
function(run output input)
  execute_process(COMMAND ${EMULATOR} ${ARGN} INPUT_FILE "${input}"
    OUTPUT_FILE "${WORK}/${output}" ERROR_VARIABLE stderr RESULT_VARIABLE status)
  if(NOT status STREQUAL "0" OR NOT stderr STREQUAL "")
    message(FATAL_ERROR "${ARGN}: status ${status}, standard error: ${stderr}")
  endif()
endfunction()

file(WRITE "${WORK}/empty" "")
foreach(rows 4 8 256 2048 16384)
  run(${rows}.srec "${WORK}/empty" "${QUELTO_WORDS}" --placeholder ${rows})
  run(${rows}.v "${WORK}/${rows}.srec" "${QUELTO}")
  run(${rows}.hex "${WORK}/${rows}.srec" "${QUELTO_WORDS}")

  file(STRINGS "${WORK}/${rows}.v" table REGEX "^      'h[0-9a-f]+: rdata = 32'h")
  list(TRANSFORM table REPLACE ".*32'h([0-9a-f]+);$" "\\1")
  file(STRINGS "${WORK}/${rows}.hex" words)
  list(LENGTH table table_rows)
  if(NOT table_rows EQUAL rows)
    message(FATAL_ERROR "placeholder of ${rows} rows: quelto's table has ${table_rows}")
  endif()
  if(NOT words STREQUAL table)
    message(FATAL_ERROR "placeholder of ${rows} rows: the word file is not quelto's table")
  endif()
  list(POP_BACK words last)
  list(LENGTH words count)
  list(REMOVE_DUPLICATES words)
  list(LENGTH words distinct)
  list(FIND words 00000000 zero)
  if(NOT last STREQUAL "00000000" OR NOT distinct EQUAL count OR NOT zero EQUAL -1)
    message(FATAL_ERROR "placeholder of ${rows} rows: ${distinct} distinct words "
      "of ${count}, a zero word at ${zero}, last row ${last}")
  endif()
endforeach()

file(SHA256 "${WORK}/16384.srec" sha256)
if(NOT sha256 STREQUAL SHA256)
  message(FATAL_ERROR "the placeholder of 16384 rows has SHA256 ${sha256}, expected ${SHA256}")
endif()
