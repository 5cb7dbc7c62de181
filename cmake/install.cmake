# Installing the programs and their files (cmake --install build --prefix DIR) and the Debian
# package built from the same rules (make package, CPack's DEB generator). The top CMakeLists.txt
# includes this last, when every program target is known. Layout under the prefix:
#   bin/                              the viewer and the command-line tools
#   share/tessaran-stars/             the shipped data and the user guide, where an installed
#                                     program finds them from its own path (catalog/locator.h)
#   share/applications/, share/icons/hicolor/, share/metainfo/   the menu entry, its icon and
#                                     the software-centre entry
#   share/man/man1/                   a manual page for each program
include(GNUInstallDirs)

set(TESSARAN_PACKAGE_NAME tessaran-stars)
set(TESSARAN_INSTALLED_DATA ${CMAKE_INSTALL_DATADIR}/${TESSARAN_PACKAGE_NAME})
# The software-centre id (reverse domain name); the menu entry keeps the program's own name,
# which is also the window class the desktop matches windows to it by.
set(TESSARAN_APPSTREAM_ID org.tessaran.stars)
set(TESSARAN_RELEASE_DATE 2026-12-07)
set(TESSARAN_ICON_SIZES 16 32 48 64 128)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The programs that are built here, each with its manual page; tessaran-analyze where
# tools/analyze builds it.
set(TESSARAN_INSTALLED_PROGRAMS)
foreach(program tessaran-stars tessaran-snapshot tessaran-analyze)
  if(TARGET ${program})
    list(APPEND TESSARAN_INSTALLED_PROGRAMS ${program})
  endif()
endforeach()
if(TESSARAN_INSTALLED_PROGRAMS)
  install(TARGETS ${TESSARAN_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${TESSARAN_DATA_FILES} DESTINATION ${TESSARAN_INSTALLED_DATA})

# Manual pages, compressed as Debian keeps them.
find_program(TESSARAN_GZIP gzip)
set(man_pages)
foreach(program ${TESSARAN_INSTALLED_PROGRAMS})
  set(page ${CMAKE_SOURCE_DIR}/resources/man/${program}.1)
  if(TESSARAN_GZIP)
    set(packed ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${packed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${TESSARAN_GZIP} -9 -n -c ${page} > ${packed}
      DEPENDS ${page}
      COMMENT "Compressing the manual page of ${program}")
    list(APPEND man_pages ${packed})
  else()
    list(APPEND man_pages ${page})
  endif()
endforeach()
if(man_pages)
  add_custom_target(tessaran_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The menu entry, the icon at each of its sizes and the software-centre entry go with the viewer.
if(TARGET tessaran-stars)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tessaran-stars.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size ${TESSARAN_ICON_SIZES})
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icon_${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tessaran-stars.png)
  endforeach()
  set(TESSARAN_PROVIDED_BINARIES "")
  foreach(program ${TESSARAN_INSTALLED_PROGRAMS})
    string(APPEND TESSARAN_PROVIDED_BINARIES "\n    <binary>${program}</binary>")
  endforeach()
  set(metainfo ${CMAKE_BINARY_DIR}/${TESSARAN_APPSTREAM_ID}.metainfo.xml)
  configure_file(${CMAKE_SOURCE_DIR}/resources/tessaran-stars.metainfo.xml.in ${metainfo} @ONLY)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The Debian package: every file above under /usr, its library dependencies found by
# dpkg-shlibdeps. The label font (Tahoma, from fonts-wine), its stand-in and the nearest-stars
# list's monospaced font (fonts-liberation) and the browser opener of the user guide (xdg-utils)
# are recommended: without them the program still runs, with the desktop's default fonts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TESSARAN_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT
    "Tessaran Stars maintainers <maintainers@users.noreply.c-seed-1d6e4c2c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of an ancient star catalogue over the modern sky")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaran Stars draws an ancient star catalogue (1028 stars in 48 constellations, in three\n\
editions) over a modern reference catalogue of 9096 stars carried to any epoch, so that\n\
historians of astronomy see how far each ancient position lies from the modern star it is\n\
identified with. The package holds the viewer, the snapshot tool that draws a view into a\n\
PNG picture, the analysis tool that measures and fits an edition's errors, the shipped\n\
catalogues (the editions are synthetic samples) and the user guide.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# The package's own test: built, unpacked and started as a user would start it. Not in the
# sanitizer build, whose instrumented programs make no package anyone installs.
if(TARGET tessaran-stars AND NOT TESSARAN_SANITIZE)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/package ${CMAKE_BINARY_DIR}/tests/package)
endif()
