// The built-in list of games Ravlen can run, in the order of the game buttons.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace qv {

// One game. Every view refers to a NUL-terminated literal, so data() may be
// handed to the ANSI API. Multi-item fields are split at ";" with WordAt.
struct GameRecord {
    std::string_view title;    // button caption; "(J" marks a Japanese version
    std::string_view picture;  // bitmap resource on the button; may be empty
    std::string_view gameId;  // folder, main archive stem, Ravlen's game argument, settings sub-key
    std::string_view romPatterns;   // masks that must each match a file of the game's folder
    std::string_view renameMarker;  // "RSF2 <stem>" for the Street Fighter 2 variants, else empty
    std::string_view archiveNames;  // archive stems that must all exist as <stem>.ZIP
};

inline constexpr std::size_t kGameCount = 24;

// The table, row 1 first.
std::span<const GameRecord, kGameCount> GameTable();

// True when the title contains "(J" (case counts).
bool IsJapanese(const GameRecord& game);

// What a game button carries in place of an absent rename marker.
inline constexpr char kNoRenameMarker[] = "NONE";

// Marks stamped on a game picture; kMarkKeyColour (pure green, as a COLORREF)
// is their transparent colour.
inline constexpr char kJapanMark[] = "_JAPAN";
inline constexpr char kZipMark[] = "_ZIP";
inline constexpr std::uint32_t kMarkKeyColour = 0x00FF00;

}  // namespace qv
