// A child program for the launcher's tests:
//   appexec_probe exit N          ends with exit code N
//   appexec_probe sleep MS N      waits MS milliseconds, then ends with N
//   appexec_probe report FILE     writes how it was started into FILE
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "sleep") == 0) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return std::atoi(argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "report") == 0) {
        STARTUPINFOA startup{};
        GetStartupInfoA(&startup);
        char dir[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, dir);
        FILE* out = std::fopen(argv[2], "wb");
        if (!out) return 99;
        std::fprintf(out, "useshow=%d show=%d priority=0x%lx dir=%s\n",
                     (startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0, startup.wShowWindow,
                     GetPriorityClass(GetCurrentProcess()), dir);
        std::fclose(out);
        return 0;
    }
    return 98;
}
