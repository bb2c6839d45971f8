# Makes the package of a build tree with CPack and unpacks it as a user would:
#   cmake -DCPACK=<cpack> -DBUILD=<build dir> -DOUT=<scratch dir> -P unpack.cmake
# A .deb is extracted with dpkg-deb into OUT/root, a zip into OUT/root; any files named in
# BESIDE (a ;-list) are copied into OUT/root afterwards.
foreach(variable CPACK BUILD OUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "unpack.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${OUT}/dist
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB packages ${OUT}/dist/*.deb ${OUT}/dist/*.zip)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${OUT}/dist, found: ${packages}")
endif()
file(MAKE_DIRECTORY ${OUT}/root)
if(packages MATCHES "\\.deb$")
  execute_process(COMMAND dpkg-deb -x ${packages} ${OUT}/root COMMAND_ERROR_IS_FATAL ANY)
else()
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${packages}
                  WORKING_DIRECTORY ${OUT}/root COMMAND_ERROR_IS_FATAL ANY)
endif()
foreach(file IN LISTS BESIDE)
  file(COPY ${file} DESTINATION ${OUT}/root)
endforeach()
message(STATUS "unpacked ${packages}")
