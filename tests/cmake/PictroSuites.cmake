# pictro_add_suites(TARGET [LAUNCHER program] LABELS label [RESOURCE_LOCK name] ENVIRONMENT VAR=VALUE…)
# One CTest entry per test suite of a GoogleTest program (TARGET.Suite, run with
# --gtest_filter=Suite.*), so `ctest -j` spreads a program's work over the cores. A suite, not a
# single test, is the unit: each entry is a process of its own, and eight hundred processes (and for
# X11 suites as many X servers) would cost more than the spreading gains. The suites are listed
# after each build of the program.
function(pictro_add_suites target)
  cmake_parse_arguments(S "" "LAUNCHER;LABELS;RESOURCE_LOCK" "ENVIRONMENT" ${ARGN})
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
  set(ctest_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_tests.cmake")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D "EXECUTABLE=$<TARGET_FILE:${target}>" -D "OUTPUT=${list_file}"
            -P "${PICTRO_SUITES_DIR}/ListSuites.cmake"
    BYPRODUCTS "${list_file}" VERBATIM)
  set(properties " LABELS [==[${S_LABELS}]==] ENVIRONMENT [==[${S_ENVIRONMENT}]==]")
  if(S_RESOURCE_LOCK)
    string(APPEND properties " RESOURCE_LOCK [==[${S_RESOURCE_LOCK}]==]")
  endif()
  file(GENERATE OUTPUT "${ctest_file}" CONTENT
"# A program not built yet has no list: it must not take the previous program's suites.
set(suites)
include([==[${list_file}]==] OPTIONAL)
foreach(suite IN LISTS suites)
  add_test(${target}.\${suite} ${S_LAUNCHER} [==[$<TARGET_FILE:${target}>]==] --gtest_filter=\${suite}.*)
  set_tests_properties(${target}.\${suite} PROPERTIES${properties})
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${ctest_file}")
endfunction()
set(PICTRO_SUITES_DIR ${CMAKE_CURRENT_LIST_DIR})
