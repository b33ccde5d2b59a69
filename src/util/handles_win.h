// Owners for Win32 handles: each frees its handle exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace qv {

// A move-only owner of a handle H, freed by Free when the owner lets go of it.
template <typename H, typename Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(H handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    H get() const { return handle_; }
    explicit operator bool() const { return Free::valid(handle_); }
    H release() { return std::exchange(handle_, H{}); }
    void reset(H handle = H{}) {
        H old = std::exchange(handle_, handle);
        if (Free::valid(old)) Free{}(old);
    }

private:
    H handle_{};
};

struct FreeGdiObject {
    static bool valid(HGDIOBJ h) { return h != nullptr; }
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct FreeMemoryDc {
    static bool valid(HDC h) { return h != nullptr; }
    void operator()(HDC h) const { DeleteDC(h); }
};
struct FreeKey {
    static bool valid(HKEY h) { return h != nullptr; }
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct FreeKernelHandle {
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FreeCursor {
    static bool valid(HCURSOR h) { return h != nullptr; }
    void operator()(HCURSOR h) const { DestroyCursor(h); }
};
struct FreeFind {
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { FindClose(h); }
};

using OwnedBitmap = Owned<HBITMAP, FreeGdiObject>;
using OwnedFont = Owned<HFONT, FreeGdiObject>;
using OwnedBrush = Owned<HBRUSH, FreeGdiObject>;
using OwnedPalette = Owned<HPALETTE, FreeGdiObject>;
using OwnedDc = Owned<HDC, FreeMemoryDc>;
using OwnedKey = Owned<HKEY, FreeKey>;
using OwnedHandle = Owned<HANDLE, FreeKernelHandle>;
using OwnedFind = Owned<HANDLE, FreeFind>;
using OwnedCursor = Owned<HCURSOR, FreeCursor>;

// Selects a GDI object into a DC for the life of the scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectScope() { SelectObject(dc_, old_); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint / EndPaint as a scope.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_{};
};

// A screen-compatible DC for the life of the scope (GetDC / ReleaseDC).
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace qv
