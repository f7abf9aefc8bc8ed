# SPDX-License-Identifier: ISC
# Cross-builds quelto for Linux on another CPU with Debian's cross compiler
# for it, and runs its tests under qemu-user, the robustness harness from a
# native build in build/:
#
#   cmake -S . -B build-aarch64 --toolchain cmake/linux-cross.cmake \
#       -DQUELTO_CPU=aarch64 -DQUELTO_HOST_ROBUSTNESS=$PWD/build/tests/robustness
#   cmake --build build-aarch64 && ctest --test-dir build-aarch64
#
# QUELTO_CPU is the CPU of a Debian cross compiler: aarch64, s390x, ...
# Needs the Debian packages g++-<CPU>-linux-gnu and qemu-user.

if(NOT QUELTO_CPU)
  message(FATAL_ERROR "Name the CPU to build for: -DQUELTO_CPU=aarch64")
endif()
# CMake reads this file again for each of its compiler checks.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUELTO_CPU)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${QUELTO_CPU})

set(triple ${QUELTO_CPU}-linux-gnu)
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)

# Libraries and headers from the cross tree only; programs, such as the
# hardware tools that the tests use, from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# qemu finds the cross tree's dynamic linker and libraries with -L; a
# static binary needs neither.
find_program(QUELTO_QEMU qemu-${QUELTO_CPU})
if(QUELTO_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELTO_QEMU} -L /usr/${triple})
endif()
