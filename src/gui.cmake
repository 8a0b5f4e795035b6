# The Qt layers. Each links what lies below it: ui (text conversion, QtCore only) on the core;
# components, mail and report on those; search and print on those; shell on everything.
set(zorel_qt_libs Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::PrintSupport)
set(zorel_layer_order ui components mail report reportui search print shell)
set(zorel_below zorel_data)
foreach(layer ${zorel_layer_order})
  if(TARGET zorel_${layer})
    target_link_libraries(zorel_${layer} PUBLIC ${zorel_below} ${zorel_qt_libs})
    target_compile_definitions(zorel_${layer} PUBLIC ZOREL_VERSION="${PROJECT_VERSION}")
    list(APPEND zorel_below zorel_${layer})
  endif()
endforeach()

add_library(zorel_gui_all INTERFACE)
target_link_libraries(zorel_gui_all INTERFACE ${zorel_below} ${zorel_qt_libs})

file(GLOB zorel_app_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/app/*.qrc)
if(zorel_app_sources)
  add_executable(zorel ${zorel_app_sources})
  target_link_libraries(zorel PRIVATE zorel_gui_all)
endif()
