# The program as a citizen of a Linux desktop: its icon built into the shell, the user guide and
# the demo base laid out in the build tree as they are installed (share/zorel/), and the install
# rules of the programs, the icon, the desktop entry, the guide and the demo base. What makes a
# Debian package of them is in package.cmake.
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

foreach(program zorel zorel-cli zorel-mkdb)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# The companion of zorel-cli is run by it alone (see tools/CMakeLists.txt).
if(TARGET zorel-cli-qt)
  install(TARGETS zorel-cli-qt RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/zorel)
endif()
if(TARGET zorel AND TARGET zorel-mkdb)
  install(PROGRAMS ${zorel_desktop_dir}/zorel-start DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${zorel_desktop_dir}/zorel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${zorel_desktop_dir}/zorel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(DIRECTORY ${zorel_share}/guide ${zorel_share}/demo
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zorel)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
