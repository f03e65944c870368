# mav_test(NAME source... LIBS lib...): one GoogleTest executable registered with CTest.
# Every test executable gets the shared test support headers and the simulator's path.
function(mav_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(TARGET mav7700-sim)
    target_compile_definitions(${name} PRIVATE MAV_SIM_PATH="$<TARGET_FILE:mav7700-sim>")
    add_dependencies(${name} mav7700-sim)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
