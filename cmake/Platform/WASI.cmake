# The WASI platform: programs are .wasm files, no shared libraries.
set(WASI 1)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS FALSE)
