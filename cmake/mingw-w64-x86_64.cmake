# SPDX-License-Identifier: ISC
# Cross-builds quelto for 64-bit Windows with MinGW-w64, and runs its tests
# under Wine, the robustness harness from a native build in build/:
#
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake \
#       -DQUELTO_HOST_ROBUSTNESS=$PWD/build/tests/robustness
#   cmake --build build-windows && ctest --test-dir build-windows
#
# Needs the Debian packages g++-mingw-w64-x86-64, wine and wine64.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers from the MinGW-w64 tree only; programs, such as the
# hardware tools that the tests use, from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows programs that the tests start run under Wine, in a prefix of the
# build tree's own, and without Wine's own messages on standard error, which
# the tests compare byte for byte.  Debian's Wine has no preloader to
# reserve the addresses Wine needs before the libraries are loaded at
# random ones, so about one start in several thousand fails ("failed to
# map the shared user data"); without address randomisation none does.
find_program(QUELTO_WINE NAMES wine64 wine PATHS /usr/lib/wine)
find_program(QUELTO_SETARCH setarch)
if(QUELTO_WINE)
  set(no_randomisation "")
  if(QUELTO_SETARCH)
    set(no_randomisation ${QUELTO_SETARCH} -R)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all
    WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${no_randomisation} ${QUELTO_WINE})
endif()
