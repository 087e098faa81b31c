# Windows: the core, its tests and its benchmark, for 32-bit Windows. The tests run under Wine.

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(MELKORA_ORACLE_CASES "" CACHE FILEPATH "The oracle's case file, made by a native build")

enable_testing()
add_subdirectory(tests)
add_subdirectory(bench)
