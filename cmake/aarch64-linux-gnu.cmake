# Cross build for arm64 Debian (a Raspberry Pi's among them) with Debian's cross g++; the
# desktop edition's libraries are the arm64 ones installed by multiarch, found by the cross
# pkg-config. Tests run under qemu-aarch64, which loads the arm64 C and C++ libraries from
# their multiarch folders as an arm64 system would: no sysroot, no binfmt registration.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
