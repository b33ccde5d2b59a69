// What the Windows benchmarks share: ending with a message, and polling for a
// condition until a generous limit, since the machine may be loaded.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace bench {

[[noreturn]] inline void Fail(const char* program, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", program, what.c_str());
    std::exit(1);
}

// Polls every pollMs milliseconds until ready gives true; after limit, fails
// naming what it waited for.
inline void WaitFor(const char* program, const char* what, const std::function<bool()>& ready,
                    std::chrono::steady_clock::duration limit, DWORD pollMs) {
    const auto start = std::chrono::steady_clock::now();
    while (!ready()) {
        if (std::chrono::steady_clock::now() - start > limit)
            Fail(program, std::string("timed out waiting for ") + what);
        Sleep(pollMs);
    }
}

}  // namespace bench
