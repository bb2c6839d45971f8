# The installed man page (-DPAGE=<.gz>) unpacks to a primteiler(1) page that groff renders with
# no warning at all.
execute_process(COMMAND zcat ${PAGE} OUTPUT_VARIABLE page RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT page MATCHES "^\\.TH PRIMTEILER 1 ")
  message(FATAL_ERROR "${PAGE} is no primteiler(1) man page")
endif()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/primteiler.1 "${page}")
execute_process(COMMAND groff -man -ww -z ${CMAKE_CURRENT_BINARY_DIR}/primteiler.1
                OUTPUT_VARIABLE output ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff -man -ww (exit ${status}):\n${warnings}${output}")
endif()
