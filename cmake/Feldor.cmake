# feldor_library(<name> [DEPS <targets>...]): one static library per folder, built from
# every .cpp and .h in the folder. Includes are written from the repository root.
function(feldor_library name)
  cmake_parse_arguments(FL "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdr CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(_src)
    add_library(${name} STATIC ${_src} ${_hdr})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${FL_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${FL_DEPS})
  endif()
endfunction()

# feldor_tests(<name> DEPS <targets>...): one GoogleTest program per test folder,
# run headless by CTest.
function(feldor_tests name)
  cmake_parse_arguments(FT "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    return()
  endif()
  add_executable(${name}_tests ${_src})
  target_link_libraries(${name}_tests PRIVATE ${FT_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name}_tests PRIVATE
    FELDOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    FELDOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
