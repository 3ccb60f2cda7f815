# ryvel_add_test(NAME SOURCES src... LIBS lib... [LABELS l...])
# One GoogleTest executable registered with ctest; its tests run with the
# plug-in folder and the test data folder in the environment.
function(ryvel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  # A test whose sources are not all there yet is left out rather than breaking the build.
  foreach(src IN LISTS T_SOURCES)
    if(NOT IS_ABSOLUTE ${src})
      set(src ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    endif()
    if(NOT EXISTS ${src})
      message(WARNING "${name}: ${src} is missing; the test is left out")
      return()
    endif()
  endforeach()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    RYVEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    RYVEL_PLUGIN_DIR="${RYVEL_PLUGIN_DIR}"
    RYVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES LABELS "${T_LABELS}"
    ENVIRONMENT "RYVEL_REVIEW=cancel"
    DISCOVERY_TIMEOUT 60)
endfunction()
