// TAppExec: CreateProcess in a new console and a wait that keeps handling the
// caller's window messages.
#include "components/app_exec_win.h"

#include <windows.h>

#include <cstring>

#include "ui/busy_win.h"
#include "util/handles_win.h"
#include "util/system_win.h"

namespace qv {

static_assert(ShowCommandOf(TWindowState::Normal) == SW_SHOWNORMAL);
static_assert(ShowCommandOf(TWindowState::Minimized) == SW_SHOWMINIMIZED);
static_assert(ShowCommandOf(TWindowState::Maximized) == SW_SHOWMAXIMIZED);
static_assert(PriorityFlagOf(TPriorClass::HIGH) == HIGH_PRIORITY_CLASS);
static_assert(PriorityFlagOf(TPriorClass::IDLE) == IDLE_PRIORITY_CLASS);
static_assert(PriorityFlagOf(TPriorClass::NORMAL) == NORMAL_PRIORITY_CLASS);
static_assert(PriorityFlagOf(TPriorClass::REALTIME) == REALTIME_PRIORITY_CLASS);

namespace {

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

void TAppExec::SetExePath(const std::string& value) {
    if (value == exePath_) return;
    exePath_ = value;
    if (!exePath_.empty() && exePath_.back() == '\\' && exePath_ != "\\" && !IsDriveRoot(exePath_))
        exePath_.pop_back();
}

void TAppExec::SetWindowState(TWindowState value) {
    if (value == windowState_) return;
    windowState_ = value;
    showCommand_ = ShowCommandOf(value);
}

std::string TAppExec::CommandLine() const {
    std::string line = exeName_;
    for (const std::string& param : exeParams_)
        line += ' ' + param;
    return line;
}

void TAppExec::Execute() {
    const DWORD priority = PriorityFlagOf(priorityClass_);

    char commandLine[kMaxCommandLine + 1];
    const std::string line = CommandLine();
    const std::size_t length = line.size() < kMaxCommandLine ? line.size() : kMaxCommandLine;
    std::memcpy(commandLine, line.data(), length);
    commandLine[length] = '\0';

    // A folder that cannot be entered does not stop the start.
    if (changeDir_ && !exePath_.empty()) SetCurrentDirectoryA(exePath_.c_str());

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand_);
    PROCESS_INFORMATION info{};

    errNo_ = 0;
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE,
                        priority | CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &info)) {
        errNo_ = static_cast<std::int32_t>(GetLastError());
        throw EAppExecWinExec(FailureText());
    }
    const OwnedHandle process(info.hProcess);
    const OwnedHandle thread(info.hThread);
    if (wait_) WaitForExit(process.get());
}

std::string TAppExec::FailureText() const {
    const std::string text = ErrorText();
    if (errNo_ < kFirstNonErrorCode && !text.empty()) return text;
    // The table has no text for this code, or calls it "No error" (from 32
    // up), which would report a failure as none: say what the system says.
    const std::string reason = SystemErrorText(static_cast<DWORD>(errNo_));
    const std::string code = "system error " + std::to_string(errNo_);
    return reason.empty() ? code : reason + " (" + code + ")";
}

// Sleeps until the program ends, handling messages as they come, so the
// caller's windows stay responsive without a busy loop; as part of whatever
// work the caller is busy with.
void TAppExec::WaitForExit(void* process) {
    BusyScope waiting(BusyWith());
    if (!waiting.waitFor(process)) {
        errNo_ = static_cast<std::int32_t>(GetLastError());
        throw EAppExecWinExec(FailureText());
    }

    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode)) {
        errNo_ = static_cast<std::int32_t>(GetLastError());
        throw EAppExecWinExec(FailureText());
    }
    errNo_ = static_cast<std::int32_t>(exitCode);
}

}  // namespace qv
