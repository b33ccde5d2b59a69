// The base of every window of ours: binds the C++ object to its HWND.
#pragma once

#include <windows.h>

namespace qv {

// A window whose messages go to handleMessage. The object is bound to the
// HWND at WM_NCCREATE (GWLP_USERDATA) and unbound at WM_NCDESTROY; the object
// outlives its window and destroys it when it goes first.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    struct CreateArgs {
        const char* className = nullptr;
        const char* text = "";
        DWORD style = 0;
        DWORD exStyle = 0;
        int left = 0, top = 0, width = 0, height = 0;
        HWND parent = nullptr;
        HCURSOR cursor = nullptr;  // class cursor; the arrow when null
    };
    // Registers the class on first use and creates the window.
    bool createWindow(const CreateArgs& args);

    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Client rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

// Moves a window so that it stands in the middle of the screen.
void CentreOnScreen(HWND hwnd);

}  // namespace qv
