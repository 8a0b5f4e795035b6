# The program as a citizen of a Linux desktop: its icon built into the shell, the user guide and
# the demo base laid out in the build tree as they are installed (share/zorel/), the install
# rules (programs, icon, desktop entry, guide, demo base, manual page) and the Debian package
# that CPack makes from them (scripts/package).
include(GNUInstallDirs)
# Installing and packaging take what is built (scripts/package builds only what it installs)
# instead of building every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(zorel_desktop_dir ${PROJECT_SOURCE_DIR}/desktop)
set(zorel_share ${PROJECT_BINARY_DIR}/share/zorel)

if(TARGET zorel_shell)
  qt_add_resources(zorel_shell zorel_icon PREFIX /zorel BASE ${zorel_desktop_dir}
                   FILES ${zorel_desktop_dir}/zorel.svg)
endif()

# A program in the build tree finds its guide in share/zorel/guide beside it, as when installed.
file(GLOB zorel_guide_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/guide/*)
foreach(file ${zorel_guide_files})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${zorel_share}/guide/${name} COPYONLY)
endforeach()

# The demo base that the desktop entry's first start copies into the user's data folder. It is
# opened once here, so that it ships with its index files and remark file and opening the
# installed copy writes nothing.
if(TARGET zorel-mkdb AND TARGET zorel-cli)
  file(GLOB zorel_demo_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/demo/*)
  add_custom_command(OUTPUT ${zorel_share}/demo/db/factory.dat
                     COMMAND ${CMAKE_COMMAND} -E rm -rf ${zorel_share}/demo
                     COMMAND zorel-mkdb ${PROJECT_SOURCE_DIR}/data/demo ${zorel_share}/demo
                     COMMAND zorel-cli --db ${zorel_share}/demo/db info
                     DEPENDS zorel-mkdb zorel-cli ${zorel_demo_sources} VERBATIM)
  add_custom_target(zorel_demo_base ALL DEPENDS ${zorel_share}/demo/db/factory.dat)
endif()

add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/zorel-cli.1.gz
                   COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/man/zorel-cli.1 > zorel-cli.1.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/zorel-cli.1
                   WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
add_custom_target(zorel_man_page ALL DEPENDS ${PROJECT_BINARY_DIR}/zorel-cli.1.gz)

foreach(program zorel zorel-cli zorel-cli-qt zorel-mkdb)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
if(TARGET zorel AND TARGET zorel-mkdb)
  install(PROGRAMS ${zorel_desktop_dir}/zorel-start DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${zorel_desktop_dir}/zorel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${zorel_desktop_dir}/zorel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(DIRECTORY ${zorel_share}/guide ${zorel_share}/demo
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zorel)
endif()
install(FILES ${PROJECT_BINARY_DIR}/zorel-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Зорель <zorel-dev@severny-vektor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of a directory of manufacturing enterprises")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Зорель shows a directory of manufacturing enterprises in list windows, searches it by\n\
requisites, products and branches, keeps lists and remarks. Comes with a command-line tool,\n\
a base generator, a Russian user guide and a demo base.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Libraries come from dpkg-shlibdeps; what the program loads at run time is named here: the
# window system plugin, the SVG icon plugin and Qt's Russian texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
