# Cross build for WebAssembly with Debian's clang 19 and wasi-libc: the web edition. Test suites
# run under Node.js's WASI; the page itself runs the program in a browser's Web Worker.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_VERSION 1)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
# CMake 3.25 knows no WASI platform: Platform/WASI.cmake is its platform file. CMake 3.31 has
# a bare one of its own, which it prefers to ours; the override below comes after either.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/Platform/WASI.cmake)

set(CMAKE_C_COMPILER clang-19)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_AR llvm-ar-19 CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib-19 CACHE FILEPATH "")

# WebAssembly as Debian's libc++ for it is built: no exceptions, no threads.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# The memory may grow to 2 GiB, as much as a 32-bit Windows process has for its heap: a block of
# half the address space is refused there as on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--max-memory=2147483648")

set(CMAKE_FIND_ROOT_PATH /usr/lib/wasm32-wasi /usr/include/wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wasi-run")
