# Warning flags for every target of the project: warnings are errors on GCC, Clang and MinGW.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Werror)

# What the program's own code (not the tests) is compiled with. The Windows edition carries no
# C++ exception or RTTI machinery, which would otherwise more than double its size.
add_library(program_options INTERFACE)
if(WIN32)
  target_compile_options(program_options INTERFACE
    -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
  target_link_options(program_options INTERFACE -Wl,--gc-sections)
elseif(WASI)
  # The page carries the program inline, so it carries no RTTI either.
  target_compile_options(program_options INTERFACE -fno-exceptions -fno-rtti)
endif()
