# Registers one ctest test per test suite of a GoogleTest program instead of one per test case. The sanitizer build
# uses it: there every test process pays the sanitizers' start-up and the font libraries' set-up, which per test case
# costs more than the tests themselves. Suites still run apart from each other, so a suite's state cannot leak into
# another one.
#
# Called at configure time as vantile_discover_suites(target SUPPRESSIONS file); the list of suites is taken from the
# built program after every link, like gtest_discover_tests does, by running this file in script mode.
if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND "${TEST_EXECUTABLE}" --gtest_list_tests
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 60)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot list the tests of ${TEST_EXECUTABLE}: ${status}")
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(content "")
  foreach(line IN LISTS lines)
    # Suite lines start in column one and end with a dot; an optional "# TypeParam" comment follows.
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_/]*)\\.")
      set(suite "${CMAKE_MATCH_1}")
      string(APPEND content
             "add_test([=[${TEST_PREFIX}${suite}]=] [=[${TEST_EXECUTABLE}]=] [=[--gtest_filter=${suite}.*]=])\n"
             "set_tests_properties([=[${TEST_PREFIX}${suite}]=] PROPERTIES TIMEOUT 600 "
             "ENVIRONMENT [=[LSAN_OPTIONS=suppressions=${SUPPRESSIONS}]=])\n")
    endif()
  endforeach()
  file(WRITE "${CTEST_FILE}" "${content}")
  return()
endif()

function(vantile_discover_suites target)
  cmake_parse_arguments(S "" "SUPPRESSIONS" "" ${ARGN})
  set(ctest_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_COMMAND} -D "TEST_EXECUTABLE=$<TARGET_FILE:${target}>"
                             -D "CTEST_FILE=${ctest_file}" -D "TEST_PREFIX=${target}."
                             -D "SUPPRESSIONS=${S_SUPPRESSIONS}"
                             -P "${CMAKE_SOURCE_DIR}/cmake/SuiteTests.cmake"
                     BYPRODUCTS "${ctest_file}" VERBATIM)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${ctest_file}")
endfunction()
