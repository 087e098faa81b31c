# The same commit builds the same bytes in any folder: the source and build folders' paths are
# written as "." wherever the compiler records a path (debugging information, __FILE__ in Boost's
# assertion texts, Emscripten's output). Both are mapped, the build folder last, which GCC and
# clang alike try first: the Makefile's build folders lie inside the source folder. gdb finds the
# sources when started from the source folder, or with `directory <source folder>`. moc's files
# include the headers they are made from by their path under an include folder, rather than by
# one relative to the build folder, whose depth would show in the debugging information.
#
# Every timestamp comes from SOURCE_DATE_EPOCH, which the Makefile sets to the commit's time:
# mingw-w64's linker stamps Melkora.exe with it, CPack's .deb takes it for its files' times, and
# MELKORA_SOURCE_DATE is it as a date, for the Windows zips.
#
# The coverage build keeps its absolute paths, which gcovr matches to the sources.
if(NOT MELKORA_COVERAGE)
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                        -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
endif()
# A cross build's headers and libraries are recorded where they lie on the target, wherever the
# sysroot is kept.
if(CMAKE_SYSROOT)
    add_compile_options(-ffile-prefix-map=${CMAKE_SYSROOT}/=/)
endif()
set(CMAKE_AUTOMOC_PATH_PREFIX ON)
# string(TIMESTAMP) takes SOURCE_DATE_EPOCH from the environment when it is set.
string(TIMESTAMP MELKORA_SOURCE_DATE "%Y-%m-%d %H:%M:%S UTC" UTC)
