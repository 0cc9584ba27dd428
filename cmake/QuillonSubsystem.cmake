# One static library per subsystem folder, made of every source file in it.
# quillon_subsystem(NAME <name> DIR <dir> [DEPENDS libs...] [QT])
#   Sources ending in "_qt.cpp" (and their Qt-dependent units) are only built when Qt is there;
#   they go into a second library <name>_qt so that the model stays free of Qt.
function(quillon_subsystem)
  cmake_parse_arguments(S "" "NAME;DIR" "DEPENDS;QT_DEPENDS" ${ARGN})
  file(GLOB model_sources CONFIGURE_DEPENDS ${S_DIR}/*.cpp)
  file(GLOB qt_sources CONFIGURE_DEPENDS ${S_DIR}/*_qt.cpp ${S_DIR}/qt/*.cpp)
  if(qt_sources)
    list(REMOVE_ITEM model_sources ${qt_sources})
  endif()
  if(model_sources)
    add_library(${S_NAME} STATIC ${model_sources})
  else()
    add_library(${S_NAME} INTERFACE)
  endif()
  get_target_property(kind ${S_NAME} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${S_NAME} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${S_NAME} INTERFACE ${S_DEPENDS})
  else()
    target_include_directories(${S_NAME} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${S_NAME} PUBLIC ${S_DEPENDS})
  endif()
  if(qt_sources AND QUILLON_BUILD_GUI)
    add_library(${S_NAME}_qt STATIC ${qt_sources})
    set_target_properties(${S_NAME}_qt PROPERTIES AUTOMOC ON)
    target_link_libraries(${S_NAME}_qt PUBLIC ${S_NAME} ${S_QT_DEPENDS} Qt6::Core Qt6::Gui Qt6::Widgets)
  endif()
endfunction()

function(quillon_add_test_executable name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${T_DEPENDS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               QUILLON_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # The cases share the test settings and the user's working folder: they run one at a time,
  # beside the tests that are not GoogleTest cases.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLON_CONFIG_DIR=${CMAKE_BINARY_DIR}/test-config"
               RESOURCE_LOCK quillon_shared_folders)
endfunction()

# GoogleTest executables for the test sources of a folder: one made of them all, or with
# PER_FILE one per source file, named <NAME>_<file>.
function(quillon_test_folder)
  cmake_parse_arguments(T "PER_FILE" "NAME;DIR" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${T_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(T_PER_FILE)
    foreach(source ${sources})
      get_filename_component(stem ${source} NAME_WE)
      quillon_add_test_executable(${T_NAME}_${stem} ${source})
    endforeach()
  else()
    quillon_add_test_executable(${T_NAME} ${sources})
  endif()
endfunction()
