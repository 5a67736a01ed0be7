find_package(GTest REQUIRED)

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
      ENVIRONMENT "LC_ALL=;LC_CTYPE=;LANG=ru_RU.CP1251")
  endif()
endfunction()
