// The stack protector's guard and its two failure calls, in place of those of the compiler's
// libssp. Its own seed the guard from advapi32's CryptGenRandom, and so would make Melkora.exe
// load advapi32 (and what that pulls in) at every start; the checked string functions still come
// from libssp. The guard is seeded as the Microsoft C runtime seeds its /GS cookie, from what
// kernel32 knows of this moment and this process, with the address-space layout mixed in.
//
// A function the protector guards must not be running while the guard changes: the seed itself
// goes unguarded, and the C runtime's start-up, which calls it, is built without.

#include <cstdint>
#include <windows.h>

extern "C" {

std::uintptr_t __stack_chk_guard =
    static_cast<std::uintptr_t>(0x2B992DDFA232ull); // seeded before main

// A smashed stack or an overrun buffer: nothing of the process is to be trusted any more, so it
// ends at once, with the status Windows reports for a failed /GS check, and runs no handler.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_STACK_BUFFER_OVERRUN));
    __builtin_unreachable();
}

[[noreturn]] void __chk_fail() {
    __stack_chk_fail();
}

} // extern "C"

namespace {

__attribute__((constructor, no_stack_protector)) void seedStackGuard() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    std::uint64_t seed = (std::uint64_t{now.dwHighDateTime} << 32) ^ now.dwLowDateTime;
    seed ^= GetCurrentProcessId() ^ (std::uint64_t{GetCurrentThreadId()} << 32);
    seed ^= static_cast<std::uint64_t>(counter.QuadPart) << 16;
    seed ^= GetTickCount64();
    // Where the stack and the program lie, each placed at random by the system.
    seed ^=
        reinterpret_cast<std::uintptr_t>(&now) ^ reinterpret_cast<std::uintptr_t>(&seedStackGuard);
    // A zero byte first stops a string copy that overruns into the guard from writing it whole.
    __stack_chk_guard = static_cast<std::uintptr_t>(seed) & ~std::uintptr_t{0xFF};
}

} // namespace
