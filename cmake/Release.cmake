# What the release says of itself, read once: the copyright line from LICENSE and the release
# date (SOURCE_DATE_EPOCH when set, as string(TIMESTAMP) honours it, so a rebuilt release keeps
# the date of its commit).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE PRIMTEILER_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT PRIMTEILER_COPYRIGHT MATCHES "^Copyright \\(c\\) (.+)$")
  message(FATAL_ERROR "LICENSE has no line 'Copyright (c) <year> <holder>'")
endif()
set(PRIMTEILER_COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}") # "<year> <holder>"
string(TIMESTAMP PRIMTEILER_RELEASE_DATE "%Y-%m-%d" UTC)

# A reproducible build records no path of the folder it was built in: the same commit built in
# two clones gives the same bytes.
option(PRIMTEILER_REPRODUCIBLE "Map the source folder to . in debug info and file names" OFF)
if(PRIMTEILER_REPRODUCIBLE)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
endif()
