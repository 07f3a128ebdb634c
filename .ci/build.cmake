# CI's builds (cmake -C): no debug information, and each library and test binary compiled as
# one unit, so the Qt and GoogleTest headers are read once a target instead of once a file.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_UNITY_BUILD ON CACHE BOOL "")
set(CMAKE_UNITY_BUILD_BATCH_SIZE 0 CACHE STRING "")
# A test fixture in an anonymous namespace is a base of the test classes GoogleTest declares;
# in a file included into the unit GCC takes them for a header's classes and warns.
set(CMAKE_CXX_FLAGS "-Wno-subobject-linkage" CACHE STRING "")
