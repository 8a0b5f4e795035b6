# The desktop program on the top layer; zorel_gui_all is what the program, its widget tests and
# the desktop benchmark link.

# The mail dialog keeps the login's password in the desktop's secret store when there is one.
find_package(Qt6Keychain QUIET)
if(Qt6Keychain_FOUND)
  target_link_libraries(zorel_mailui PRIVATE qt6keychain)
  target_compile_definitions(zorel_mailui PRIVATE ZOREL_KEYCHAIN)
endif()

add_library(zorel_gui_all INTERFACE)
target_link_libraries(zorel_gui_all INTERFACE zorel_shell)

file(GLOB zorel_app_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/app/*.qrc)
add_executable(zorel ${zorel_app_sources})
target_link_libraries(zorel PRIVATE zorel_gui_all)
