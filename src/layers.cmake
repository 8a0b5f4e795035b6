# The layers and the programs' folders, each with what it may include: the one table of the
# project's include rules. The layering test checks every project include of every folder in it
# against it (scripts/check-layers), and fails on a folder of src/ or of a program missing from it.
#
# zorel_layer(NAME [QT modules...] [BELOW names...]) adds src/NAME as one static library, linking
# only the Qt modules it needs and the layers it builds on, so an include of a module or a layer it
# does not name fails to build as well. A layer with Qt modules is built only with ZOREL_GUI.
# zorel_program(DIR [BELOW names...]) states what the files of a program's folder may include; its
# own targets stay in its CMakeLists.txt. A name below is a layer, or an earlier program folder by
# its path (tools/dbwriter), which the files include by its last part ("dbwriter/").
function(zorel_rule key include_name)
  set(reach "")
  foreach(below ${ARGN})
    get_property(known GLOBAL PROPERTY zorel_reach_${below} DEFINED)
    if(NOT known)
      message(FATAL_ERROR "${key}: nothing called ${below} below it in src/layers.cmake")
    endif()
    get_property(below_reach GLOBAL PROPERTY zorel_reach_${below})
    get_filename_component(below_name ${below} NAME)
    list(APPEND reach ${below_name} ${below_reach})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  define_property(GLOBAL PROPERTY zorel_reach_${key} BRIEF_DOCS "reach" FULL_DOCS "reach")
  set_property(GLOBAL PROPERTY zorel_reach_${key} ${reach})
  string(REPLACE ";" "," reach_text "${reach}")
  set_property(GLOBAL APPEND PROPERTY zorel_layer_rules "${include_name}:${reach_text}")
endfunction()

function(zorel_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "QT;BELOW")
  zorel_rule(${name} src/${name} ${arg_BELOW})
  if(arg_QT AND NOT ZOREL_GUI)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  add_library(zorel_${name} STATIC ${sources})
  target_include_directories(zorel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM arg_BELOW PREPEND zorel_)
  list(TRANSFORM arg_QT PREPEND Qt6::)
  target_link_libraries(zorel_${name} PUBLIC ${arg_BELOW} ${arg_QT})
  if(NOT arg_QT)
    set_target_properties(zorel_${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  else()
    target_compile_definitions(zorel_${name} PUBLIC ZOREL_VERSION="${PROJECT_VERSION}")
  endif()
endfunction()

function(zorel_program dir)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "BELOW")
  zorel_rule(${dir} ${dir} ${arg_BELOW})
endfunction()

#           layer       Qt modules               layers below it
zorel_layer(data)
find_package(Threads REQUIRED)
target_link_libraries(zorel_data PUBLIC Threads::Threads)
zorel_layer(export                            BELOW data)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
target_link_libraries(zorel_export PUBLIC PkgConfig::XLSXWRITER)
zorel_layer(textconv   QT Core                  BELOW data)
zorel_layer(components QT Widgets               BELOW textconv)
zorel_layer(mail       QT Core Network          BELOW textconv)
zorel_layer(report     QT Core Gui PrintSupport BELOW textconv)
zorel_layer(reportui   QT Widgets PrintSupport  BELOW report components)
zorel_layer(search     QT Widgets               BELOW components)
zorel_layer(mailui     QT Widgets               BELOW mail components)
zorel_layer(print      QT Widgets PrintSupport  BELOW reportui components)
zorel_layer(charts     QT Widgets Charts        BELOW export components)
zorel_layer(shell      QT Widgets               BELOW search mailui print charts components)

#             program folder  what it builds on
zorel_program(tools/dbwriter  BELOW data)
zorel_program(tools/mkdb      BELOW tools/dbwriter)
zorel_program(tools/cli       BELOW mail report export)
zorel_program(app             BELOW shell)
zorel_program(bench/common)
zorel_program(bench           BELOW data export bench/common)
zorel_program(bench/gui       BELOW shell bench/common)
zorel_program(bench/mail      BELOW mail bench/common)
zorel_program(bench/report    BELOW report)
