// Where the launcher tests find their child programs, and scratch folders for them.
#pragma once

#include <windows.h>

#include <string>

namespace qv::test {

// The build tree hands over host paths; under Wine the host's "/" is drive Z:.
inline std::string WindowsPathOf(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

inline std::string ProbeExe() { return WindowsPathOf(QV_PROBE_EXE); }
inline std::string RavlenExe() { return WindowsPathOf(QV_RAVLEN_EXE); }

// A new empty folder under the system's temp folder, without a final "\".
inline std::string NewScratchFolder(const char* stem) {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + stem + "-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount()) + "-" + std::to_string(++serial);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

inline std::string ReadText(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    CloseHandle(file);
    return text;
}

inline void WriteText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    CloseHandle(file);
}

}  // namespace qv::test
