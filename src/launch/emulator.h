// What is fixed about Ravlen, the emulator Quarvel configures and starts, and
// the version texts Quarvel shows alongside it.
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

// Version texts.
inline constexpr char kProgramVersion[] = "v1.01";
inline constexpr char kAppTitle[] = "Quarvel";               // until the main window exists
inline constexpr char kAppTitleVersion[] = "Quarvel v1.01";  // from then on
inline constexpr char kForRavlenVersion[] = "for Ravlen v0.23";
// First part of the options file's banner; the game title follows it.
inline constexpr char kOptionsBanner[] = "Quarvel v1.01 - Ravlen v0.23 Configuration for ";

}  // namespace qv
