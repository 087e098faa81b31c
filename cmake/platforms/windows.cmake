# Windows: Melkora.exe, the native Win32 program, with the core's tests and benchmark, for
# 32-bit Windows. The tests run under Wine.

enable_language(RC)
# The installer knows a running Melkora by the class of its window.
set(MELKORA_WINDOW_CLASS MelkoraForm)
add_subdirectory(runtime/win32)
add_subdirectory(app)
# The packages, made by packaging/windows and checked by tests/packaging/win32.
set(MELKORA_WIN32_SETUP ${CMAKE_BINARY_DIR}/${MELKORA_NAME}-${MELKORA_VERSION}-win32-setup.exe)
set(MELKORA_WIN32_ZIP ${CMAKE_BINARY_DIR}/${MELKORA_NAME}-${MELKORA_VERSION}-win32.zip)
set(MELKORA_WIN32_STRIPPED_EXE ${CMAKE_BINARY_DIR}/packaging/windows/stage/${MELKORA_NAME}.exe)
add_subdirectory(packaging/windows)

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(MELKORA_ORACLE_CASES "" CACHE FILEPATH "The oracle's case file, made by a native build")

enable_testing()
add_subdirectory(tests)
add_subdirectory(bench)
