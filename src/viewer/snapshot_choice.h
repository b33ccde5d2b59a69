// Which snapshots the viewer lists: all of the folder, or those the current
// game's runs left; and the words of the choice and of the delete question.
#pragma once

#include <string>
#include <vector>

namespace qv {

// The entries of the choice: "All snapshots", then "<title> only" when there
// is a current game (an empty title means none).
std::vector<std::string> SnapshotChoices(const std::string& gameTitle);

// The files of found that the game's record keeps (regardless of case, as
// the file system compares names), in the order of found.
std::vector<std::string> GameSnapshotsOf(const std::vector<std::string>& found,
                                         const std::vector<std::string>& kept);

// "Delete 3 snapshot files?", "Delete 1 snapshot file?".
std::string DeleteQuestion(int files);

}  // namespace qv
