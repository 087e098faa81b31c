# Cross-compiling for 32-bit Windows with mingw-w64 (cmake/mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MELKORA_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# SSE2 arithmetic: the x87 unit keeps 80-bit intermediates, so a product such as 1e200·1e200
# would look finite to the overflow check and results could be rounded twice. Every Windows
# machine since Windows 8 has SSE2; the x64 target has nothing else.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
