# Makes the package of a build tree with CPack and unpacks it as a user would:
#   cmake -DCPACK=<cpack> -DBUILD=<build dir> -DOUT=<scratch dir> -P unpack.cmake
# Every .deb is extracted with dpkg-deb into OUT/root, as if all were installed; a zip into
# OUT/root. Any files named in BESIDE (a ;-list) are copied into OUT/root afterwards.
foreach(variable CPACK BUILD OUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "unpack.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${OUT}/dist
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB packages ${OUT}/dist/*.deb ${OUT}/dist/*.zip)
if(NOT packages)
  message(FATAL_ERROR "no package in ${OUT}/dist")
endif()
file(MAKE_DIRECTORY ${OUT}/root)
foreach(package IN LISTS packages)
  if(package MATCHES "\\.deb$")
    execute_process(COMMAND dpkg-deb -x ${package} ${OUT}/root COMMAND_ERROR_IS_FATAL ANY)
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${package}
                    WORKING_DIRECTORY ${OUT}/root COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
foreach(file IN LISTS BESIDE)
  file(COPY ${file} DESTINATION ${OUT}/root)
endforeach()
message(STATUS "unpacked ${packages}")
