// The launch of the current game: free space, options file, unpacking, the
// Street Fighter 2 swaps, the emulator run and the clean-up after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "launch/launch_host.h"

namespace qv {

// Launches the host's current game and returns when the emulator has ended
// (or the launch stopped with a message).
void RunRavlen(LaunchHost& host);

// Deletes the options file, then the temp folder with everything in it;
// nothing is reported.
void DeleteTempFiles(const TempNames& names);

// Free space in KB of the drive of the Windows directory, if it can be told.
std::optional<std::uint64_t> WindowsDriveFreeKb();

// The command interpreter that runs the emulator: Command.com where the
// system has one, else the system's own cmd.exe.
std::string CommandInterpreter();

}  // namespace qv
