// TPrevInst.
#include "components/prev_inst_win.h"

#include <cstring>

#include "util/handles_win.h"

namespace qv {
namespace {

constexpr int kTextSize = 256;  // 255 characters and the terminator

// What the walk over all top-level windows looks for and what it found.
struct Search {
    HWND own;              // this process's application window
    char text[kTextSize];  // its window text
    char className[kTextSize];
    std::int32_t matches;
    HWND other;  // the last matching window that is not our own
};

BOOL CALLBACK CountMatch(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    char read[kTextSize];
    // Exact comparisons, letter case included; a window that gives no class
    // name or no text is skipped. Always go on to the next window.
    if (GetClassNameA(window, read, kTextSize) == 0 || std::strcmp(read, search.className) != 0) {
        return TRUE;
    }
    if (GetWindowTextA(window, read, kTextSize) == 0 || std::strcmp(read, search.text) != 0) {
        return TRUE;
    }
    ++search.matches;
    if (window != search.own) search.other = window;
    return TRUE;
}

// A named lock shared by every copy: the title change and the check happen
// in one turn, so two copies starting together cannot each see the other and
// both end.
class StartTurn {
public:
    explicit StartTurn(const std::string& name)
        : mutex_(CreateMutexA(nullptr, FALSE, name.c_str())) {
        // An abandoned lock (its holder ended mid-turn) is ours all the same.
        if (mutex_) WaitForSingleObject(mutex_.get(), INFINITE);
    }
    ~StartTurn() {
        if (mutex_) ReleaseMutex(mutex_.get());
    }
    StartTurn(const StartTurn&) = delete;
    StartTurn& operator=(const StartTurn&) = delete;

private:
    OwnedHandle mutex_;
};

}  // namespace

TPrevInst::TPrevInst(HWND appWindow, const std::string& title,
                     const std::function<void(int exitCode)>& endProcess)
    : appWindow_(appWindow) {
    bool tooMany = false;
    {
        char className[kTextSize] = "";
        GetClassNameA(appWindow_, className, kTextSize);
        StartTurn turn(std::string("TPrevInst ") + className + " " + title);
        SetWindowTextA(appWindow_, title.c_str());
        tooMany = FindPrevInstance();
    }
    if (tooMany) endProcess(1);
}

bool TPrevInst::FindPrevInstance() {
    Search search{};
    search.own = appWindow_;
    GetWindowTextA(appWindow_, search.text, kTextSize);
    GetClassNameA(appWindow_, search.className, kTextSize);
    EnumWindows(CountMatch, reinterpret_cast<LPARAM>(&search));
    if (search.matches <= allowedInst_) return false;

    // Bring forward what the user last worked with in the other copy: its
    // main window, or a message box or dialog that window shows.
    const HWND popup = GetLastActivePopup(search.other);
    BringWindowToTop(search.other);
    // A minimised window on the way from the pop-up up to the other copy's
    // own window (the pop-up itself, the main window under a message box, or
    // the whole copy minimised from the task bar) is restored as the user
    // would restore it, so that the windows it owns come back with it. A
    // copy that does not answer within a second is not waited for.
    HWND minimised = popup;
    while (minimised && !IsIconic(minimised))
        minimised = GetWindow(minimised, GW_OWNER);
    if (minimised) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(minimised, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 1000,
                            &ignored);
    }
    SetForegroundWindow(popup);
    PostQuitMessage(0);
    return true;
}

}  // namespace qv
