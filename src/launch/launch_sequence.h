// The launch of the current game, step by step: free space, options file,
// unpacking, the Street Fighter 2 swaps, the emulator run and the clean-up
// after it; and what a start puts right that an ended launch left behind.
#pragma once

#include <functional>
#include <string>

#include "launch/launch_host.h"
#include "launch/launch_system.h"

namespace qv {

// How a launch ended.
enum class LaunchOutcome {
    kIgnored,     // another launch was under way
    kRefused,     // too little free space; nothing was touched
    kStopped,     // stopped with a message before the emulator was started
    kNotStarted,  // the interpreter could not be started or start the emulator, or the
                  // system ended one of them (no game was played to its end)
    kPlayed,      // the emulator ran to its end
};

// Runs launches one at a time. While one is under way the host handles
// messages (the wait, the steps that repaint), so clicks can arrive then: the
// host asks underWay() and starts nothing meanwhile.
class Launcher {
public:
    // Launches the host's current game and returns when the emulator has ended
    // or the launch stopped with a message.
    LaunchOutcome RunRavlen(LaunchHost& host, LaunchSystem& system);
    // From the free-space check to the recount.
    bool underWay() const { return underWay_; }
    // Told when a launch begins and when it has ended, with underWay() already
    // telling the new state.
    std::function<void()> underWayChanged;

private:
    bool underWay_ = false;
};

// At start, before the scan (and before a launch writes its own): a rename
// journal left by a front end that ended while the emulator ran, or by a
// restore that failed, is carried out, every name put back as after a normal
// run, and removed. A name that cannot be put back is told once and the
// journal kept; so is, silently, one that cannot be read now or whose folder
// cannot be looked at. A journal that is no journal is removed. True when no
// journal is left to carry out.
bool PutBackLeftRenames(const TempNames& names, LaunchSystem& system,
                        const std::function<void(const std::string&)>& showMessage);

// Deletes the options file, then the temp folder with everything in it;
// nothing is reported. The rename journal is not touched.
void DeleteTempFiles(const TempNames& names, LaunchSystem& system);

// Said when the process launcher failed without words of its own.
std::string SystemErrorMessage(std::int32_t code);

}  // namespace qv
