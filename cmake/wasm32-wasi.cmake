# SPDX-License-Identifier: ISC
# Builds quelto for WebAssembly (wasm32-wasi) with Debian's clang, as the
# npm package's quelto.wasm, and runs its tests through the package's
# command under Node.js, the robustness harness from a native build in
# build/:
#
#   cmake -S . -B build-wasm --toolchain cmake/wasm32-wasi.cmake \
#       -DQUELTO_HOST_ROBUSTNESS=$PWD/build/tests/robustness
#   cmake --build build-wasm && ctest --test-dir build-wasm -L 'cases|robustness|npm'
#
# The package, quelto.wasm included, is then in build-wasm/package.  Needs the
# Debian packages clang-14, lld-14, wasi-libc, libc++-14-dev-wasm32,
# libc++abi-14-dev-wasm32 and libclang-rt-14-dev-wasm32, and Node.js 20 or
# later to run it.

# No system that CMake knows: a bare target whose programs end in .wasm.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_EXECUTABLE_SUFFIX_CXX .wasm)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# WebAssembly has no exceptions here, and quelto throws none.  The names
# section only serves debuggers.
set(CMAKE_CXX_FLAGS_INIT -fno-exceptions)
set(CMAKE_EXE_LINKER_FLAGS_INIT -Wl,--strip-all)

# A program built here runs as the package's command runs quelto.wasm.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wasi-run)
