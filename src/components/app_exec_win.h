// TAppExec: starts a program from a command line in a new console, optionally
// waiting for it while the caller's windows stay alive.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/app_exec_errors.h"

namespace qv {

class EAppExec : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EAppExecWinExec : public EAppExec {
public:
    using EAppExec::EAppExec;
};

class TAppExec {
public:
    // Longest command line handed to the system, terminator not counted.
    static constexpr std::size_t kMaxCommandLine = 511;

    bool ChangeDir() const { return changeDir_; }
    void SetChangeDir(bool value) { changeDir_ = value; }

    // Last system error code, or the exit code after a waited Execute.
    std::int32_t ErrNo() const { return errNo_; }
    void SetErrNo(std::int32_t value) { errNo_ = value; }

    const std::string& ExeName() const { return exeName_; }
    void SetExeName(std::string value) { exeName_ = std::move(value); }

    const std::vector<std::string>& ExeParams() const { return exeParams_; }
    void SetExeParams(const std::vector<std::string>& lines) { exeParams_ = lines; }

    // A trailing "\" is dropped unless the path is "\" alone or a drive root ("C:\").
    const std::string& ExePath() const { return exePath_; }
    void SetExePath(const std::string& value);

    bool Wait() const { return wait_; }
    void SetWait(bool value) { wait_ = value; }

    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);

    TPriorClass PriorityClass() const { return priorityClass_; }
    void SetPriorityClass(TPriorClass value) { priorityClass_ = value; }

    // ExeName and each line of ExeParams joined by blanks, as handed to the system.
    std::string CommandLine() const;

    // Starts the program; with Wait, returns when it has ended, ErrNo holding
    // its exit code. Throws EAppExecWinExec when it cannot be started or watched.
    void Execute();

    std::string ErrorText() const { return qv::ErrorText(errNo_); }
    // The message of a failed start or wait: ErrorText where it has a text
    // other than "No error", else the system's own words for the code and the
    // code ("system error N" alone when the system has no words for it).
    std::string FailureText() const;

private:
    void WaitForExit(void* process);

    bool changeDir_ = true;
    std::int32_t errNo_ = 0;
    std::string exeName_;
    std::vector<std::string> exeParams_;
    std::string exePath_;
    bool wait_ = false;
    TWindowState windowState_ = TWindowState::Normal;
    int showCommand_ = ShowCommandOf(TWindowState::Normal);
    TPriorClass priorityClass_ = TPriorClass::NORMAL;
};

}  // namespace qv
