# CI's sanitized build (cmake -C, with TESS_SANITIZE): as build.cmake at -O1, with the suites of
# the data layer, the record-window kit and the keyboard replay, which drives the whole program.
# The plain build runs every suite.
set(CMAKE_CXX_FLAGS_RELEASE "-O1 -DNDEBUG" CACHE STRING "")
set(CMAKE_C_FLAGS_RELEASE "-O1 -DNDEBUG" CACHE STRING "")
set(TESS_SUITES "test_platform_db;test_platform_db_pure;test_records;test_keys_replay" CACHE STRING "")
include(${CMAKE_CURRENT_LIST_DIR}/build.cmake)
