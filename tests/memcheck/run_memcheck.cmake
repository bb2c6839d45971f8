# One memcheck run of the console program: PROGRAM reads INPUT under VALGRIND, which must find
# no error and no block left; the program must end with exit code 0 and show the box SHOWS
# (report or error: its caption, from the worked examples' JSON at EXAMPLES, on the first line
# of standard output; nothing: no output). Prints valgrind's summary lines.
foreach(variable VALGRIND PROGRAM INPUT SHOWS EXAMPLES)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "run_memcheck.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(
  COMMAND ${VALGRIND} --tool=memcheck --error-exitcode=1 --leak-check=full
          --show-leak-kinds=all --errors-for-leak-kinds=all ${PROGRAM}
  INPUT_FILE ${INPUT}
  OUTPUT_VARIABLE shown
  ERROR_VARIABLE report
  RESULT_VARIABLE result)

string(REGEX MATCHALL
  "==[0-9]+== +(in use at exit|total heap usage|All heap blocks|ERROR SUMMARY)[^\n]*"
  summary "${report}")
foreach(line IN LISTS summary)
  message(STATUS "${line}")
endforeach()

if(NOT result EQUAL 0)
  message(FATAL_ERROR "exit code ${result} under valgrind:\n${report}")
endif()
if(NOT report MATCHES "All heap blocks were freed -- no leaks are possible")
  message(FATAL_ERROR "blocks left at the end:\n${report}")
endif()
if(SHOWS STREQUAL "nothing")
  if(NOT shown STREQUAL "")
    message(FATAL_ERROR "expected no output, got:\n${shown}")
  endif()
else()
  file(READ ${EXAMPLES} examples)
  string(JSON caption GET "${examples}" ${SHOWS}Caption)
  string(FIND "${shown}" "\n" end)
  string(SUBSTRING "${shown}" 0 ${end} first)
  if(NOT first STREQUAL caption)
    message(FATAL_ERROR "expected \"${caption}\" first, got:\n${shown}")
  endif()
endif()
