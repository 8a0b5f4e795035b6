# The layers: one static library per folder of src/, linking only the Qt modules it needs and the
# layers it builds on, so an include of a module or a layer it does not name fails to build.
# zorel_layer(NAME [QT modules...] [BELOW layers...]) adds one; the layering test checks the
# project includes of every layer against the same table (with the layers below those).
function(zorel_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "QT;BELOW")
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  add_library(zorel_${name} STATIC ${sources})
  target_include_directories(zorel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set(reach "")
  foreach(below ${arg_BELOW})
    if(NOT TARGET zorel_${below})
      message(FATAL_ERROR "layer ${name}: no layer ${below} below it")
    endif()
    get_property(below_reach GLOBAL PROPERTY zorel_reach_${below})
    list(APPEND reach ${below} ${below_reach})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set_property(GLOBAL PROPERTY zorel_reach_${name} ${reach})
  string(REPLACE ";" "," reach_text "${reach}")
  set_property(GLOBAL APPEND PROPERTY zorel_layer_rules "src/${name}:${reach_text}")
  list(TRANSFORM arg_BELOW PREPEND zorel_)
  list(TRANSFORM arg_QT PREPEND Qt6::)
  target_link_libraries(zorel_${name} PUBLIC ${arg_BELOW} ${arg_QT})
  if(NOT arg_QT)
    set_target_properties(zorel_${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  else()
    target_compile_definitions(zorel_${name} PUBLIC ZOREL_VERSION="${PROJECT_VERSION}")
  endif()
endfunction()

#           layer       Qt modules               layers below it
zorel_layer(data)
if(ZOREL_GUI)
  zorel_layer(ui         QT Core                 BELOW data)
  zorel_layer(components QT Widgets              BELOW ui)
  zorel_layer(search     QT Widgets              BELOW components)
  zorel_layer(shell      QT Widgets              BELOW search components)
  # Planned, one line each when their folders arrive:
  #   mail       QT Core Network          BELOW ui
  #   report     QT Core Gui PrintSupport BELOW ui
  #   reportui   QT Widgets PrintSupport  BELOW report components
  #   mailer     QT Widgets               BELOW mail components
  #   print      QT Widgets PrintSupport  BELOW reportui components
  #   shell then also BELOW mailer print
endif()
