# The web: Melkora as a static page, a wasm module on the same core, built with Emscripten
# (cmake/emscripten.cmake); the page in ${CMAKE_BINARY_DIR}/site, which works offline and can be
# installed. The core's tests run under Node, the page's road in Chromium, Firefox and WebKit. The
# functions are those every platform file defines (linux.cmake).

add_subdirectory(runtime/web)

# GoogleTest from Debian's sources, built with Emscripten.
if(MELKORA_TESTS)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest
                     EXCLUDE_FROM_ALL)
endif()

set(MELKORA_ORACLE_CASES "" CACHE FILEPATH "The oracle's case file, made by a native build")
set(MELKORA_ICON_ICO "" CACHE FILEPATH "The program's icon, app/melkora.ico of a native build")
set(MELKORA_PAGE_ICONS "" CACHE PATH "The page's icons, app/page-icons of a native build")
if(NOT MELKORA_ICON_ICO OR NOT MELKORA_PAGE_ICONS)
    message(FATAL_ERROR "MELKORA_ICON_ICO and MELKORA_PAGE_ICONS name no icons; a native build "
                        "makes them as app/melkora.ico and app/page-icons")
endif()
set(MELKORA_SITE ${CMAKE_BINARY_DIR}/site)
# The three engines the page's road drives (tests/e2e/web/browser.mjs), and the display and
# locales WebKit's MiniBrowser needs.
if(MELKORA_TESTS)
    find_program(CHROMIUM chromium REQUIRED)
    find_program(FIREFOX firefox-esr REQUIRED)
    find_program(WEBKIT_WEBDRIVER WebKitWebDriver REQUIRED)
    find_program(XVFB_RUN xvfb-run REQUIRED)
    find_program(LOCALEDEF localedef REQUIRED)
endif()

# A tool of the build's own, run under Node with the build machine's files as its own.
function(melkora_web_tool name source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN} melkora_warnings)
    target_link_options(${name} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
endfunction()

function(melkora_add_program)
    set(site ${MELKORA_SITE})
    set(MELKORA_DESCRIPTION "The cross product of two 3-D vectors, correctly rounded.")

    add_executable(melkora main_web.cpp)
    target_link_libraries(melkora PRIVATE melkora_window melkora_runtime_web melkora_warnings)
    set(page_start ${CMAKE_CURRENT_SOURCE_DIR}/web/page_start.js)
    target_link_options(melkora PRIVATE
        # A page in a browser, which needs neither a file system nor code made at run time
        # (the page's content policy allows none).
        -sENVIRONMENT=web -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0
        # The smallest allocator; the memory grows for a long pasted text.
        -sMALLOC=emmalloc -sALLOW_MEMORY_GROWTH=1
        "SHELL:--pre-js ${page_start}")
    set_target_properties(melkora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${site}
                          LINK_DEPENDS ${page_start})

    # The page with the window and its styles in it, written by a tool of the build's own.
    melkora_web_tool(melkora_web_page web_page.cpp melkora_window melkora_web_markup)
    configure_file(web/index.html.in ${CMAKE_CURRENT_BINARY_DIR}/index.html.in @ONLY)
    set(base_styles ${PROJECT_SOURCE_DIR}/runtime/web/web_window.css)
    add_custom_command(OUTPUT ${site}/index.html
        COMMAND melkora_web_page ${CMAKE_CURRENT_BINARY_DIR}/index.html.in ${base_styles}
                ${site}/index.html
        DEPENDS melkora_web_page ${CMAKE_CURRENT_BINARY_DIR}/index.html.in ${base_styles}
        COMMENT "Writing the web page")

    # The icons, as a native build rendered them from the pixel map: the favicon, the installed
    # page's, and an iPhone's.
    set(page_icons icon-192.png icon-512.png icon-maskable.png apple-touch-icon.png)
    list(TRANSFORM page_icons PREPEND ${MELKORA_PAGE_ICONS}/ OUTPUT_VARIABLE icon_sources)
    list(APPEND icon_sources ${MELKORA_ICON_ICO})
    set(icons melkora.ico ${page_icons})
    list(TRANSFORM icons PREPEND ${site}/ OUTPUT_VARIABLE icon_paths)
    add_custom_command(OUTPUT ${icon_paths}
        COMMAND ${CMAKE_COMMAND} -E copy ${icon_sources} ${site}
        DEPENDS ${icon_sources}
        COMMENT "Copying the page's icons")
    configure_file(web/manifest.webmanifest.in ${site}/manifest.webmanifest @ONLY)

    # The service worker last: its cache is named after every other file's contents, so that a
    # new build replaces what an earlier one left in the browser.
    set(made index.html ${icons} manifest.webmanifest)
    set(files ${made} melkora.js melkora.wasm) # these two the melkora target makes
    list(TRANSFORM made PREPEND ${site}/ OUTPUT_VARIABLE paths)
    add_custom_command(OUTPUT ${site}/service-worker.js
        COMMAND ${CMAKE_COMMAND} -DSITE=${site} "-DFILES=${files}" -DNAME=${MELKORA_NAME}
                -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/web/service-worker.js.in
                -P ${PROJECT_SOURCE_DIR}/cmake/web_service_worker.cmake
        VERBATIM
        DEPENDS ${paths} melkora web/service-worker.js.in
                ${PROJECT_SOURCE_DIR}/cmake/web_service_worker.cmake
        COMMENT "Writing the service worker")
    add_custom_target(melkora_site ALL DEPENDS ${site}/service-worker.js)
endfunction()

function(melkora_add_packages)
    # The page is its own package: build-web/site, as it stands, on any static host.
endfunction()

function(melkora_add_platform_tests)
    # The core's suite under Node, with the build machine's files, the oracle's cases among
    # them.
    target_link_options(melkora_core_tests PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1
                        -sALLOW_MEMORY_GROWTH=1)

    # The page's road in each engine, served on loopback, at a desktop's width and a phone's:
    # Chromium and Firefox headless, WebKit on a display of its own; the phones in Chromium's
    # emulation, with touch, upright and turned; Firefox and WebKit in a narrow window.
    foreach(road chromium chromium:phone chromium:tall-phone chromium:phone-turned
                 firefox firefox:narrow webkit webkit:narrow)
        string(REPLACE ":" ";" road_arguments ${road})
        list(GET road_arguments 0 engine)
        string(REPLACE ":" "_" name e2e_web_${road})
        set(display)
        if(engine STREQUAL webkit)
            set(display ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -dpi 96")
        endif()
        add_test(NAME ${name}
                 COMMAND ${display} node ${CMAKE_CURRENT_SOURCE_DIR}/e2e/web/page.mjs
                         ${MELKORA_SITE} ${road_arguments})
        set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300)
    endforeach()
endfunction()

function(melkora_add_benchmarks)
    # The floor the page is measured against: the same inputs and button, no script
    # (scripts/run-benchmarks runs bench/web.mjs).
    configure_file(floor_page.html ${CMAKE_BINARY_DIR}/floor/index.html COPYONLY)
endfunction()
