// The message pump of the main loop and of work under way.
#include "ui/busy_win.h"

#include <optional>
#include <utility>

namespace qv {
namespace {

Work g_work = Work::kNothing;
int g_depth = 0;
std::optional<int> g_heldQuit;
std::function<bool(MSG&)> g_route;

void Dispatch(MSG& msg) {
    if (g_route && g_route(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

Work BusyWith() { return g_work; }

void SetMessageRoute(std::function<bool(MSG&)> route) { g_route = std::move(route); }

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void DropQueuedMouseInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
           PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
    // A press dropped halfway leaves no control holding the pointer.
    ReleaseCapture();
}

BusyScope::BusyScope(Work work) : outer_(g_work) {
    g_work = work;
    ++g_depth;
}

BusyScope::~BusyScope() {
    g_work = outer_;
    if (--g_depth == 0 && g_heldQuit) {
        PostQuitMessage(*g_heldQuit);
        g_heldQuit.reset();
    }
}

void BusyScope::yield() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // Posted again here, it would wake the next wait at once and spin.
        if (msg.message == WM_QUIT) {
            g_heldQuit = static_cast<int>(msg.wParam);
            continue;
        }
        Dispatch(msg);
    }
}

bool BusyScope::waitFor(HANDLE object) {
    yield();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        yield();
    }
}

}  // namespace qv
