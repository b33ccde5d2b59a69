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
    // The DPI the window is laid out at (ui/dpi_win.h); 0 before it exists.
    int dpi() const { return dpi_; }
    // Our window of a handle, or null.
    static Window* FromHandle(HWND hwnd);
    // The DPI has changed (a move to a monitor of another scale): the window
    // lays itself out again at dpi. Its children follow by themselves.
    virtual void dpiChanged(int dpi) { dpi_ = dpi; }

protected:
    struct CreateArgs {
        const char* className = nullptr;
        const char* text = "";
        DWORD style = 0;
        DWORD exStyle = 0;
        int left = 0, top = 0, width = 0, height = 0;
        HWND parent = nullptr;
        HCURSOR cursor = nullptr;  // class cursor; the arrow when null
        // The place is the 96-DPI design, scaled to the DPI of the parent (of
        // the system for a top-level window); false: pixels as given.
        bool design = true;
    };
    // Registers the class on first use and creates the window.
    bool createWindow(const CreateArgs& args);

    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    int dpi_ = 0;
};

// Client rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

// Moves a window so that it stands in the middle of the screen.
void CentreOnScreen(HWND hwnd);

}  // namespace qv
