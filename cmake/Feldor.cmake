# Precompiled headers (FELDOR_PCH, gcc): the standard-library and Qt headers that nearly every
# source reaches through platform/gdi/Graphics.h and platform/gui are parsed once per build instead
# of once per source. Two shared headers: feldor_pch for the libraries and programs, and
# feldor_test_pch (the same plus GoogleTest) for the test programs; every target that can reuses
# one of them (REUSE_FROM: same compiler flags, and no Qt module macro of the owner missing in
# the user, which gcc checks). A source compiled with a precompiled header sees all of it, so a
# missing #include of a standard or Qt header shows only without one (FELDOR_PCH=OFF, or the
# clang fuzz build, which has none).
set(FELDOR_PCH_HEADERS
  <algorithm> <array> <chrono> <cmath> <cstdint> <cstdlib> <cstring> <filesystem> <fstream>
  <functional> <limits> <map> <memory> <optional> <span> <sstream> <string> <string_view>
  <vector>)
set(FELDOR_PCH_QT_HEADERS
  <QApplication> <QColor> <QFont> <QImage> <QKeyEvent> <QMouseEvent> <QPainter> <QRegion>
  <QTimer> <QWidget>)
set(FELDOR_PCH_TEST_HEADERS <gtest/gtest.h> <gmock/gmock.h>)

if(FELDOR_PCH)
  # gcc falls back to the plain headers when a precompiled one does not fit: say so.
  add_compile_options(-Winvalid-pch)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/feldor_pch.cpp CONTENT "// precompiled headers only\n")
  # The owner has the Qt Gui module's macros only (QT_CORE_LIB, QT_GUI_LIB), so the Gui-only
  # libraries (gdi, sys) reuse it as well as everything above them (which adds QT_WIDGETS_LIB);
  # the Widgets headers come through the include path alone.
  add_library(feldor_pch STATIC ${CMAKE_BINARY_DIR}/feldor_pch.cpp)
  set_target_properties(feldor_pch PROPERTIES AUTOMOC OFF)
  target_link_libraries(feldor_pch PRIVATE Qt6::Gui)
  target_include_directories(feldor_pch SYSTEM PRIVATE
    $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
  target_precompile_headers(feldor_pch PRIVATE ${FELDOR_PCH_HEADERS} ${FELDOR_PCH_QT_HEADERS})
endif()

# feldor_use_pch(<target>): the target (one that uses Qt Gui or Widgets) compiles with the shared
# precompiled header.
function(feldor_use_pch target)
  if(FELDOR_PCH)
    target_precompile_headers(${target} REUSE_FROM feldor_pch)
  endif()
endfunction()

# feldor_deps_use_qt(<out> <deps>...): ON when one of the dependencies is a Qt module or a
# library of ours that uses Qt (its FELDOR_QT property).
function(feldor_deps_use_qt out)
  set(_qt OFF)
  foreach(_d ${ARGN})
    if(_d MATCHES "^Qt6::")
      set(_qt ON)
    elseif(TARGET ${_d})
      get_target_property(_dq ${_d} FELDOR_QT)
      if(_dq)
        set(_qt ON)
      endif()
    endif()
  endforeach()
  set(${out} ${_qt} PARENT_SCOPE)
endfunction()

# feldor_library(<name> [DEPS <targets>...]): one static library per folder, built from
# every .cpp and .h in the folder. Includes are written from the repository root.
# FELDOR_QT on the target: it uses Qt (directly or through a library below it).
function(feldor_library name)
  cmake_parse_arguments(FL "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdr CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  feldor_deps_use_qt(_qt ${FL_DEPS})
  if(_src)
    add_library(${name} STATIC ${_src} ${_hdr})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${FL_DEPS})
    if(_qt)
      feldor_use_pch(${name})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${FL_DEPS})
  endif()
  set_target_properties(${name} PROPERTIES FELDOR_QT ${_qt})
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
  if(FELDOR_PCH)
    feldor_deps_use_qt(_qt ${FT_DEPS})
    if(_qt)
      if(NOT TARGET feldor_test_pch)
        add_library(feldor_test_pch STATIC ${CMAKE_BINARY_DIR}/feldor_pch.cpp)
        set_target_properties(feldor_test_pch PROPERTIES AUTOMOC OFF)
        target_link_libraries(feldor_test_pch PRIVATE Qt6::Gui GTest::gtest GTest::gmock)
        target_include_directories(feldor_test_pch SYSTEM PRIVATE
          $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
        target_precompile_headers(feldor_test_pch PRIVATE
          ${FELDOR_PCH_HEADERS} ${FELDOR_PCH_QT_HEADERS} ${FELDOR_PCH_TEST_HEADERS})
      endif()
      target_precompile_headers(${name}_tests REUSE_FROM feldor_test_pch)
    else()
      # A test program without Qt has a precompiled header of its own, without Qt's.
      target_precompile_headers(${name}_tests PRIVATE ${FELDOR_PCH_HEADERS} ${FELDOR_PCH_TEST_HEADERS})
    endif()
  endif()
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
