# GoogleTest: the installed package natively; when cross-compiling, built from
# the distribution's sources with the same toolchain (a library built for the
# build machine cannot be linked into the target's programs).
set(BRIMLOW_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(CMAKE_CROSSCOMPILING)
  if(NOT TARGET GTest::gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${BRIMLOW_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# The locale of each run.  Wine takes the ANSI code page from the Unix
# locale's language, so Russian under UTF-8 gives code page 1251 there.
if(WIN32)
  set(BRIMLOW_CP1251_LANG ru_RU.UTF-8)
else()
  set(BRIMLOW_CP1251_LANG ru_RU.CP1251)
endif()

# brimlow_add_gtest(<name> SOURCES <files...> LIBS <targets...> [CODEPAGES])
# Builds one GoogleTest executable and registers it with CTest.  With CODEPAGES
# it is registered twice: once under a UTF-8 locale and once under a CP1251
# one, because the active 8-bit code page changes what the readers produce.
function(brimlow_add_gtest name)
  cmake_parse_arguments(ARG "CODEPAGES" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    BRIMLOW_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  brimlow_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "LC_ALL=;LC_CTYPE=;LANG=C.UTF-8")
  if(ARG_CODEPAGES)
    add_test(NAME ${name}.cp1251 COMMAND ${name})
    set_tests_properties(${name}.cp1251 PROPERTIES
      ENVIRONMENT "LC_ALL=;LC_CTYPE=;LANG=${BRIMLOW_CP1251_LANG}")
  endif()
endfunction()
