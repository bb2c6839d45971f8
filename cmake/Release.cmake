# What the release says of itself, read once: the copyright line from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE PRIMTEILER_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT PRIMTEILER_COPYRIGHT MATCHES "^Copyright \\(c\\) (.+)$")
  message(FATAL_ERROR "LICENSE has no line 'Copyright (c) <year> <holder>'")
endif()
set(PRIMTEILER_COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}") # "<year> <holder>"

# A reproducible build records no path of the folder it was built in: the same commit built in
# two clones gives the same bytes.
option(PRIMTEILER_REPRODUCIBLE "Map the source folder to . in debug info and file names" OFF)
if(PRIMTEILER_REPRODUCIBLE)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
endif()
