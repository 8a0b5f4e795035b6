# The Debian package that CPack makes from the install rules (scripts/package), kept as a Debian
# packager would, so that Debian's checker (lintian) finds no fault in it: manual pages, the
# copyright file, the changelog and the AppStream metadata of the desktop entry.
set(zorel_debian_dir ${PROJECT_SOURCE_DIR}/cmake/debian)
set(zorel_metainfo example.severny_vektor.zorel.metainfo.xml)

# The changelog holds an entry for every version; its newest one must be the project's version,
# and its date is the release date the AppStream metadata gives.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${zorel_debian_dir}/changelog)
file(STRINGS ${zorel_debian_dir}/changelog zorel_changelog_top LIMIT_COUNT 1)
file(STRINGS ${zorel_debian_dir}/changelog zorel_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1
     ENCODING UTF-8)
string(REPLACE "." "\\." zorel_version_pattern ${PROJECT_VERSION})
if(NOT zorel_changelog_top MATCHES "^zorel \\(${zorel_version_pattern}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the newest entry is not version "
                      "${PROJECT_VERSION}; add one for it")
endif()
if(NOT zorel_changelog_trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "cmake/debian/changelog: no date in the newest entry's last line")
endif()
set(zorel_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND zorel_months ${CMAKE_MATCH_2} zorel_month)
math(EXPR zorel_month "${zorel_month} + 1" OUTPUT_FORMAT DECIMAL)
if(zorel_month LESS 10)
  set(zorel_month 0${zorel_month})
endif()
set(zorel_release_date ${CMAKE_MATCH_3}-${zorel_month}-${CMAKE_MATCH_1})
configure_file(${zorel_desktop_dir}/${zorel_metainfo}.in ${PROJECT_BINARY_DIR}/${zorel_metainfo}
               @ONLY)

# Manual pages and the changelog, compressed as Debian ships them (no name or time stamp).
set(zorel_man_pages)
foreach(program zorel zorel-start zorel-cli zorel-mkdb)
  set(page ${PROJECT_SOURCE_DIR}/docs/man/${program}.1)
  set(gz ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
  add_custom_command(OUTPUT ${gz} COMMAND ${CMAKE_COMMAND} -E make_directory man
                     COMMAND gzip -9nc ${page} > ${gz}
                     DEPENDS ${page} WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  list(APPEND zorel_man_pages ${gz})
  # zorel-start comes with the desktop program.
  string(REPLACE "-start" "" owner ${program})
  if(TARGET ${owner})
    install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
                   COMMAND gzip -9nc ${zorel_debian_dir}/changelog > changelog.gz
                   DEPENDS ${zorel_debian_dir}/changelog WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
add_custom_target(zorel_docs ALL DEPENDS ${zorel_man_pages} ${PROJECT_BINARY_DIR}/changelog.gz)

if(TARGET zorel AND TARGET zorel-cli AND TARGET zorel-mkdb)
  install(FILES ${PROJECT_BINARY_DIR}/${zorel_metainfo}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${zorel_debian_dir}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorel)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Зорель <zorel-dev@severny-vektor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of a directory of manufacturing enterprises")
# Each line of the long description under 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Зорель shows a directory of manufacturing enterprises in list windows,\n\
searches it by requisites, products and branches, keeps lists and remarks,\n\
mails the enterprises of a list and prints lists through print forms. Comes\n\
with a command-line tool, a base generator, a Russian user guide and a demo\n\
base.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.severny-vektor.example/zorel/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Libraries come from dpkg-shlibdeps; what the program loads at run time is named here: the
# window system plugin, the SVG icon plugin and Qt's Russian texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
