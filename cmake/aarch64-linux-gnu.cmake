# Cross-compiling the Linux program for arm64 with Debian's cross compiler (crossbuild-essential-
# arm64), against a sysroot of Debian 12's own arm64 packages that scripts/make-sysroot unpacks:
# Qt's arm64 development packages cannot be installed beside the amd64 ones. Qt's tools that run
# during the build (moc) are the build machine's own, from its amd64 packages (QT_HOST_PATH).
# Programs built here run under qemu-user, through scripts/arm64-run.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# CMake reads this file again for every compiler check, where only the variables listed here
# are passed on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MELKORA_SYSROOT)
if(NOT MELKORA_SYSROOT OR NOT EXISTS ${MELKORA_SYSROOT}/usr/include)
    message(FATAL_ERROR "MELKORA_SYSROOT names no sysroot; scripts/make-sysroot makes one")
endif()
set(CMAKE_SYSROOT ${MELKORA_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/arm64-run ${MELKORA_SYSROOT})
