# tess_library(NAME DIR DEPS...) : one static library from every .cpp/.h in DIR.
function(tess_library name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.c)
  if(NOT _srcs)
    set(_srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
  target_compile_options(${name} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# The test binaries a build makes and runs: every one, unless TESS_SUITES names some (the
# sanitized build in CI names the data layer, the record-window kit and the keyboard replay).
set(TESS_SUITES "" CACHE STRING "Test binaries to build and run, separated by ';' (empty: all)")
function(tess_suite_wanted name out)
  if(NOT TESS_SUITES OR name IN_LIST TESS_SUITES)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# tess_test(NAME DIR DEPS...) : one GoogleTest binary from every .cpp in DIR, registered with CTest.
function(tess_test name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  tess_suite_wanted(${name} _wanted)
  if(NOT _srcs OR NOT _wanted)
    return()
  endif()
  add_executable(${name} ${_srcs} ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE tess_testsupport ${ARGN} GTest::gtest Qt6::Test)
  target_compile_definitions(${name} PRIVATE TESS_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
                                             TESS_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  tess_add_suite(${name} ${name} "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8")
endfunction()

# tess_add_suite(TEST BINARY ENV) : one ctest entry running a GoogleTest binary.  In the
# sanitized build, where every suite runs several times slower, the binary's tests are split
# into TESS_SANITIZE_SHARDS entries (TEST_0, TEST_1, ...) that run side by side.  Tests that
# time the program's speed, or wait for a heavy child to reach a point, say nothing about memory
# or undefined behaviour and are left to the plain build, where they run.
set(TESS_SANITIZE_SHARDS 4)
set(TESS_SANITIZE_FILTER "-*MovingFiveThousand*:ReportPdfKilled.*")
function(tess_add_suite test binary env)
  if(NOT TESS_SANITIZE)
    add_test(NAME ${test} COMMAND ${binary})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 900)
    return()
  endif()
  math(EXPR _last "${TESS_SANITIZE_SHARDS} - 1")
  foreach(_i RANGE ${_last})
    add_test(NAME ${test}_${_i} COMMAND ${binary})
    set_tests_properties(${test}_${_i} PROPERTIES
                         ENVIRONMENT "${env};GTEST_TOTAL_SHARDS=${TESS_SANITIZE_SHARDS};GTEST_SHARD_INDEX=${_i};GTEST_FILTER=${TESS_SANITIZE_FILTER}"
                         TIMEOUT 900)
  endforeach()
endfunction()
