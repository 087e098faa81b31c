# Linux: the Qt 6 program and its package, the whole test suite and the benchmarks; or, with
# MELKORA_FUZZ, the fuzzers alone.

enable_testing()

if(MELKORA_FUZZ)
    add_subdirectory(tests/support)
    add_subdirectory(tests/fuzz)
    return()
endif()

find_package(Qt6 6.2 REQUIRED COMPONENTS Widgets Test)
find_package(GTest REQUIRED)
add_subdirectory(runtime/qt)
add_subdirectory(app)
add_subdirectory(packaging)
add_subdirectory(tests)
add_subdirectory(bench)
