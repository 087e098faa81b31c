# Linux: the program on Qt 6 Widgets, its Debian package, the Qt layer's tests offscreen, the
# end-to-end road under Xvfb, and the benchmarks. A build for another processor (arm64, cmake/
# aarch64-linux-gnu.cmake) makes the program and its package, and runs the end-to-end road and
# the package's checks under the emulator; the Qt layer's tests and the benchmarks are the
# native build's.
#
# Every file in this folder adds its platform's runtime layer when it is included (an OBJECT
# library in runtime/<layer>/ that implements runtime/platform.h) and defines the same set of
# functions, which the rest of the build calls, each in its own folder:
#   melkora_add_program()         in app/: the program, its resources and metadata
#   melkora_add_packages()        at the top: what `make package` makes
#   melkora_add_platform_tests()  in tests/: the layer's own tests and the end-to-end road (the
#                                 core's suite is added there for every platform)
#   melkora_add_benchmarks()      in bench/: the benchmarks of the platform's program

find_package(Qt6 6.2 REQUIRED COMPONENTS Widgets)
if(MELKORA_TESTS)
    if(NOT CMAKE_CROSSCOMPILING)
        find_package(Qt6 REQUIRED COMPONENTS Test)
    endif()
    find_package(GTest REQUIRED)
    find_program(XVFB_RUN xvfb-run REQUIRED)
endif()
add_subdirectory(runtime/qt)

# Renders the desktop's icons in app/icons and the web page's in app/page-icons; sets icon_dir.
function(melkora_render_icons)
    add_executable(melkora_icon_export icon_export.cpp)
    target_link_libraries(melkora_icon_export PRIVATE melkora_app melkora_warnings)
    set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
    set(page_icon_dir ${CMAKE_CURRENT_BINARY_DIR}/page-icons)
    set(icon_files ${icon_dir}/scalable/apps/${MELKORA_APP_ID}.svg)
    foreach(size 16 32 48 64 128 256)
        list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/${MELKORA_APP_ID}.png)
    endforeach()
    foreach(name icon-192 icon-512 icon-maskable apple-touch-icon)
        list(APPEND icon_files ${page_icon_dir}/${name}.png)
    endforeach()
    add_custom_command(OUTPUT ${icon_files}
        COMMAND melkora_icon_export ${icon_dir} ${MELKORA_APP_ID} ${page_icon_dir}
        DEPENDS melkora_icon_export
        COMMENT "Rendering the icons")
    add_custom_target(melkora_icons ALL DEPENDS ${icon_files})
    set(icon_dir ${icon_dir} PARENT_SCOPE)
endfunction()

function(melkora_add_program)
    add_library(melkora_app STATIC icon.cpp startup.cpp)
    target_include_directories(melkora_app PUBLIC ${PROJECT_SOURCE_DIR}
                               ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(melkora_app PUBLIC melkora_icon_pixels Qt6::Widgets
                          PRIVATE melkora_warnings)

    add_executable(melkora main.cpp)
    target_link_libraries(melkora PRIVATE melkora_app melkora_window melkora_runtime_qt
                          melkora_warnings)

    # The desktop's icons are rendered from the program's own pixel map by the native build, with
    # the web page's, which the web build takes from it. A cross build takes them from there too,
    # as the Windows build takes its icon: building runs no program of another processor.
    if(CMAKE_CROSSCOMPILING)
        set(MELKORA_DESKTOP_ICONS "" CACHE PATH "The desktop's icons, app/icons of a native build")
        if(NOT EXISTS "${MELKORA_DESKTOP_ICONS}/scalable/apps/${MELKORA_APP_ID}.svg")
            message(FATAL_ERROR "MELKORA_DESKTOP_ICONS names no icons; a native build renders "
                                "them in app/icons")
        endif()
        set(icon_dir ${MELKORA_DESKTOP_ICONS})
    else()
        melkora_render_icons()
    endif()

    # The manual page, compressed as Debian wants it.
    set(man_page ${CMAKE_CURRENT_BINARY_DIR}/melkora.1.gz)
    add_custom_command(OUTPUT ${man_page}
        COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/melkora.1 > ${man_page}
        DEPENDS melkora.1)
    add_custom_target(melkora_man ALL DEPENDS ${man_page})

    install(TARGETS melkora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # A stripped install (the package's) keeps what Debian's own stripped programs keep: the
    # compilers' version notes go too.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                    --remove-section=.note
                                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/melkora\"
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()")
    install(FILES ${MELKORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${MELKORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

function(melkora_add_packages)
    add_subdirectory(packaging)
endfunction()

function(melkora_add_platform_tests)
    set(xvfb ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -dpi 96")
    if(CMAKE_CROSSCOMPILING)
        # The program of another processor on the end-to-end road, under the emulator; its
        # package checked as the native one is, but not installed here.
        add_test(NAME e2e_calculate COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/calculate.sh
                                            ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:melkora>)
        set_tests_properties(e2e_calculate PROPERTIES LABELS e2e TIMEOUT 120)
        melkora_add_package_test()
        return()
    endif()

    # Widget tests on Qt's offscreen platform.
    function(melkora_qt_test name)
        cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES")
        add_executable(${name} ${ARG_SOURCES})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} melkora_runtime_qt Qt6::Test
                              melkora_warnings)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                             LABELS unit)
    endfunction()
    melkora_qt_test(tst_qt_platform SOURCES runtime/qt/tst_qt_platform.cpp
                    LIBRARIES melkora_test_support)
    melkora_qt_test(tst_qt_window SOURCES runtime/qt/tst_qt_window.cpp LIBRARIES melkora_window)
    melkora_qt_test(tst_form1 SOURCES window/qt/tst_form1.cpp LIBRARIES melkora_window)
    melkora_qt_test(tst_publisher_link SOURCES window/qt/tst_publisher_link.cpp
                    LIBRARIES melkora_window)
    melkora_qt_test(tst_soak SOURCES window/qt/tst_soak.cpp LIBRARIES melkora_window)
    set_tests_properties(tst_soak PROPERTIES TIMEOUT 900)

    # End to end: the real program under a virtual X server, driven by xdotool.
    add_test(NAME e2e_calculate COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/calculate.sh
                                        $<TARGET_FILE:melkora>)
    add_test(NAME e2e_link COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/link.sh
                                   $<TARGET_FILE:melkora>)
    add_test(NAME e2e_no_display
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/no_display.sh $<TARGET_FILE:melkora>)
    add_test(NAME e2e_screen_reader COMMAND ${xvfb} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/screen_reader.sh
                                            $<TARGET_FILE:melkora>)
    set_tests_properties(e2e_calculate e2e_link e2e_no_display e2e_screen_reader PROPERTIES
                         LABELS e2e TIMEOUT 120)

    # Not from the sanitizer build, whose binary is no release.
    if(NOT MELKORA_SANITIZE)
        melkora_add_package_test()
    endif()
endfunction()

# The package and its desktop metadata, with their validators; installed for real where the
# test runs as root and the package is for this machine.
function(melkora_add_package_test)
    add_test(NAME package
             COMMAND ${PROJECT_SOURCE_DIR}/tests/packaging/check_package.sh
                     ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} ${MELKORA_VERSION}
                     ${MELKORA_APP_ID})
    set_tests_properties(package PROPERTIES LABELS package TIMEOUT 600 RUN_SERIAL ON)
endfunction()

function(melkora_add_benchmarks)
    # Under an emulator, times would say nothing of the processor's.
    if(CMAKE_CROSSCOMPILING)
        return()
    endif()
    find_package(benchmark REQUIRED)
    find_package(X11 REQUIRED COMPONENTS Xdamage Xtst)

    add_library(melkora_bench_x STATIC x_session.cpp)
    target_include_directories(melkora_bench_x PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(melkora_bench_x PUBLIC X11::X11 X11::Xdamage X11::Xtst
                          PRIVATE melkora_warnings)

    # The toolkit's floor: a bare Qt window, built with the same compiler and flags as Melkora.
    add_executable(melkora_floor_window floor_window.cpp)
    target_link_libraries(melkora_floor_window PRIVATE Qt6::Widgets melkora_warnings)

    add_executable(melkora_bench_startup bench_startup.cpp)
    target_link_libraries(melkora_bench_startup PRIVATE melkora_bench_x melkora_warnings)

    # It reads the window's description to know where the fields lie.
    add_executable(melkora_bench_response bench_response.cpp)
    target_link_libraries(melkora_bench_response PRIVATE melkora_window melkora_recording_platform
                          melkora_bench_x melkora_warnings)

    add_executable(melkora_bench_long_text bench_long_text.cpp)
    target_link_libraries(melkora_bench_long_text PRIVATE melkora_window melkora_runtime_qt
                          benchmark::benchmark melkora_warnings)

    add_test(NAME bench_smoke
             COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -dpi 96"
                     ${CMAKE_CURRENT_SOURCE_DIR}/smoke.sh $<TARGET_FILE:melkora_bench_startup>
                     $<TARGET_FILE:melkora_bench_response> $<TARGET_FILE:melkora>
                     $<TARGET_FILE:melkora_floor_window>)
    set_tests_properties(bench_smoke PROPERTIES LABELS e2e TIMEOUT 120)
endfunction()
