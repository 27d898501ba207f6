# Small helpers shared by the component folders.

set(TAPVOX_NATIVE OFF)
set(TAPVOX_WIN32 OFF)
set(TAPVOX_WIN64 OFF)
if(TAPVOX_TARGET STREQUAL "native")
  set(TAPVOX_NATIVE ON)
elseif(TAPVOX_TARGET STREQUAL "win32")
  set(TAPVOX_WIN32 ON)
elseif(TAPVOX_TARGET STREQUAL "win64")
  set(TAPVOX_WIN64 ON)
else()
  message(FATAL_ERROR "TAPVOX_TARGET must be native, win32 or win64")
endif()

# GoogleTest: the system build natively; built from Debian's sources for MinGW.
if(TAPVOX_TESTS AND TAPVOX_NATIVE AND NOT TAPVOX_FUZZ)
  find_package(GTest REQUIRED)
  include(GoogleTest)
elseif(TAPVOX_TESTS AND TAPVOX_WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# nlohmann-json, header-only. Its folder alone is linked into the build tree, so that the MinGW
# builds see it without the rest of the host's /usr/include.
find_path(TAPVOX_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/json-include)
file(CREATE_LINK ${TAPVOX_JSON_HEADERS}/nlohmann ${CMAKE_BINARY_DIR}/json-include/nlohmann SYMBOLIC)
add_library(tapvox_json INTERFACE)
target_include_directories(tapvox_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/json-include)

# tapvox_resource_depends(SCRIPT file...): the resource compiler reports no dependencies, so a
# script is rebuilt when the version, the shared version block or the named files of res/ change.
function(tapvox_resource_depends script)
  set(depends ${CMAKE_SOURCE_DIR}/res/version.h ${CMAKE_SOURCE_DIR}/res/VersionInfo.rc)
  foreach(file IN LISTS ARGN)
    list(APPEND depends ${CMAKE_SOURCE_DIR}/res/${file})
  endforeach()
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${depends}")
endfunction()

# tapvox_native_test(NAME source... LIBS lib...): a GoogleTest program of platform-neutral code,
# each of its tests registered with ctest.
function(tapvox_native_test name)
  if(NOT (TAPVOX_TESTS AND TAPVOX_NATIVE) OR TAPVOX_FUZZ OR TAPVOX_BENCH)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                       PROPERTIES LABELS native DISCOVERY_TIMEOUT 60)
endfunction()

# tapvox_wine_test(NAME source... LIBS lib...): a GoogleTest program of Win32 code, built with
# MinGW into <build>/wintests/, and named in the list that the native build's ctest runs under
# Wine (tests/CMakeLists.txt).
function(tapvox_wine_test name)
  if(NOT (TAPVOX_TESTS AND TAPVOX_WIN32))
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/wintests)
  set_property(GLOBAL APPEND PROPERTY TAPVOX_WINE_TEST_PROGRAMS ${name})
endfunction()

# tapvox_embed_files(TARGET file...): each file's bytes as an array in a header the target can
# include, "embedded/<file name>.h" holding k<file name, each dot or dash made "_">, so that a
# test needs no file beside it wherever it runs (under Wine too).
function(tapvox_embed_files target)
  if(NOT TARGET ${target})
    return()
  endif()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/embedded-${target})
  foreach(file IN LISTS ARGN)
    get_filename_component(path ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    string(REGEX REPLACE "[^A-Za-z0-9]" "_" symbol ${name})
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    file(CONFIGURE OUTPUT ${folder}/embedded/${name}.h
         CONTENT "#pragma once\nstatic const unsigned char k${symbol}[] = {${bytes}};\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
  endforeach()
  target_include_directories(${target} PRIVATE ${folder})
endfunction()
