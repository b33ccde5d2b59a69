// Error texts of the process launcher.
#include "components/app_exec_errors.h"

namespace qv {

std::string ErrorText(std::int32_t errNo) {
    if (errNo >= kFirstNonErrorCode) return "No error";
    switch (errNo) {
    case -1:
        return "No execution";
    case 0:
        return "System was out of memory, executable file was corrupt, or relocations were invalid";
    case 2:
        return "File was not found";
    case 3:
        return "Path was not found";
    case 5:
        return "Attempt was made to dynamically link to a task, or there was a sharing or "
               "network-protection error";
    case 6:
        return "Library required separate data segments for each task";
    case 8:
        return "There was insufficient memory to start the application";
    case 10:
        return "Windows version was incorrect";
    case 11:
        return "Executable file was invalid. Either it was not a Windows application or there was "
               "an error in the .EXE image";
    case 12:
        return "Application was designed for a different operating system";
    case 13:
        return "Application was designed for MS-DOS 4.0";
    case 14:
        return "Type of executable file was unknown";
    case 15:
        return "Attempt was made to load a real-mode application (developed for an earlier version "
               "of Windows)";
    case 16:
        return "Attempt to load second instance of an executable containing multiple data segments "
               "not marked read-only";
    case 19:
        return "Attempt was made to load a compressed executable file. The file must be "
               "decompressed before it can be loaded";
    case 20:
        return "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this "
               "application was corrupt";
    case 21:
        return "Application requires 32-bit extensions";
    default:
        return "";
    }
}

}  // namespace qv
