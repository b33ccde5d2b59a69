// The launch of the current game: free space, options file, unpacking, the
// Street Fighter 2 swaps, the emulator run and the clean-up after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "launch/launch_host.h"

namespace qv {

// Runs launches one at a time. While one is under way the host handles
// messages (the wait, the steps that repaint), so clicks can arrive then: the
// host asks underWay() and starts nothing meanwhile.
class Launcher {
public:
    // Launches the host's current game and returns when the emulator has ended
    // (or the launch stopped with a message). Nothing while a launch is under way.
    // True when the emulator was started and ran to its end.
    bool RunRavlen(LaunchHost& host);
    // From the free-space check to the recount.
    bool underWay() const { return underWay_; }

private:
    bool underWay_ = false;
};

// At start, before the scan: a rename journal left by a front end that ended
// while the emulator ran is carried out, every name put back as after a
// normal run, and removed. A name that cannot be put back is told once and
// the journal kept. A journal that is no journal is removed.
void PutBackLeftRenames(const TempNames& names,
                        const std::function<void(const std::string&)>& showMessage);

// Deletes the options file, then the temp folder with everything in it;
// nothing is reported. The rename journal is not touched.
void DeleteTempFiles(const TempNames& names);

// Free space in KB of the drive of the Windows directory, if it can be told.
std::optional<std::uint64_t> WindowsDriveFreeKb();

// The command interpreter that runs the emulator: Command.com where the
// system has one, else the system's own cmd.exe.
std::string CommandInterpreter();

}  // namespace qv
