# Install rules and the release packages (CPack): a zip of the Windows edition; a .deb of the
# console edition and one of the desktop edition, as Debian splits a program with and without a
# GUI. All are reproducible from SOURCE_DATE_EPOCH (see packaging/reproducible.cmake).
if(WASI)
  return() # the web edition's release is its page, which scripts/release copies as it is
endif()
include(GNUInstallDirs)

set(PRIMTEILER_MAINTAINER "the primteiler authors <primteiler@users.noreply.invalid>")
# Where the project will be published (a placeholder until it is): the software centres' link and
# the screenshots they show; the AppStream id is its name reversed.
set(PRIMTEILER_HOMEPAGE "https://primteiler.invalid/")
set(PRIMTEILER_APPSTREAM_ID invalid.primteiler.primteiler)
set(package_dir ${CMAKE_BINARY_DIR}/package)

set(CPACK_PACKAGE_NAME primteiler)
set(CPACK_PACKAGE_VENDOR "the primteiler authors")
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
  # `cmake --install`: the programs, their man pages and the license; the desktop edition's
  # menu entry, icons and AppStream metainfo.
  string(TIMESTAMP man_date "%B %Y" UTC)
  string(TIMESTAMP release_date "%Y-%m-%d" UTC)
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(editions primteiler)
  if(PRIMTEILER_DESKTOP)
    list(APPEND editions primteiler-gtk)
  endif()
  install(TARGETS primteiler RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT console)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT docs)
  if(PRIMTEILER_DESKTOP)
    set(share ${CMAKE_INSTALL_DATADIR})
    install(TARGETS primteiler-gtk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
    install(FILES packaging/primteiler-gtk.desktop DESTINATION ${share}/applications
            COMPONENT desktop)
    configure_file(packaging/primteiler-gtk.metainfo.xml.in
                   ${package_dir}/${PRIMTEILER_APPSTREAM_ID}.metainfo.xml @ONLY)
    install(FILES ${package_dir}/${PRIMTEILER_APPSTREAM_ID}.metainfo.xml
            DESTINATION ${share}/metainfo COMPONENT desktop)
    install(FILES app/primteiler.svg DESTINATION ${share}/icons/hicolor/scalable/apps
            RENAME primteiler-gtk.svg COMPONENT desktop)
    foreach(size IN LISTS PRIMTEILER_DESKTOP_ICON_SIZES)
      install(FILES ${PROJECT_BINARY_DIR}/app/icon-${size}.png
              DESTINATION ${share}/icons/hicolor/${size}x${size}/apps RENAME primteiler-gtk.png
              COMPONENT desktop)
    endforeach()
  endif()

  # The Debian layout of the documents (only in the packages), each package its own: the man
  # page and the changelog compressed without name or time stamp, the license as a
  # machine-readable copyright file.
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
  configure_file(packaging/copyright.in ${package_dir}/debian/copyright @ONLY)
  configure_file(packaging/changelog.in ${package_dir}/debian/changelog @ONLY)
  execute_process(COMMAND gzip -9nc ${package_dir}/debian/changelog
                  OUTPUT_FILE ${package_dir}/debian/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  foreach(edition IN LISTS editions)
    if(edition STREQUAL primteiler)
      set(component console)
    else()
      set(component desktop)
    endif()
    configure_file(packaging/${edition}.1.in ${package_dir}/${edition}.1 @ONLY)
    install(FILES ${package_dir}/${edition}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT docs)
    execute_process(COMMAND gzip -9nc ${package_dir}/${edition}.1
                    OUTPUT_FILE ${package_dir}/debian/${edition}.1.gz COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${package_dir}/debian/${edition}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT ${component}_debian EXCLUDE_FROM_ALL)
    install(FILES ${package_dir}/debian/copyright ${package_dir}/debian/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${edition}
            COMPONENT ${component}_debian EXCLUDE_FROM_ALL)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
  set(CPACK_COMPONENTS_ALL console console_debian)
  set(CPACK_COMPONENT_CONSOLE_GROUP console)
  set(CPACK_COMPONENT_CONSOLE_DEBIAN_GROUP console)
  set(CPACK_DEBIAN_CONSOLE_PACKAGE_NAME primteiler)
  if(PRIMTEILER_DESKTOP)
    list(APPEND CPACK_COMPONENTS_ALL desktop desktop_debian)
    set(CPACK_COMPONENT_DESKTOP_GROUP desktop)
    set(CPACK_COMPONENT_DESKTOP_DEBIAN_GROUP desktop)
    set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME primteiler-gtk)
  endif()
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  if(CMAKE_CROSSCOMPILING)
    # CPack would name the machine that packs (dpkg --print-architecture); the package is for the
    # one the compiler builds for, named by its multiarch triplet (aarch64-linux-gnu: arm64).
    # dpkg-shlibdeps finds that architecture's libraries (multiarch) from the binaries' own format.
    execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PRIMTEILER_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The first line is the summary; CPack indents the rest as Debian's control format wants it.
  set(about "primteiler asks for a whole number, breaks it into its prime factors by
trial division, derives every divisor from those factors, times both
computations in milliseconds and shows both lists in one report. Its texts
are German.")
  set(CPACK_DEBIAN_CONSOLE_DESCRIPTION "prime factors and divisors of a whole number
${about}

This is the console edition of a small Windows utility: it takes the number
as its argument or from standard input and writes the report to standard
output. The desktop edition is in the package primteiler-gtk.")
  set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "prime factors and divisors of a whole number, in a window
${about}

This is the desktop edition, on GTK 3 for X11 and Wayland: it asks in a
small window and shows the report in a message box, as the Windows edition
does; the menu lists it under Education as Primfaktoren / Teiler. The
console edition is in the package primteiler.")
endif()

include(CPack)
