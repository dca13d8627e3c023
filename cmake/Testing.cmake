# tallyglass_add_gtest(<name> SOURCES <files...> LIBRARIES <targets...>)
# One GoogleTest executable whose cases ctest lists one by one. Under the Windows
# build the cases run through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR),
# and the executable carries the program's manifest.
include(GoogleTest)

function(tallyglass_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  # Where every test finds the shared test data (TestData.h).
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    TALLYGLASS_TESTDATA_DIR="${TALLYGLASS_TESTDATA_DIR}"
    TALLYGLASS_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(WIN32)
    target_link_libraries(${name} PRIVATE tg_manifest)
    add_dependencies(${name} wineprefix)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300)
endfunction()
