// Functions of the system libraries that nothing needs before the main window
// shows: the folder and save dialogs, the shell, COM, the joystick, and the
// common controls' subclassing and number-field arrows. Each library is
// loaded at the first call of one of its functions rather than with the
// program, whose start would wait for its start code (under Wine comdlg32
// alone brings in the printing system's libraries, and comctl32's start, run
// before any window of ours, was a tenth of the way to the main window).
// Where a library or function is missing, each answers as the call does when
// it fails.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shlobj.h>

namespace qv {

// The function of that name in a loaded module, as a pointer of its own type;
// null where either is missing. For the functions every program here looks up
// by name: the ones later Windows added, and the ones below.
template <typename Function>
Function* FunctionIn(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace qv

namespace qv::on_demand {

BOOL GetSaveFileNameA(OPENFILENAMEA* dialog);
HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
void CoTaskMemFree(void* memory);
PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, char* path);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);
HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show);
MMRESULT joyGetPos(UINT joystick, JOYINFO* info);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);

}  // namespace qv::on_demand
