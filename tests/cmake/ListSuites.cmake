# Build-time step of pictro_add_suites(): lists the test suites of a GoogleTest program into a
# file CTest includes. Called as cmake -D EXECUTABLE=… -D OUTPUT=… -P ListSuites.cmake.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${EXECUTABLE} --gtest_list_tests
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed (${result}):\n${listing}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(suites "")
foreach(line IN LISTS lines)
  # Suite lines start in the first column and end with a dot (and maybe a type comment).
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    list(APPEND suites "${CMAKE_MATCH_1}")
  endif()
endforeach()
file(WRITE "${OUTPUT}" "set(suites \"${suites}\")\n")
