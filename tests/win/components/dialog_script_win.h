// Drives an open modal dialog from the test itself: steps run one by one from
// a thread timer, which the dialog's own modal loop dispatches.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

class DialogScript {
public:
    using Step = std::function<void(HWND dialog)>;

    // The steps wait until `dialog` is set (by whoever sees the dialog appear).
    void start(std::vector<Step> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        dialog = nullptr;
        current() = this;
        timer_ = SetTimer(nullptr, 0, 300, tick);
    }
    ~DialogScript() {
        KillTimer(nullptr, timer_);
        if (current() == this) current() = nullptr;
    }

    static Step command(WPARAM id) {
        return [id](HWND d) { PostMessageA(d, WM_COMMAND, id, 0); };
    }
    // Selects a folder in the shell's folder browser.
    static Step select(std::string path) {
        return [path](HWND d) {
            SendMessageA(d, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        };
    }
    // Repeats `step` at each tick until `done` holds, for about ten seconds at
    // most: under Wine a selection can take long, or be lost while the tree
    // is still being filled in.
    static Step until(std::function<bool()> done, Step step) {
        auto ticks = std::make_shared<int>(0);
        return [done = std::move(done), step = std::move(step), ticks](HWND d) {
            if (done() || ++*ticks > kWaitTicks) return;
            step(d);
            current()->again_ = true;
        };
    }

    HWND dialog = nullptr;

private:
    static DialogScript*& current() {
        static DialogScript* script = nullptr;
        return script;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
        DialogScript* self = current();
        if (!self || !self->dialog) return;
        if (self->next_ < self->steps_.size()) {
            self->steps_[self->next_](self->dialog);
            if (!self->again_) ++self->next_;
            self->again_ = false;
        } else {
            KillTimer(nullptr, timer);
        }
    }

    static constexpr int kWaitTicks = 33;
    std::vector<Step> steps_;
    bool again_ = false;  // the step just run asks to run again
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

}  // namespace qv::test
