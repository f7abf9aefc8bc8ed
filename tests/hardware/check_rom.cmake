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
#   synthesize  yosys synth, check -assert, and no latches
#   ice40       yosys synth_ice40, which must map the table to BLOCK_RAMS
#               block RAM cells; the mapped netlist simulated with the
#               cell models ICE40_CELLS, then placed and routed for an
#               HX8K at 100 MHz, and packed into a bitstream
#   ecp5        yosys synth_ecp5, which must map the table to BLOCK_RAMS
#               block RAM cells
#   reject      quelto must fail with the message EXPECTED_ERROR
# ADAPTER: a bus adapter of ADAPTERS (such as wishbone for
#   quelto_wishbone_adapter.v), optional: simulate reads the one module
#   through it, and lint and synthesize check the adapter on its own too.
# Tools: QUELTO, MAKE_IMAGE, IVERILOG, VVP, VERILATOR, YOSYS, OBJCOPY,
# SREC_CAT, MAKE, CROSS (prefix of the RISC-V binutils), NEXTPNR_ICE40,
# ICEPACK; files: BENCH, WAIVERS, EXAMPLES, ADAPTERS, ICE40_CELLS; WORK, a
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

set(names "")
foreach(rom IN LISTS ROMS)
  string(REPLACE ":" ";" fields "${rom}")
  list(POP_FRONT fields name)
  list(APPEND names ${name})

  if(SOURCE STREQUAL "firmware")
    file(COPY "${EXAMPLES}/boot.S" "${EXAMPLES}/boot.ld" "${EXAMPLES}/Makefile"
      "${EXAMPLES}/ice40_top.v" DESTINATION "${WORK}")
    set(run_quelto ${EMULATOR} "${QUELTO}")
    list(JOIN run_quelto " " run_quelto)
    run("${MAKE}" "QUELTO=${run_quelto}" "CROSS=${CROSS}" "BENCH=${BENCH}" ${TARGETS})
    file(RENAME "${WORK}/rom.v" "${WORK}/${name}.v")
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
  endif()
  run("${IVERILOG}" -g2005 ${defines} -o bench.vvp "${BENCH}" ${ARGN})
  run("${VVP}" -n bench.vvp ${plusargs})
  string(STRIP "${output}" output)
  string(REGEX MATCH "[^\n]*$" last_line "${output}")
  message(NOTICE "${last_line}")
  if(NOT last_line MATCHES "^PASS")
    message(NOTICE "${output}")
    message(FATAL_ERROR "the simulation failed")
  endif()
endfunction()

# The adapter, checked on its own beside the modules.
set(adapter "")
if(ADAPTER)
  set(adapter quelto_${ADAPTER}_adapter)
  file(COPY "${ADAPTERS}/${adapter}.v" DESTINATION "${WORK}")
endif()

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
else()
  message(FATAL_ERROR "unknown CHECK ${CHECK}")
endif()
