# Fails unless FILE has at most LIMIT bytes:  cmake -DFILE=<path> -DLIMIT=<bytes> -P check_size.cmake
file(SIZE ${FILE} size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} has ${size} bytes, more than ${LIMIT}")
endif()
message(STATUS "${FILE}: ${size} bytes, at most ${LIMIT}")
