# lm_add_gtest(<name> [NEEDS_LMTOOL] SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per unit, registered with CTest. A suite that runs the lmtool
# program (those in lmtool/tests) says NEEDS_LMTOOL: it is built after lmtool and finds it
# in the LMTOOL variable (lmtest::LmtoolPath). Other suites do not wait for lmtool.
function(lm_add_gtest name)
  if(NOT LM_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "NEEDS_LMTOOL" "WORKING_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} lm_testsupport GTest::gmock GTest::gtest_main)
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(environment "")
  if(ARG_NEEDS_LMTOOL)
    add_dependencies(${name} lmtool)
    # One variable only: a list here would be split apart on its way to the test.
    set(environment PROPERTIES ENVIRONMENT "LMTOOL=$<TARGET_FILE:lmtool>")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY}
    DISCOVERY_MODE PRE_TEST
    ${environment})
endfunction()

# lm_add_qtest(<name> [NEEDS_LMTOOL] SOURCES <files...> LIBS <targets...>)
# One Qt Test executable (offscreen) registered with CTest. NEEDS_LMTOOL as above, for a
# window suite that compares a window with what lmtool prints.
function(lm_add_qtest name)
  if(NOT LM_BUILD_TESTS OR NOT LM_BUILD_GUI)
    return()
  endif()
  cmake_parse_arguments(ARG "NEEDS_LMTOOL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} lm_testsupport lm_testsupport_qt Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set(environment "QT_QPA_PLATFORM=offscreen")
  if(ARG_NEEDS_LMTOOL)
    add_dependencies(${name} lmtool)
    string(APPEND environment ";LMTOOL=$<TARGET_FILE:lmtool>")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
