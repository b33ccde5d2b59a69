// The launch of the current game: free space, options file, unpacking, the
// Street Fighter 2 swaps, the emulator run and the clean-up after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class TF_Main;

// Launches the current game of the main window and returns when the
// emulator has ended (or the launch stopped with a message).
void RunRavlen(TF_Main& main);

// Free space in KB of the drive of the Windows directory, if it can be told.
std::optional<std::uint64_t> WindowsDriveFreeKb();

// The command interpreter that runs the emulator: Command.com where the
// system has one, else the system's own cmd.exe.
std::string CommandInterpreter();

}  // namespace qv
