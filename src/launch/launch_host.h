// What a launch needs from the window that starts it: the game and options,
// what the scan found, the temporary names, the wait window, message boxes
// and the command interpreter.
#pragma once

#include <string>

#include "catalogue/scan.h"
#include "launch/temp_names.h"
#include "settings/settings.h"
#include "ui/progress_display.h"

namespace qv {

class LaunchHost {
public:
    virtual const CurrentGame& game() const = 0;
    virtual const Settings& settings() const = 0;
    // "DIR" when the scan found the emulator's program, "ZIP" for its archive.
    virtual const std::string& emulatorStorage() const = 0;
    virtual const TempNames& tempNames() const = 0;
    virtual ProgressDisplay& wait() = 0;
    // Handles the window messages pending now, so the interface stays alive.
    virtual void processMessages() = 0;
    // A message box of the launch, and one of the ZIP reader (text, caption).
    virtual void showMessage(const std::string& text) = 0;
    virtual void showArchiveMessage(const std::string& text, const std::string& caption) = 0;
    // Command.com or cmd.exe, which runs the emulator.
    virtual const std::string& commandInterpreter() const = 0;
    // While the emulator runs the host takes no input and refuses to close.
    virtual void setRunning(bool running) = 0;
    // After a run: the options panel in front, the files recounted.
    virtual void runEnded() = 0;

protected:
    ~LaunchHost() = default;
};

}  // namespace qv
