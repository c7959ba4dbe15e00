# Test and dependency helpers shared by every folder.
#
#   tavlox_native_test(NAME SOURCES a.cpp ... LIBS lib ...)   portable code, run natively
#   tavlox_wine_test(NAME SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [RUN_SERIAL])
#                                                  Win32 code, run under Wine by tests/wine/run-wine-test.sh
#
# zlib: `tavlox_zlib` links Debian's zlib natively and the static mingw zlib for Windows.

add_library(tavlox_zlib INTERFACE)
if(WIN32)
  target_link_libraries(tavlox_zlib INTERFACE ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)
else()
  find_package(ZLIB REQUIRED)
  target_link_libraries(tavlox_zlib INTERFACE ZLIB::ZLIB)
endif()

if(WIN32)
  # Debian's googletest sources, compiled with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(tavlox_wine_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/wine/wine_test_main.cpp)
  target_link_libraries(tavlox_wine_test_main PUBLIC gtest gmock)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(tavlox_native_test name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main tavlox_config)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native TIMEOUT 120)
endfunction()

function(tavlox_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "RUN_SERIAL" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tavlox_wine_test_main tavlox_config)
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run-wine-test.sh ${T_TIMEOUT} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${T_TIMEOUT})
  if(T_RUN_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
  endif()
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt: each belongs to one area
# and guards its own platform parts.
function(tavlox_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
