# What both mingw-w64 toolchain files share: Debian's cross compilers (GCC 12, POSIX threads,
# which the standard library's std::mutex needs, and GoogleTest with it) for the target that
# MELKORA_MINGW_TARGET names. Programs built here run under Wine, through scripts/wine-run.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MELKORA_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MELKORA_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${MELKORA_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MELKORA_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One file that needs no DLL of the compiler's: libstdc++, libgcc and the threads library are
# linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
