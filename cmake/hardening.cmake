# The compiler's and linker's protections, on everything a build makes, so that the programs that
# ship and the tests that run them are built alike. Melkora reads whatever the user types or
# pastes; these turn an overrun into a stop rather than a way in.
#
# Linux: the set Debian builds its own packages with under hardening=+all (dpkg-buildflags):
# the strong stack protector, stack-clash protection, control-flow protection where the
# processor has it (CET on x86; on arm64 branch target identification and signed return
# addresses, which Debian 12's own arm64 builds do not have yet), checked string and memory
# functions, format checks, position-independent code (the compiler's default), read-only
# relocations and immediate binding. Windows: the stack protector and the checked functions, whose runtime (libssp) is
# linked in, so that Melkora.exe still needs no DLL beyond the system's; ASLR, high-entropy ASLR
# and DEP are the linker's defaults. The web module: none of these apply. WebAssembly keeps
# return addresses on the engine's own stack, out of reach of the module's memory, calls only
# functions it declares, and the browser's sandbox is round all of it.
#
# The sanitizer, fuzzing and coverage builds keep their own flags: they are no release, and the
# checked functions would hide from AddressSanitizer the very accesses it watches.

if(MELKORA_SANITIZE OR MELKORA_FUZZ OR MELKORA_COVERAGE OR CMAKE_SYSTEM_NAME STREQUAL "Emscripten")
    return()
endif()

include(CheckCXXCompilerFlag)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# The checked functions work from what the optimizer knows of each buffer; without optimization
# glibc warns that they do nothing, so a Debug build goes without. Redefined, not added to, where
# a compiler sets a level of its own.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    # The driver links libssp for these only when the link names the protector too.
    add_link_options(-fstack-protector-strong)
    return()
endif()

foreach(flag -fstack-clash-protection -fcf-protection -mbranch-protection=standard)
    string(MAKE_C_IDENTIFIER "MELKORA_HAS${flag}" has_flag)
    check_cxx_compiler_flag(${flag} ${has_flag})
    if(${has_flag})
        add_compile_options(${flag})
    endif()
endforeach()
add_link_options(-Wl,-z,relro -Wl,-z,now)
