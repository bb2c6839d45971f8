# The short fuzz pass of CTest: runs FUZZER for SECONDS over a fresh copy of its seed corpus
# (SEEDS) in WORK, so that neither the sources nor an earlier run are changed or reused. Fails
# when the target finds a crash, a leak or a broken invariant; the input is then left in WORK.
foreach(variable FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "short_run.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -runs=10000000 -timeout=30
          -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${WORK}")
endif()
