# Cross-compiling for 64-bit Windows (x64) with mingw-w64 (cmake/mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MELKORA_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
