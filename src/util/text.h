// Text routines shared by every subsystem: fields, replacement, number texts, paths.
// Texts are ANSI byte strings held in std::string; positions count from 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Number of fields of text split at sep; a run of separators counts as one,
// leading separators are skipped and a trailing one starts no empty field.
std::uint16_t WordCount(std::string_view text, char sep);

// Field n (from 1) under the same rule; a missing field is empty.
std::string WordAt(std::string_view text, char sep, int n);

// The first occurrence of searched replaced by replacement; text unchanged
// when searched does not occur (an empty searched text never occurs).
std::string ReplaceFirst(std::string_view searched, std::string_view replacement,
                         std::string_view text);

// all false: one ReplaceFirst. all true: ReplaceFirst repeated while searched
// still occurs. A replacement that contains searched would repeat forever, so
// then only the first occurrence is replaced.
std::string ReplaceText(std::string_view searched, std::string_view replacement,
                        std::string_view text, bool all);

// The last n characters; n equal to or above the length gives an empty text.
std::string RightChars(std::string_view text, int n);

// The folder with one backslash at its end: added unless it has one ("" gives "\"),
// and nothing else changed, so a share's "\\server" stays whole. For folders
// handed to the system as they are (listings, the system folder).
std::string EndWithBackslash(std::string_view folder);

// a..z to capitals, every other byte unchanged (no locale).
std::string UpperText(std::string_view text);

std::string IntText(std::int32_t value);

// Leading blanks, optional "+" or "-", decimal digits or "$" and hex digits.
// Empty gives 0; at a bad character the value of the digits before it is
// returned without its sign. Arithmetic wraps like a 32-bit register.
std::int32_t TextInt(std::string_view text);

// folder + "\" + name with a doubled backslash collapsed (the first one, or
// every one when collapseAll), so folders with or without a final "\" join alike.
std::string JoinPath(std::string_view folder, std::string_view name, bool collapseAll);

// The folder as JoinPath begins a path in it (JoinPath(folder, "", false)): one
// backslash added and then the first doubled backslash collapsed, so a folder
// that ends in one (a drive root) keeps one, but a doubled backslash before
// its end is the one collapsed. The snapshot viewer's folder is made so.
std::string JoinedFolder(std::string_view folder);

}  // namespace qv
