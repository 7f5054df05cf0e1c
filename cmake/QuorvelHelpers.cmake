# quorvel_add_library(<layer> SOURCES ... [DEPS ...])
#   Builds the library quorvel_<layer> from src/<layer>. Headers are included as
#   "<layer>/<file>.h" from src/.
function(quorvel_add_library layer)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(quorvel_${layer} STATIC ${ARG_SOURCES})
  target_include_directories(quorvel_${layer} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(quorvel_${layer} PUBLIC ${ARG_DEPS})
endfunction()

# quorvel_add_test(<name> SOURCES ... [DEPS ...] [QT])
#   A GoogleTest program registered with CTest, one CTest entry per test case.
#   QT: the program runs under a QApplication on the offscreen platform.
function(quorvel_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} quorvel_qt_test_main GTest::gtest)
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main)
    set(env "")
  endif()
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    NO_PRETTY_TYPES NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "${env}")
endfunction()

# quorvel_add_window_manager_test(<program> [ARGS ...])
#   Runs the GUI test program once more, whole, as on a user's desktop: on an X server of
#   its own under a window manager. CTest entry <program>.UnderWindowManager, skipped
#   (with the reason) when the X server cannot start.
function(quorvel_add_window_manager_test program)
  add_test(NAME ${program}.UnderWindowManager
    COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run_under_window_manager.sh $<TARGET_FILE:${program}> ${ARGN})
  set_tests_properties(${program}.UnderWindowManager PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()

# quorvel_add_layer(<layer> [DEPS ...] [QT])
#   quorvel_<layer> from every source below src/<layer>; QT turns on moc and rcc.
function(quorvel_add_layer layer)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)  # a layer not written yet
    add_library(quorvel_${layer} INTERFACE)
    target_include_directories(quorvel_${layer} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(quorvel_${layer} INTERFACE ${ARG_DEPS})
    return()
  endif()
  quorvel_add_library(${layer} SOURCES ${sources} DEPS ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(quorvel_${layer} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
endfunction()

# quorvel_add_layer_tests(<layer> [DEPS ...] [QT])
#   Every tests/<layer>/*_test.cpp becomes its own test program <layer>_<file>,
#   linked to quorvel_<layer>, the given DEPS and the shared files of tests/<layer>/support/.
function(quorvel_add_layer_tests layer)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB support_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  set(qt_flag "")
  if(ARG_QT)
    set(qt_flag QT)
  endif()
  foreach(source IN LISTS test_sources)
    get_filename_component(name ${source} NAME_WE)
    quorvel_add_test(${layer}_${name} ${qt_flag}
      SOURCES ${source} ${support_sources}
      DEPS quorvel_${layer} ${ARG_DEPS})
    if(ARG_QT)
      set_target_properties(${layer}_${name} PROPERTIES AUTOMOC ON)
    endif()
  endforeach()
endfunction()
