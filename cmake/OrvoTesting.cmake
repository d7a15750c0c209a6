# Test registration shared by every folder.
#
# orvo_add_test(<name> SOURCES <files...> [LIBRARIES <targets...>] [SCREEN] [TIMEOUT <s>])
#   One GoogleTest program is one CTest test named ${ORVO_TEST_PREFIX}<name>. Under Wine every
#   program start costs seconds, so the cases stay inside one program rather than one test each.
#   Cross builds run the program under Wine in the run's own session (fixture "wine"); SCREEN
#   marks programs that open windows, which then run one at a time. A program that cannot run
#   on this host (32-bit code where the host runs none) exits 77 and CTest counts it skipped.
#
# orvo_add_wine_session()
#   Registers the setup and cleanup of that session; called once by the top-level project.

set(ORVO_WINE_STATE ${CMAKE_BINARY_DIR}/wine-session)

# A build made for other checks (the fuzz build) registers none of the unit test programs and
# builds them only on request, so its own tests are the only ones its CTest run holds.
option(ORVO_UNIT_TESTS "Build and register the unit test programs" ON)
option(ORVO_FUZZ "Build the fuzz targets of testbed/fuzz (clang with libFuzzer only)" OFF)
# Checks that look at the whole run rather than one build (the deliverables of the Windows
# builds, the test scripts): once a run, in the native build.
option(ORVO_HOST_CHECKS "Check the Windows builds' deliverables and the test scripts" OFF)

function(orvo_add_wine_session)
  set(script ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh)
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  add_test(NAME ${ORVO_TEST_PREFIX}wine-setup COMMAND ${script} setup ${ORVO_WINE_STATE} ${bits})
  add_test(NAME ${ORVO_TEST_PREFIX}wine-cleanup COMMAND ${script} cleanup ${ORVO_WINE_STATE})
  set_tests_properties(${ORVO_TEST_PREFIX}wine-setup PROPERTIES
    FIXTURES_SETUP ${ORVO_TEST_PREFIX}wine TIMEOUT 180 SKIP_RETURN_CODE 77)
  set_tests_properties(${ORVO_TEST_PREFIX}wine-cleanup PROPERTIES
    FIXTURES_CLEANUP ${ORVO_TEST_PREFIX}wine TIMEOUT 60)
endfunction()

function(orvo_register_test name)
  cmake_parse_arguments(arg "SCREEN" "TIMEOUT" "" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  set(test ${ORVO_TEST_PREFIX}${name})
  set_tests_properties(${test} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${ORVO_TEST_PREFIX}wine
      SKIP_RETURN_CODE 77)
  endif()
  if(arg_SCREEN)
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK screen)
  endif()
endfunction()

function(orvo_add_test name)
  cmake_parse_arguments(arg "SCREEN" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ORVO_UNIT_TESTS)
    add_executable(${name} EXCLUDE_FROM_ALL ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gmock GTest::gtest_main)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gmock GTest::gtest_main)
  add_test(NAME ${ORVO_TEST_PREFIX}${name} COMMAND ${name})
  set(pass)
  if(arg_SCREEN)
    list(APPEND pass SCREEN)
  endif()
  if(arg_TIMEOUT)
    list(APPEND pass TIMEOUT ${arg_TIMEOUT})
  endif()
  orvo_register_test(${name} ${pass})
endfunction()
