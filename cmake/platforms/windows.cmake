# Windows: Melkora.exe, the native Win32 program, cross-compiled with mingw-w64 for 32-bit
# Windows (cmake/i686-w64-mingw32.cmake) or for x64 (cmake/x86_64-w64-mingw32.cmake), each in
# a build tree of its own; its installer and portable zip; its end-to-end road and its benchmark
# floor. The tests run under Wine. The functions are those every platform file defines
# (linux.cmake).

enable_language(RC)
# The installer knows a running Melkora by the class of its window.
set(MELKORA_WINDOW_CLASS MelkoraForm)
add_subdirectory(runtime/win32)

# GoogleTest from Debian's sources, built with the cross compiler.
if(MELKORA_TESTS)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest
                     EXCLUDE_FROM_ALL)
    find_program(XVFB_RUN xvfb-run REQUIRED)
endif()

set(MELKORA_ORACLE_CASES "" CACHE FILEPATH "The oracle's case file, made by a native build")
set(MELKORA_ICON_ICO "" CACHE FILEPATH "The program's icon, app/melkora.ico of a native build")
if(NOT MELKORA_ICON_ICO)
    message(FATAL_ERROR "MELKORA_ICON_ICO names no icon; a native build makes it as app/melkora.ico")
endif()

# The architecture, as the packages' names and the manifest spell it: Windows activates the
# common controls 6 that the manifest asks for only in a process of the architecture it names.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MELKORA_WINDOWS_ARCH win64)
    set(MELKORA_MANIFEST_ARCH amd64)
    set(MELKORA_NSIS_TARGET amd64-unicode)
    set(MELKORA_WINDOWS_EDITIONS "64-bit Windows 7 to 11 (x64)")
else()
    set(MELKORA_WINDOWS_ARCH win32)
    set(MELKORA_MANIFEST_ARCH x86)
    set(MELKORA_NSIS_TARGET x86-unicode)
    set(MELKORA_WINDOWS_EDITIONS "Windows 7 to 11, 32-bit or 64-bit")
endif()

# The packages, made by melkora_add_packages and checked by melkora_add_platform_tests.
set(MELKORA_PACKAGE_STEM ${MELKORA_NAME}-${MELKORA_VERSION}-${MELKORA_WINDOWS_ARCH})
set(MELKORA_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/${MELKORA_PACKAGE_STEM}-setup.exe)
set(MELKORA_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${MELKORA_PACKAGE_STEM}.zip)
set(MELKORA_STRIPPED_EXE ${CMAKE_BINARY_DIR}/packaging/windows/stage/${MELKORA_NAME}.exe)

function(melkora_add_program)
    # One file, its icon, version record and manifest made from the same sources as everything
    # else.
    set(MELKORA_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/melkora.manifest)
    configure_file(melkora.manifest.in ${MELKORA_MANIFEST} @ONLY)
    configure_file(melkora.rc.in ${CMAKE_CURRENT_BINARY_DIR}/melkora.rc @ONLY)
    add_executable(Melkora WIN32 main_win32.cpp ${CMAKE_CURRENT_BINARY_DIR}/melkora.rc)
    target_link_libraries(Melkora PRIVATE melkora_window melkora_runtime_win32 melkora_warnings)
    target_link_options(Melkora PRIVATE -municode)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/melkora.rc PROPERTIES
                                OBJECT_DEPENDS "${MELKORA_ICON_ICO};${MELKORA_MANIFEST}")
    # The debugging sections go beside the program, in Melkora.exe.debug, which gdb and winedbg
    # find by its link. Left in, they are part of the image that Windows and Wine load at every
    # start (2.5 MiB more to read and keep, several times the code), which made the build's own
    # program slower to its first frame than the one that ships.
    add_custom_command(TARGET Melkora POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:Melkora>
                $<TARGET_FILE_NAME:Melkora>.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-debug
                --add-gnu-debuglink=$<TARGET_FILE_NAME:Melkora>.debug $<TARGET_FILE_NAME:Melkora>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:Melkora>
        VERBATIM)
endfunction()

function(melkora_add_packages)
    add_subdirectory(packaging/windows)
endfunction()

function(melkora_add_platform_tests)
    # End to end: the real Melkora.exe under Wine on a virtual X server, typed at by xdotool and
    # read back by a probe in the same Wine prefix.
    add_executable(melkora_probe e2e/win32/melkora_probe.cpp)
    target_compile_definitions(melkora_probe PRIVATE UNICODE _UNICODE)
    target_link_options(melkora_probe PRIVATE -municode)
    target_link_libraries(melkora_probe PRIVATE oleacc ole32 oleaut32 uuid melkora_warnings)
    set(xvfb ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -dpi 96")
    add_test(NAME e2e_win32
             COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/win32/melkora.sh
                     $<TARGET_FILE:Melkora> $<TARGET_FILE:melkora_probe> ${MELKORA_WINDOWS_ARCH})
    # A timeout here stops a hang, not a slow machine: the 32-bit build's programs may run under
    # qemu-user, two to three times slower, and more on a busy machine.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(wine_timeout 900)
    else()
        set(wine_timeout 300)
    endif()
    set_tests_properties(e2e_win32 PROPERTIES LABELS e2e TIMEOUT ${wine_timeout})

    # The installer and the portable zip, in a fresh Wine prefix of the test's own.
    add_test(NAME package_win32
             COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/win32/check_installer.sh
                     ${MELKORA_WINDOWS_SETUP} ${MELKORA_WINDOWS_ZIP} ${MELKORA_STRIPPED_EXE}
                     ${MELKORA_VERSION} ${MELKORA_PUBLISHER})
    set_tests_properties(package_win32 PROPERTIES LABELS package TIMEOUT ${wine_timeout})

    add_test(NAME imports_win32
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/packaging/win32/check_imports.sh
                     $<TARGET_FILE:Melkora>)
    set_tests_properties(imports_win32 PROPERTIES LABELS package)

    # scripts/wine-run exits 77 where the 32-bit build's programs cannot run.
    set_tests_properties(core e2e_win32 package_win32 PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

function(melkora_add_benchmarks)
    # The floor for Melkora.exe's start-up under Wine, which the native start-up benchmark
    # measures side by side with it (scripts/run-benchmarks). It has Melkora's manifest: what
    # Wine spends on the common controls and visual styles that asks for is the platform's.
    set(floor_rc ${CMAKE_CURRENT_BINARY_DIR}/floor_window.rc)
    file(CONFIGURE OUTPUT ${floor_rc}
         CONTENT "1 24 \"${CMAKE_BINARY_DIR}/app/melkora.manifest\"\n")
    set_source_files_properties(${floor_rc} PROPERTIES
                                OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/app/melkora.manifest)
    add_executable(melkora_floor_window WIN32 floor_window_win32.cpp ${floor_rc})
    target_compile_definitions(melkora_floor_window PRIVATE UNICODE _UNICODE)
    target_link_options(melkora_floor_window PRIVATE -municode)
    target_link_libraries(melkora_floor_window PRIVATE melkora_warnings)
endfunction()
