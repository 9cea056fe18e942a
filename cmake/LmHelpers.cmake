# lm_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per unit, registered with CTest.
function(lm_add_gtest name)
  if(NOT LM_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "WORKING_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY}
    DISCOVERY_MODE PRE_TEST
    # One variable only: a list here would be split apart on its way to the test.
    # Qt suites get QT_QPA_PLATFORM from lm_add_qtest (and scripts/test sets it for all).
    PROPERTIES ENVIRONMENT "LMTOOL=$<TARGET_FILE:lmtool>")
  add_dependencies(${name} lmtool)
endfunction()

# lm_add_qtest(<name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable (offscreen) registered with CTest.
function(lm_add_qtest name)
  if(NOT LM_BUILD_TESTS OR NOT LM_BUILD_GUI)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  add_dependencies(${name} lmtool)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LMTOOL=$<TARGET_FILE:lmtool>")
endfunction()
