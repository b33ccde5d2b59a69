// System functions looked up at their first call.
#include "util/on_demand_win.h"

#include <shellapi.h>

#include <string>

namespace qv::on_demand {

namespace {

// The function of that name in a library of the system folder, loaded for
// the rest of the program's life; null where either is missing.
template <typename Function>
Function* Find(const char* library, const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return FunctionIn<Function>(
        LoadLibraryA((std::string(folder, length) + "\\" + library).c_str()), name);
}

}  // namespace

BOOL GetSaveFileNameA(OPENFILENAMEA* dialog) {
    static auto* const call =
        Find<decltype(::GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    return call ? call(dialog) : FALSE;
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
    static auto* const call = Find<decltype(::CoInitializeEx)>("ole32.dll", "CoInitializeEx");
    return call ? call(reserved, model) : E_FAIL;
}

void CoUninitialize() {
    static auto* const call = Find<decltype(::CoUninitialize)>("ole32.dll", "CoUninitialize");
    if (call) call();
}

void CoTaskMemFree(void* memory) {
    static auto* const call = Find<decltype(::CoTaskMemFree)>("ole32.dll", "CoTaskMemFree");
    if (call) call(memory);
}

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    static auto* const call =
        Find<decltype(::SHBrowseForFolderA)>("shell32.dll", "SHBrowseForFolderA");
    return call ? call(info) : nullptr;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, char* path) {
    static auto* const call =
        Find<decltype(::SHGetPathFromIDListA)>("shell32.dll", "SHGetPathFromIDListA");
    return call ? call(list, path) : FALSE;
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list) {
    static auto* const call =
        Find<decltype(::SHGetSpecialFolderLocation)>("shell32.dll", "SHGetSpecialFolderLocation");
    return call ? call(owner, folder, list) : E_FAIL;
}

HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show) {
    static auto* const call = Find<decltype(::ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    // A value of 32 or less is a failure; this one says the file was not found.
    return call ? call(owner, verb, file, parameters, folder, show)
                : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(ERROR_FILE_NOT_FOUND));
}

MMRESULT joyGetPos(UINT joystick, JOYINFO* info) {
    static auto* const call = Find<decltype(::joyGetPos)>("winmm.dll", "joyGetPos");
    return call ? call(joystick, info) : JOYERR_UNPLUGGED;
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static auto* const call =
        Find<decltype(::SetWindowSubclass)>("comctl32.dll", "SetWindowSubclass");
    return call ? call(window, procedure, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    static auto* const call =
        Find<decltype(::RemoveWindowSubclass)>("comctl32.dll", "RemoveWindowSubclass");
    return call ? call(window, procedure, id) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    static auto* const call = Find<decltype(::DefSubclassProc)>("comctl32.dll", "DefSubclassProc");
    return call ? call(window, msg, wp, lp) : DefWindowProcA(window, msg, wp, lp);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    static auto* const call =
        Find<decltype(::InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
    return call ? call(classes) : FALSE;
}

}  // namespace qv::on_demand
