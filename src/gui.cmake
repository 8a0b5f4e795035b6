# The Qt layers. Each links what lies below it: ui (text conversion, QtCore only) on the core;
# components, mail and report on those; search, mailer and print on those; shell on everything.
# ui and mail stay free of widgets: the command-line tool links them.
set(zorel_qt_libs Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::PrintSupport)
set(zorel_layer_order ui mail components report reportui search mailer print shell)
set(zorel_below zorel_data)
foreach(layer ${zorel_layer_order})
  if(TARGET zorel_${layer})
    set(qt_libs ${zorel_qt_libs})
    if(layer STREQUAL "ui" OR layer STREQUAL "mail")
      set(qt_libs Qt6::Core Qt6::Network)
    endif()
    target_link_libraries(zorel_${layer} PUBLIC ${zorel_below} ${qt_libs})
    target_compile_definitions(zorel_${layer} PUBLIC ZOREL_VERSION="${PROJECT_VERSION}")
    list(APPEND zorel_below zorel_${layer})
  endif()
endforeach()

# The mail dialog keeps the login's password in the desktop's secret store when there is one.
find_package(Qt6Keychain QUIET)
if(TARGET zorel_mailer AND Qt6Keychain_FOUND)
  target_link_libraries(zorel_mailer PRIVATE qt6keychain)
  target_compile_definitions(zorel_mailer PRIVATE ZOREL_KEYCHAIN)
endif()

add_library(zorel_gui_all INTERFACE)
target_link_libraries(zorel_gui_all INTERFACE ${zorel_below} ${zorel_qt_libs})

file(GLOB zorel_app_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/app/*.qrc)
if(zorel_app_sources)
  add_executable(zorel ${zorel_app_sources})
  target_link_libraries(zorel PRIVATE zorel_gui_all)
endif()
