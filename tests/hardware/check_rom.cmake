# SPDX-License-Identifier: ISC
# Builds ROM modules with quelto from S-records and checks them with a
# hardware tool.  Run by CTest (see CMakeLists.txt beside this script).
#
# ROMS: modules, each "NAME" or "NAME:LOAD_OFFSET:DATA_BYTES:RECORD_BYTES:SEED"
#   (the arguments of make_image, which writes the image NAME.bin).
# SOURCE: who writes NAME.srec from the image:
#   make_image         make_image itself
#   objcopy            objcopy -I binary -O srec --srec-forceS3
#   srec_cat           srec_cat with 32-bit addresses and an S7 record
#   srec_cat_defaults  srec_cat with its defaults (S1, S5)
#   firmware           the Makefile in examples/, made with the targets
#                      TARGETS (and variables such as SIM=verilator),
#                      which also run quelto and the Makefile's own
#                      check; the image is objcopy -O binary of the
#                      program
# CHECK: what to do with the modules:
#   simulate    rom_bench.v in Icarus Verilog, all modules in one run
#   lint        verilator --lint-only -Wall, with the waivers file and
#               LINT_OPTIONS
#   synthesize  yosys synth, check -assert, and no latches; an adapter's
#               paths from a bus input to a bus output that pass no
#               register must be those that its header lists
#   ice40       yosys synth_ice40, which must map the table to BLOCK_RAMS
#               block RAM cells; the mapped netlist simulated with the
#               cell models ICE40_CELLS, then placed and routed for an
#               HX8K at 100 MHz, and packed into a bitstream
#   ecp5        yosys synth_ecp5, which must map the table to BLOCK_RAMS
#               block RAM cells
#   reject      quelto must fail with the message EXPECTED_ERROR
#   words       quelto-words writes NAME.hex, and words_bench.v runs the
#               module beside quelto_words_rom loading NAME.hex, in
#               Icarus Verilog and in Verilator, and so do its lattice,
#               gowin and updatemem files with their headers dropped
#               (Icarus up to 4096 rows); up to 4096 rows, Yosys's
#               $readmemh of each must give NAME.hex's words, and
#               srec_cat must read its MIF as the image; quelto_words_rom
#               lints clean, and with BLOCK_RAMS synth_ice40 must map
#               NAME.hex to that many block RAMs; with TARGETS plusarg, one
#               Verilator model of rom_bench.v with quelto_words_rom of
#               the first image's rows reads every image's words through
#               +quelto_words, and fails with another image's
#   swap        the Makefile in examples/ builds its iCE40 design once
#               with a placeholder of TARGETS' ROWS=N rows, on the pins
#               of PINS, then swaps in examples/boot.srec and each image:
#               icebox_vlog reads each bitstream back, and words_bench.v
#               reads it in Icarus Verilog with ICE40_CELLS, against the
#               image's word file; the design before the swap must fail;
#               ROWS that no swap takes must be refused, leaving nothing;
#               make -C from another directory takes a relative FIRMWARE
#               from there; icebram must take a short word file, with
#               zero rows beyond it, and refuse a long one
# ADAPTER: a bus adapter of ADAPTERS (such as wishbone for
#   quelto_wishbone_adapter.v), optional: simulate reads the one module
#   through it, and lint and synthesize check the adapter on its own too;
#   DEFINES, macros for the bench's master (such as ACK_WRITES).
# Tools: QUELTO, QUELTO_WORDS, MAKE_IMAGE, IVERILOG, VVP, VERILATOR,
# YOSYS, OBJCOPY, SREC_CAT, MAKE, CROSS (prefix of the RISC-V binutils),
# NEXTPNR_ICE40, ICEPACK, ICEBRAM, ICEBOX_VLOG; files: BENCH, WORDS_BENCH,
# PINS, WAIVERS, EXAMPLES, ADAPTERS, ICE40_CELLS; WORK, a
# scratch directory.  EMULATOR, if set, runs quelto and make_image, which
# are then built for another platform.

cmake_minimum_required(VERSION 3.16)

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status STREQUAL "0")
    message(NOTICE "${output}")
    message(FATAL_ERROR "failed with status ${status}: ${ARGN}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# The iCE40 tools for the examples' Makefile, as the test has them.
set(make_tools "")
foreach(tool YOSYS NEXTPNR_ICE40 ICEPACK ICEBRAM)
  if(${tool})
    list(APPEND make_tools "${tool}=${${tool}}")
  endif()
endforeach()

set(names "")
foreach(rom IN LISTS ROMS)
  string(REPLACE ":" ";" fields "${rom}")
  list(POP_FRONT fields name)
  list(APPEND names ${name})

  if(SOURCE STREQUAL "firmware")
    file(COPY "${EXAMPLES}/boot.S" "${EXAMPLES}/boot.ld" "${EXAMPLES}/Makefile"
      "${EXAMPLES}/ice40_top.v" "${EXAMPLES}/boot.srec" DESTINATION "${WORK}")
    set(run_quelto ${EMULATOR} "${QUELTO}")
    list(JOIN run_quelto " " run_quelto)
    run("${MAKE}" "QUELTO=${run_quelto}" "CROSS=${CROSS}" "BENCH=${BENCH}"
      ${make_tools} ${TARGETS})
    file(RENAME "${WORK}/boot_rom.v" "${WORK}/${name}.v")
    file(RENAME "${WORK}/boot.bin" "${WORK}/${name}.bin")
    continue()
  endif()

  run(${EMULATOR} "${MAKE_IMAGE}" ${name} ${fields})
  if(SOURCE STREQUAL "objcopy")
    run("${OBJCOPY}" -I binary -O srec --srec-forceS3 ${name}.bin ${name}.srec)
  elseif(SOURCE STREQUAL "srec_cat")
    run("${SREC_CAT}" ${name}.bin -binary -offset 0x80000000 -o ${name}.srec
      -address-length=4 -disable=data-count -execution-start-address=0x80000000)
  elseif(SOURCE STREQUAL "srec_cat_defaults")
    run("${SREC_CAT}" ${name}.bin -binary -o ${name}.srec)
  endif()

  execute_process(COMMAND ${EMULATOR} "${QUELTO}" ${name}
    INPUT_FILE "${WORK}/${name}.srec" OUTPUT_FILE "${WORK}/${name}.v"
    ERROR_VARIABLE stderr RESULT_VARIABLE status)
  if(CHECK STREQUAL "reject")
    if(NOT status STREQUAL "1" OR NOT stderr STREQUAL "${EXPECTED_ERROR}\n")
      message(FATAL_ERROR "expected status 1 and \"${EXPECTED_ERROR}\", "
        "got status ${status} and \"${stderr}\"")
    endif()
    return()
  endif()
  if(NOT status STREQUAL "0" OR NOT stderr STREQUAL "")
    message(NOTICE "${stderr}")
    message(FATAL_ERROR "quelto failed with status ${status}")
  endif()
endforeach()

# The last line of a bench's `output` that begins with PASS or FAIL (a
# Verilator model prints a line of its own after it) must begin with
# `expected`.
function(expect_bench_result expected)
  string(REGEX MATCHALL "(^|\n)(PASS|FAIL)[^\n]*" results "${output}")
  list(POP_BACK results last_line)
  string(STRIP "${last_line}" last_line)
  message(NOTICE "${last_line}")
  if(NOT last_line MATCHES "^${expected}")
    message(NOTICE "${output}")
    message(FATAL_ERROR "the simulation did not end in ${expected}")
  endif()
endfunction()

# Runs quelto-words with ARGN on `input`, writing `output_file`.
function(quelto_words input output_file)
  execute_process(COMMAND ${EMULATOR} "${QUELTO_WORDS}" ${ARGN}
    WORKING_DIRECTORY "${WORK}" INPUT_FILE "${WORK}/${input}"
    OUTPUT_FILE "${WORK}/${output_file}" RESULT_VARIABLE status)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "quelto-words ${ARGN} < ${input} failed with status ${status}")
  endif()
endfunction()

# Yosys's $readmemh of each word file, in quelto_words_rom of `rows`
# rows: the memory's initial words must be those of the first file.
function(yosys_words rows)
  file(STRINGS "${WORK}/${ARGV1}" expected)
  foreach(file IN LISTS ARGN)
    file(WRITE "${WORK}/words_init.ys"
      "read_verilog -defer ${ADAPTERS}/quelto_words_rom.v\n"
      "chparam -set ROWS ${rows} -set WORDS \"${file}\" quelto_words_rom\n"
      "prep -top quelto_words_rom\n"
      "memory_collect\n"
      "write_verilog -noattr words_init.v\n")
    run("${YOSYS}" -q -s words_init.ys)
    file(STRINGS "${WORK}/words_init.v" loaded REGEX "words\\[[0-9]+\\] = ")
    set(row 0)
    foreach(word IN LISTS expected)
      list(GET loaded ${row} line)
      math(EXPR value "0x${word}")
      if(NOT line MATCHES "words\\[${row}\\] = 32'd${value};")
        message(FATAL_ERROR "Yosys reads row ${row} of ${file} as ${line}")
      endif()
      math(EXPR row "${row} + 1")
    endforeach()
  endforeach()
endfunction()

# Verilator's flags for large tables, as the guide gives them.
set(big_table_flags --binary -fno-split -fno-table -MAKEFLAGS OPT_FAST=-O0)

# Reads the modules of `names` with the test bench in Icarus Verilog; the
# arguments are the sources of the modules and any options for iverilog.
function(simulate)
  set(letters A B)
  foreach(name IN LISTS names)
    list(POP_FRONT letters letter)
    string(TOLOWER "${letter}" lower)
    list(APPEND defines -DROM_${letter}=${name})
    list(APPEND plusargs +image_${lower}=${name}.bin)
  endforeach()
  if(ADAPTER)
    get_filename_component(bench_dir "${BENCH}" DIRECTORY)
    string(TOUPPER "${ADAPTER}" upper)
    list(APPEND defines -DADAPTER -DADAPTER_${upper} -I "${bench_dir}")
    foreach(define IN LISTS DEFINES)
      list(APPEND defines -D${define})
    endforeach()
  endif()
  run("${IVERILOG}" -g2005 ${defines} -o bench.vvp "${BENCH}" ${ARGN})
  run("${VVP}" -n bench.vvp ${plusargs})
  expect_bench_result(PASS)
endfunction()

# The adapter, checked on its own beside the modules.
set(adapter "")
if(ADAPTER)
  set(adapter quelto_${ADAPTER}_adapter)
  file(COPY "${ADAPTERS}/${adapter}.v" DESTINATION "${WORK}")
endif()

# The adapter's paths from a bus input to a bus output (not rom_*) that
# pass no register, from its netlist without its flip-flops, must be the
# ones that its header lists after "Paths from a bus input to a bus
# output without a register:", as "//   IN[, IN...] -> OUT[, OUT...]:
# why", or "none.".
function(check_paths)
  file(WRITE "${WORK}/outputs.ys"
    "read_verilog ${adapter}.v\n"
    "synth -top ${adapter}\n"
    "delete t:$_*DFF* t:$_DLATCH*\n"
    "tee -q -o outputs.txt select -list o:*\n")
  run("${YOSYS}" -q -s outputs.ys)
  file(STRINGS "${WORK}/outputs.txt" outputs REGEX "/[^/]+$")
  list(TRANSFORM outputs REPLACE ".*/" "")
  list(FILTER outputs EXCLUDE REGEX "^rom_")
  file(READ "${WORK}/outputs.ys" script)
  string(REPLACE "tee -q -o outputs.txt select -list o:*\n" "" script "${script}")
  file(WRITE "${WORK}/paths.txt" "")
  foreach(output IN LISTS outputs)
    string(APPEND script "tee -q -a paths.txt log output ${output}\n"
      "tee -q -a paths.txt select -list o:${output} %ci* i:* %i\n")
  endforeach()
  file(WRITE "${WORK}/paths.ys" "${script}")
  run("${YOSYS}" -q -s paths.ys)
  file(STRINGS "${WORK}/paths.txt" lines)
  set(found "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^output (.*)")
      set(output ${CMAKE_MATCH_1})
    elseif(line MATCHES "/([^/]+)$")
      set(input ${CMAKE_MATCH_1})
      if(NOT input MATCHES "^rom_")
        list(APPEND found "${input} -> ${output}")
      endif()
    endif()
  endforeach()

  file(READ "${ADAPTERS}/${adapter}.v" source)
  set(heading "Paths from a bus input to a bus output without a register:")
  string(FIND "${source}" "${heading}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${adapter}.v: no \"${heading}\" in its header")
  endif()
  string(SUBSTRING "${source}" ${at} -1 source)
  string(REGEX MATCH "^[^\n]*(\n//   [^\n]*)*" block "${source}")
  string(REGEX MATCHALL "\n//   [a-z0-9_, ]+ -> [a-z0-9_, ]+:" entries "${block}")
  set(listed "")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "//   ([a-z0-9_, ]+) -> ([a-z0-9_, ]+):" entry "${entry}")
    string(REPLACE ", " ";" ins "${CMAKE_MATCH_1}")
    string(REPLACE ", " ";" outs "${CMAKE_MATCH_2}")
    foreach(in IN LISTS ins)
      foreach(out IN LISTS outs)
        list(APPEND listed "${in} -> ${out}")
      endforeach()
    endforeach()
  endforeach()
  if(NOT entries AND NOT block MATCHES "^${heading} none\\.")
    message(FATAL_ERROR "${adapter}.v: \"${heading}\" lists no path, "
      "and does not say none.")
  endif()
  list(SORT found)
  list(SORT listed)
  list(JOIN found "\n  " found_text)
  list(JOIN listed "\n  " listed_text)
  message(NOTICE "paths without a register:\n  ${found_text}")
  if(NOT found STREQUAL listed)
    message(FATAL_ERROR "${adapter}.v: its header lists these paths "
      "without a register:\n  ${listed_text}\nits netlist has:\n  ${found_text}")
  endif()
endfunction()

# Block RAM cells of the FPGA families.
set(block_ram_ice40 SB_RAM40_4K)
set(block_ram_ecp5 DP16KD)

if(CHECK STREQUAL "simulate")
  list(TRANSFORM names APPEND .v OUTPUT_VARIABLE sources)
  if(adapter)
    list(APPEND sources ${adapter}.v)
  endif()
  simulate(${sources})
elseif(CHECK STREQUAL "ice40" OR CHECK STREQUAL "ecp5")
  foreach(name IN LISTS names)
    set(netlist "")
    if(CHECK STREQUAL "ice40")
      set(netlist "write_verilog -noattr ${name}_netlist.v\n"
        "write_json ${name}_netlist.json\n")
    endif()
    file(WRITE "${WORK}/${name}.ys"
      "read_verilog ${name}.v\n"
      "synth_${CHECK} -top ${name}\n"
      "check -assert\n"
      "select -assert-count ${BLOCK_RAMS} t:${block_ram_${CHECK}}\n"
      ${netlist})
    run("${YOSYS}" -q -s ${name}.ys)
  endforeach()
  if(CHECK STREQUAL "ice40")
    # The mapped netlist must serve the image too: this reads the block
    # RAMs' initial contents, not the case table.
    list(TRANSFORM names APPEND _netlist.v OUTPUT_VARIABLE netlists)
    simulate(-DNO_ICE40_DEFAULT_ASSIGNMENTS "${ICE40_CELLS}" ${netlists})
    # nextpnr fails when the clock misses its frequency.
    foreach(name IN LISTS names)
      run("${NEXTPNR_ICE40}" --hx8k --package ct256 --freq 100
        --json ${name}_netlist.json --asc ${name}.asc)
      run("${ICEPACK}" ${name}.asc ${name}.bitstream)
    endforeach()
  endif()
elseif(CHECK STREQUAL "lint")
  foreach(name IN LISTS names)
    run("${VERILATOR}" --lint-only -Wall ${LINT_OPTIONS} "${WAIVERS}" ${name}.v)
  endforeach()
  # An adapter needs no waiver.
  if(adapter)
    run("${VERILATOR}" --lint-only -Wall ${adapter}.v)
  endif()
elseif(CHECK STREQUAL "synthesize")
  foreach(name IN LISTS names adapter)
    file(WRITE "${WORK}/${name}.ys"
      "read_verilog ${name}.v\n"
      "synth -top ${name}\n"
      "check -assert\n"
      "select -assert-none t:$*latch* t:$_DLATCH*\n")
    run("${YOSYS}" -q -s ${name}.ys)
  endforeach()
  if(adapter)
    check_paths()
  endif()
elseif(CHECK STREQUAL "words" AND TARGETS STREQUAL "plusarg")
  # One model, built for the first image's rows, for every image.
  list(GET names 0 first)
  quelto_words(${first}.srec ${first}.hex)
  file(STRINGS "${WORK}/${first}.hex" lines)
  list(LENGTH lines rows)
  run("${VERILATOR}" --binary --top-module rom_bench
    "-DROM_A=quelto_words_rom #(.ROWS(${rows}))" -Mdir model -o words_model
    "${BENCH}" "${ADAPTERS}/quelto_words_rom.v")
  foreach(name IN LISTS names)
    quelto_words(${name}.srec ${name}.hex ${rows})
    run(model/words_model +image_a=${name}.bin +quelto_words=${name}.hex)
    expect_bench_result(PASS)
    # Another image's words: the model must have loaded the file named.
    if(NOT name STREQUAL first)
      run(model/words_model +image_a=${name}.bin +quelto_words=${first}.hex)
      expect_bench_result(FAIL)
    endif()
  endforeach()
elseif(CHECK STREQUAL "words")
  foreach(name IN LISTS names)
    quelto_words(${name}.srec ${name}.hex)
    file(STRINGS "${WORK}/${name}.hex" lines)
    list(LENGTH lines rows)
    set(bench_options -DROM_A=${name} -DROWS=${rows} -DWORDS_ROM)
    set(sources "${WORDS_BENCH}" ${name}.v "${ADAPTERS}/quelto_words_rom.v")
    run("${IVERILOG}" -g2005 ${bench_options} -o ${name}_words.vvp ${sources})
    run("${VVP}" -n ${name}_words.vvp +quelto_words=${name}.hex)
    expect_bench_result(PASS)
    run("${VERILATOR}" ${big_table_flags} --top-module words_bench
      ${bench_options} -Mdir ${name}_obj -o words_check ${sources})
    run(${name}_obj/words_check +quelto_words=${name}.hex)
    expect_bench_result(PASS)
    # The formats whose data $readmemh reads once their header lines are
    # dropped, in Verilator, and, for tables up to 4096 rows (Icarus takes
    # half a minute over the largest), in Icarus; the words that Yosys's
    # $readmemh puts in the memory, of these and of hex; and the bytes
    # that srecord reads from the MIF, laid down in memory order
    # (srec_cat's MIF reader puts a word's low byte first).
    set(readmemh_files ${name}.hex)
    foreach(format lattice gowin updatemem)
      quelto_words(${name}.srec ${name}.${format} --format ${format})
      file(STRINGS "${WORK}/${name}.${format}" data REGEX "^[^#]")
      list(JOIN data "\n" data)
      file(WRITE "${WORK}/${name}_${format}.hex" "${data}\n")
      list(APPEND readmemh_files ${name}_${format}.hex)
      if(rows LESS_EQUAL 4096)
        run("${VVP}" -n ${name}_words.vvp +quelto_words=${name}_${format}.hex)
        expect_bench_result(PASS)
      endif()
      run(${name}_obj/words_check +quelto_words=${name}_${format}.hex)
      expect_bench_result(PASS)
    endforeach()
    if(rows LESS_EQUAL 4096)
      yosys_words(${rows} ${readmemh_files})
      quelto_words(${name}.srec ${name}.mif --format mif)
      run("${SREC_CAT}" ${name}.mif -Memory_Initialization_File
        -o ${name}_mif.bin -binary)
      file(READ "${WORK}/${name}.bin" image HEX)
      string(LENGTH "${image}" digits)
      math(EXPR padding "${rows} * 4 - ${digits} / 2")
      string(REPEAT "00" ${padding} zeros)
      file(READ "${WORK}/${name}_mif.bin" mif HEX)
      if(NOT mif STREQUAL "${image}${zeros}")
        message(FATAL_ERROR "srec_cat reads other bytes from ${name}.mif")
      endif()
    endif()
    # The module lints clean without a waiver, and with BLOCK_RAMS its
    # words go into that many iCE40 block RAMs.
    run("${VERILATOR}" --lint-only -Wall -GROWS=${rows} "${ADAPTERS}/quelto_words_rom.v")
    if(BLOCK_RAMS)
      file(WRITE "${WORK}/${name}_words.ys"
        "read_verilog -defer ${ADAPTERS}/quelto_words_rom.v\n"
        "chparam -set ROWS ${rows} -set WORDS \"${name}.hex\" quelto_words_rom\n"
        "synth_ice40 -top quelto_words_rom\n"
        "check -assert\n"
        "select -assert-count ${BLOCK_RAMS} t:SB_RAM40_4K\n")
      run("${YOSYS}" -q -s ${name}_words.ys)
    endif()
  endforeach()
elseif(CHECK STREQUAL "swap")
  file(COPY "${EXAMPLES}/Makefile" "${EXAMPLES}/ice40_top.v"
    "${EXAMPLES}/boot.srec" DESTINATION "${WORK}")
  string(REGEX MATCH "ROWS=([0-9]+)" rows "${TARGETS}")
  set(rows ${CMAKE_MATCH_1})
  set(run_quelto ${EMULATOR} "${QUELTO}")
  set(run_quelto_words ${EMULATOR} "${QUELTO_WORDS}")
  list(JOIN run_quelto " " run_quelto)
  list(JOIN run_quelto_words " " run_quelto_words)
  set(make "${MAKE}" "QUELTO=${run_quelto}" "QUELTO_WORDS=${run_quelto_words}"
    "PCF=${PINS}" ${make_tools} ${TARGETS})
  # Rows that no swap takes are refused before anything is made, and
  # leave nothing behind that a later run would take for a placeholder.
  foreach(bad 300 8192)
    execute_process(COMMAND ${make} ROWS=${bad} ice40-placeholder
      WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status ERROR_VARIABLE error
      OUTPUT_QUIET)
    file(GLOB left "${WORK}/placeholder_${bad}*")
    if(status STREQUAL "0" OR NOT error MATCHES "ROWS=${bad}: a swap takes"
        OR left)
      message(FATAL_ERROR "ROWS=${bad}: status ${status}, ${error}, left ${left}")
    endif()
  endforeach()
  run(${make} ice40-placeholder)

  # The bitstream read back: icebox_vlog's module "chip" has a port for
  # each pin, named as PINS names it, which readback.v connects to the
  # ROM's ports.
  set(ports "")
  foreach(bit RANGE 31)
    string(APPEND ports "\n    .\\mem_ad[${bit}] (mem_ad[${bit}]),"
      " .\\mem_rdata[${bit}] (mem_rdata[${bit}]),")
  endforeach()
  file(WRITE "${WORK}/readback.v"
    "module readback (mem_rdata, clk, mem_ad, mem_sel, mem_rd);\n"
    "  input clk, mem_sel, mem_rd;\n"
    "  input [31:0] mem_ad;\n"
    "  output [31:0] mem_rdata;\n"
    "  chip chip (${ports}\n"
    "    .clk(clk), .mem_sel(mem_sel), .mem_rd(mem_rd));\n"
    "endmodule\n")
  # read_back(ASC WORDS RESULT): the bitstream ASC against the word file.
  function(read_back asc words result)
    execute_process(COMMAND "${ICEBOX_VLOG}" -p "${PINS}" ${asc}
      WORKING_DIRECTORY "${WORK}" OUTPUT_FILE "${WORK}/chip.v"
      RESULT_VARIABLE status)
    if(NOT status STREQUAL "0")
      message(FATAL_ERROR "icebox_vlog ${asc} failed with status ${status}")
    endif()
    run("${IVERILOG}" -g2005 -DROM_A=readback -DROWS=${rows}
      -DNO_ICE40_DEFAULT_ASSIGNMENTS -o readback.vvp "${WORDS_BENCH}"
      readback.v chip.v "${ICE40_CELLS}")
    run("${VVP}" -n readback.vvp +quelto_words=${words})
    expect_bench_result(${result})
  endfunction()

  foreach(firmware boot ${names})
    run(${make} ice40-swap FIRMWARE=${firmware}.srec)
    file(RENAME "${WORK}/firmware.hex" "${WORK}/${firmware}.hex")
    read_back(ice40_swapped.asc ${firmware}.hex PASS)
  endforeach()
  read_back(ice40_placeholder_${rows}.asc boot.hex FAIL)

  # make -C from another directory, as a shell runs it: a relative
  # FIRMWARE is the caller's.
  file(MAKE_DIRECTORY "${WORK}/caller")
  file(COPY "${EXAMPLES}/boot.srec" DESTINATION "${WORK}/caller")
  file(RENAME "${WORK}/caller/boot.srec" "${WORK}/caller/mine.srec")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env PWD=${WORK}/caller
      ${make} -C "${WORK}" ice40-swap FIRMWARE=mine.srec
    WORKING_DIRECTORY "${WORK}/caller" RESULT_VARIABLE status
    OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status STREQUAL "0")
    message(NOTICE "${output}")
    message(FATAL_ERROR "make -C with a relative FIRMWARE failed")
  endif()
  read_back(ice40_swapped.asc boot.hex PASS)

  # icebram refuses a firmware's word file longer than the placeholder's,
  # and takes a shorter one, with zero rows beyond it.
  file(STRINGS "${WORK}/boot.hex" words)
  list(SUBLIST words 0 32 short)
  list(JOIN short "\n" short)
  file(WRITE "${WORK}/short.hex" "${short}\n")
  math(EXPR more "${rows} * 2")
  quelto_words(boot.srec long.hex ${more})
  foreach(file short long)
    execute_process(COMMAND "${ICEBRAM}" placeholder_${rows}.hex ${file}.hex
      WORKING_DIRECTORY "${WORK}" INPUT_FILE "${WORK}/ice40_placeholder_${rows}.asc"
      OUTPUT_FILE "${WORK}/${file}.asc" ERROR_QUIET RESULT_VARIABLE status)
    if(file STREQUAL "short" AND NOT status STREQUAL "0" OR
        file STREQUAL "long" AND status STREQUAL "0")
      message(FATAL_ERROR "icebram with the ${file} word file: status ${status}")
    endif()
  endforeach()
  read_back(short.asc boot.hex PASS)
else()
  message(FATAL_ERROR "unknown CHECK ${CHECK}")
endif()
