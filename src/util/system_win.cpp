// System places, processor check and the message pump used during long work.
#include "util/system_win.h"

#include <windows.h>

#include "util/on_demand_win.h"
#include "util/text.h"

namespace qv {

std::string WindowsDir() {
    char buf[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return EndWithBackslash(std::string_view(buf, n < MAX_PATH ? n : 0));
}

std::string SystemErrorText(unsigned long error) {
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::string result = text;
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

std::string WindowsTempDir() { return WindowsDir() + "TEMP\\"; }

std::string ProgramDir() {
    char buf[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string path(buf, n < MAX_PATH ? n : 0);
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsPentium() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return IsPentiumClass(info.dwProcessorType);
}

bool IsPentiumClass(unsigned long processorType) {
    return processorType != 386 && processorType != 486;
}

void LoadLibrariesFromSystemFolder() {
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDllDirectories = BOOL WINAPI(DWORD);
    const auto set = FunctionIn<SetDefaultDllDirectories>(GetModuleHandleA("kernel32.dll"),
                                                          "SetDefaultDllDirectories");
    if (set) set(kSearchSystem32);
}

}  // namespace qv
