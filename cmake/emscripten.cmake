# Cross-compiling for the browser with Debian's Emscripten (3.1.6, clang 14). The program is a
# wasm module with its JavaScript; tests built here run under Node.
#
# Debian ships Emscripten's library cache read-only and frozen. The build works on a tree of
# links to it, made once in the build tree, where Emscripten may write what it adds, with a
# config of the build's own. The compilers and the archiver are called through wrappers that
# name that config, so that every build step sees the same one.
get_property(in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
set(emscripten_dir ${CMAKE_BINARY_DIR}/emscripten)
if(NOT in_try_compile AND NOT EXISTS ${emscripten_dir}/config)
    set(debian_root /usr/share/emscripten)
    file(MAKE_DIRECTORY ${emscripten_dir})
    execute_process(COMMAND cp -rs ${debian_root}/cache ${emscripten_dir}/cache
                    COMMAND_ERROR_IS_FATAL ANY)
    # The two files that every run writes.
    file(REMOVE ${emscripten_dir}/cache/cache.lock ${emscripten_dir}/cache/sanity.txt)
    file(READ ${debian_root}/.emscripten debian_config)
    string(REGEX REPLACE "\nFROZEN_CACHE = [^\n]*" "" config "${debian_config}")
    # Its optimizer needs acorn, which Debian's Node modules have and this machine's Node may
    # not find by itself.
    string(APPEND config "\nFROZEN_CACHE = False\nCACHE = '${emscripten_dir}/cache'\n"
                         "import os\nos.environ['NODE_PATH'] = '/usr/share/nodejs'\n")
    file(WRITE ${emscripten_dir}/config.new "${config}")
    foreach(tool emcc em++ emar emranlib)
        file(WRITE ${emscripten_dir}/bin/${tool}
             "#!/bin/sh\nEM_CONFIG='${emscripten_dir}/config' exec /usr/bin/${tool} \"$@\"\n")
        file(CHMOD ${emscripten_dir}/bin/${tool} PERMISSIONS OWNER_READ OWNER_WRITE
             OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endforeach()
    file(RENAME ${emscripten_dir}/config.new ${emscripten_dir}/config)
endif()
set(ENV{EM_CONFIG} ${emscripten_dir}/config)

# The build's Node programs (the page's generator, the core's tests) are CommonJS; Node takes a
# .js file for an ES module where a package.json above it says so, as one in /tmp did to a
# clone there. This one, nearest to them, says what they are.
if(NOT in_try_compile)
    file(WRITE ${CMAKE_BINARY_DIR}/package.json "{\"type\": \"commonjs\"}\n")
endif()

set(CMAKE_C_COMPILER ${emscripten_dir}/bin/emcc)
set(CMAKE_CXX_COMPILER ${emscripten_dir}/bin/em++)
set(CMAKE_AR ${emscripten_dir}/bin/emar CACHE FILEPATH "Emscripten's archiver")
set(CMAKE_RANLIB ${emscripten_dir}/bin/emranlib CACHE FILEPATH "Emscripten's ranlib")
# Node 20 runs 3.1.6's output only without its own fetch, which that output mistakes for a
# browser's.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Exceptions through JavaScript, which every engine runs alike. This Emscripten's wasm
# exceptions are the legacy instructions (try, catch_all, rethrow, delegate): Firefox warns
# that they are going away, and WebKit's default tier lets the module's own exceptions escape
# it, so that no error report ever appeared there. The JavaScript form costs next to nothing
# here: gzip-compressed, the module is 0.2 kB smaller and its script 1.5 kB larger, and Enter
# gives its results as fast.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_C_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
