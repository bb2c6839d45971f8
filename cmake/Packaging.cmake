# Install rules and the release packages (CPack): a zip of the Windows edition, a .deb of the
# console edition. Both are reproducible from SOURCE_DATE_EPOCH (see packaging/reproducible.cmake).
if(WASI)
  return() # the web edition's release is its page, which scripts/release copies as it is
endif()
include(GNUInstallDirs)

set(PRIMTEILER_MAINTAINER "the primteiler authors <primteiler@users.noreply.invalid>")
set(package_dir ${CMAKE_BINARY_DIR}/package)

set(CPACK_PACKAGE_NAME primteiler)
set(CPACK_PACKAGE_VENDOR "the primteiler authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prime factors and divisors of a whole number")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/reproducible.cmake)
set(CPACK_SOURCE_GENERATOR "") # releases are built from a clone of the repository

if(WIN32)
  # Unzip and double-click: the program, a short German read-me and the license, both with
  # CR LF line ends for Notepad; the read-me is UTF-8 with a byte-order mark, which every
  # Notepad reads as such.
  configure_file(packaging/LIESMICH.txt.in ${package_dir}/LIESMICH.txt @ONLY NEWLINE_STYLE CRLF)
  file(READ LICENSE license)
  file(CONFIGURE OUTPUT ${package_dir}/LICENSE.txt CONTENT "${license}" @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS primteiler RUNTIME DESTINATION . COMPONENT program)
  install(FILES ${package_dir}/LIESMICH.txt ${package_dir}/LICENSE.txt
          DESTINATION . COMPONENT program)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME primteiler-${PROJECT_VERSION}-win32)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  # `cmake --install`: the program, its man page and the license.
  string(TIMESTAMP man_date "%B %Y" UTC)
  configure_file(packaging/primteiler.1.in ${package_dir}/primteiler.1 @ONLY)
  install(TARGETS primteiler RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
  install(FILES ${package_dir}/primteiler.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT docs)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT docs)

  # The Debian layout of the same documents (only in the package): the man page and the
  # changelog compressed without name or time stamp, the license as a machine-readable
  # copyright file.
  file(STRINGS LICENSE license_lines)
  list(FILTER license_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
  list(POP_FRONT license_lines) # the empty line under the title
  list(POP_FRONT license_lines) # the empty line under the copyright
  set(license_text "")
  foreach(line IN LISTS license_lines)
    if(line STREQUAL "")
      string(APPEND license_text " .\n")
    else()
      string(APPEND license_text " ${line}\n")
    endif()
  endforeach()
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(packaging/copyright.in ${package_dir}/debian/copyright @ONLY)
  configure_file(packaging/changelog.in ${package_dir}/debian/changelog @ONLY)
  execute_process(COMMAND gzip -9nc ${package_dir}/primteiler.1
                  OUTPUT_FILE ${package_dir}/debian/primteiler.1.gz COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND gzip -9nc ${package_dir}/debian/changelog
                  OUTPUT_FILE ${package_dir}/debian/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${package_dir}/debian/primteiler.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES ${package_dir}/debian/copyright ${package_dir}/debian/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL program debian)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PRIMTEILER_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # CPack puts the summary first and indents the rest as Debian's control format wants it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "primteiler asks for a whole number, breaks it into its prime factors by
trial division, derives every divisor from those factors, times both
computations in milliseconds and prints both lists in one report. Its texts
are German.

This is the console edition of a small Windows utility: it reads the number
from standard input and writes the report to standard output.")
endif()

include(CPack)
