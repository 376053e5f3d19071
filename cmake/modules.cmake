# One static library per module: every .cpp in the module's folder.
function(veskcal_module name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# One GoogleTest program per test folder, registered with ctest; an optional
# ENVIRONMENT list adds variables to the tests' environment.
function(veskcal_test name dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "ENVIRONMENT")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${arg_UNPARSED_ARGUMENTS} veskcal_testsupport GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # gtest_discover_tests splits a list-valued property into separate arguments,
  # so the environment goes on the discovered tests from a script of our own
  # that ctest reads after the discovery's.
  set(environment "TZ=America/New_York" "ASAN_OPTIONS=detect_leaks=1" ${arg_ENVIRONMENT})
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake")
  file(WRITE "${script}"
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${environment}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
