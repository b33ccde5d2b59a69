// The version texts of Quarvel and of the Ravlen it configures and starts.
// The names of Ravlen's files are in product/ravlen_files.h.
#pragma once

namespace qv {

// Version texts.
inline constexpr char kProgramVersion[] = "v1.01";
inline constexpr char kAppTitle[] = "Quarvel";               // until the main window exists
inline constexpr char kAppTitleVersion[] = "Quarvel v1.01";  // from then on
inline constexpr char kForRavlenVersion[] = "for Ravlen v0.23";
// First part of the options file's banner; the game title follows it.
inline constexpr char kOptionsBanner[] = "Quarvel v1.01 - Ravlen v0.23 Configuration for ";

}  // namespace qv
