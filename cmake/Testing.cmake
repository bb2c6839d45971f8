# Test support: GoogleTest built from Debian's sources with the project's compiler, Wine as the
# runner of the Windows build, and primteiler_test() to declare a suite.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(WIN32 OR WASI)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
if(WASI)
  # WebAssembly as Debian builds its libc++: no exceptions, which GoogleTest would turn on. No
  # dup() to capture a stream with either, and no processes for death tests (which GoogleTest
  # leaves out by itself).
  foreach(library gtest gtest_main)
    get_target_property(flags ${library} COMPILE_FLAGS)
    string(REPLACE "-fexceptions" "-fno-exceptions" flags "${flags}")
    set_target_properties(${library} PROPERTIES COMPILE_FLAGS "${flags}")
  endforeach()
  target_compile_definitions(gtest PUBLIC GTEST_HAS_STREAM_REDIRECTION=0)
  # GoogleTest 1.16 includes <csignal>, which wasi-libc refuses without its signal emulation:
  # granted to GoogleTest alone, never to the program.
  target_compile_definitions(gtest PRIVATE _WASI_EMULATED_SIGNAL)
  # A newer wasi-libc's start code refers to main only weakly, which would leave the one in
  # libgtest_main.a unlinked (and the suite a trap): ask for it by its wasm name.
  target_link_options(gtest_main INTERFACE -Wl,--undefined=__main_argc_argv)
endif()

if(CMAKE_CROSSCOMPILING AND WIN32)
  # One Wine prefix per build tree, made before the first suite and its server stopped after
  # the last.
  set(PRIMTEILER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  add_test(NAME wine_prefix_create
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix create ${PRIMTEILER_WINEPREFIX})
  add_test(NAME wine_server_stop
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix stop ${PRIMTEILER_WINEPREFIX})
  set_tests_properties(wine_prefix_create PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)

  # Every Wine process of the suites sees the same X display: the Wine server starts its
  # desktop process once, with the display of whichever program comes first, and a desktop
  # without one leaves later windowed programs waiting.
  set(PRIMTEILER_DISPLAY_FILE ${CMAKE_BINARY_DIR}/xvfb/display)
  add_test(NAME xvfb_start COMMAND ${PROJECT_SOURCE_DIR}/scripts/xvfb start ${CMAKE_BINARY_DIR}/xvfb)
  add_test(NAME xvfb_stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/xvfb stop ${CMAKE_BINARY_DIR}/xvfb)
  set_tests_properties(xvfb_start PROPERTIES FIXTURES_SETUP xvfb)
  set_tests_properties(xvfb_stop PROPERTIES FIXTURES_CLEANUP xvfb)
  # The Wine server goes before the display it may be using.
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_REQUIRED xvfb)
endif()

# Death tests where a test can start a process of its own, skipped where it cannot.
if(WASI)
  set(PRIMTEILER_DEATH_TESTS ${PROJECT_SOURCE_DIR}/tests/support/death/skipped)
else()
  set(PRIMTEILER_DEATH_TESTS ${PROJECT_SOURCE_DIR}/tests/support/death/exits)
endif()

# primteiler_test(<name> SOURCES <files...> LIBS <libraries...>): a GoogleTest suite run by
# CTest, natively, under Wine or under Node.js's WASI.
function(primteiler_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "" "" "SOURCES;LIBS")
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main project_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PRIMTEILER_DEATH_TESTS})
  add_test(NAME ${name} COMMAND ${name})
  if(PRIMTEILER_WINEPREFIX)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED "wine;xvfb" TIMEOUT 600
      ENVIRONMENT "WINEPREFIX=${PRIMTEILER_WINEPREFIX};PRIMTEILER_DISPLAY_FILE=${PRIMTEILER_DISPLAY_FILE}")
  endif()
endfunction()

# primteiler_launcher(<variable> <name> <program>): in <variable>, the path by which a test
# starts <program> (a path, generator expressions allowed) as a process of its own. CTest puts
# a cross build's suites under its emulator, but a program they start would meet the kernel
# bare: there the path is a script <name> that starts it under the emulator. Elsewhere it is
# <program> itself.
function(primteiler_launcher variable name program)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR OR WIN32 OR WASI)
    set(${variable} ${program} PARENT_SCOPE)
    return()
  endif()
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
  set(script ${CMAKE_BINARY_DIR}/launchers/${name})
  file(GENERATE OUTPUT ${script} CONTENT "#!/bin/sh\nexec ${emulator} '${program}' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  set(${variable} ${script} PARENT_SCOPE)
endfunction()

# primteiler_not_run(<why> <tests...>): says at configure time which suites this build leaves
# out and why, so that none is missed silently.
function(primteiler_not_run why)
  list(JOIN ARGN ", " names)
  message(NOTICE "not run in this build (${why}): ${names}")
endfunction()
