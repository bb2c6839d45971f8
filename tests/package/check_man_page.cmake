# The installed man page (-DPAGE=<dir>/<name>.1.gz) unpacks to a <name>(1) page that groff
# renders with no warning at all.
get_filename_component(name ${PAGE} NAME_WE)
string(TOUPPER ${name} title)
execute_process(COMMAND zcat ${PAGE} OUTPUT_VARIABLE page RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT page MATCHES "^\\.TH ${title} 1 ")
  message(FATAL_ERROR "${PAGE} is no ${name}(1) man page")
endif()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.1 "${page}")
execute_process(COMMAND groff -man -ww -z ${CMAKE_CURRENT_BINARY_DIR}/${name}.1
                OUTPUT_VARIABLE output ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff -man -ww (exit ${status}):\n${warnings}${output}")
endif()
