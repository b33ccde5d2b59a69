// TPrevInst: keeps a second copy of the program from running. A new copy that
// finds one already running brings it to the front (restored when minimised)
// and ends with exit code 1 before any window of its own shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class TPrevInst {
public:
    // Checks at once, with the limit 1. appWindow is this process's
    // application window; copies are told apart by its window class and its
    // text. It takes `title`, the title a running copy carries, before the
    // check, so that a copy in the middle of its start and one long running
    // compare equal texts. Copies that start together take turns, so exactly
    // one of them runs on. When another copy runs, endProcess(1) is called.
    TPrevInst(HWND appWindow, const std::string& title,
              const std::function<void(int exitCode)>& endProcess);
    TPrevInst(const TPrevInst&) = delete;
    TPrevInst& operator=(const TPrevInst&) = delete;

    // How many matching top-level windows may exist, this process's own included.
    std::int32_t AllowedInst() const { return allowedInst_; }
    void SetAllowedInst(std::int32_t value) { allowedInst_ = value; }

    // True when more matching windows exist than allowed; the other copy has
    // then been brought forward and this application asked to end.
    bool FindPrevInstance();

private:
    HWND appWindow_;
    std::int32_t allowedInst_ = 1;
};

}  // namespace qv
