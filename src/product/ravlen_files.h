// The names of Ravlen's own files: what the scan looks for in the emulator
// folder, what the launch places and deletes, what the counters and the
// snapshot viewer list. Every room that meets those files takes them from here.
#pragma once

namespace qv {

// Ravlen's files in the emulator folder.
inline constexpr char kRavlenProgram[] = "ravlen.exe";
inline constexpr char kRavlenArchive[] = "Rvl023.zip";  // unpacked when the program is absent
// Said when the emulator folder holds neither of the two; the folder follows.
inline constexpr char kCantFindRavlen[] = " I CAN'T FIND ravlen.exe OR Rvl023.zip\r\n in ";
inline constexpr char kRavlenSettings[] = "RaVlEn.InI";  // deleted before each run

// Masks of the files Ravlen writes: save states (save folder), snapshots (snapshot folder).
inline constexpr char kSaveStateMask[] = "*.Rs*";
inline constexpr char kSnapshotMask[] = "Snap*.Pcx";

}  // namespace qv
