// Which snapshots the viewer lists.
#include "viewer/snapshot_choice.h"

#include "util/name_set.h"
#include "util/text.h"

namespace qv {

std::vector<std::string> SnapshotChoices(const std::string& gameTitle) {
    std::vector<std::string> choices{"All snapshots"};
    if (!gameTitle.empty()) choices.push_back(gameTitle + " only");
    return choices;
}

std::vector<std::string> GameSnapshotsOf(const std::vector<std::string>& found,
                                         const std::vector<std::string>& kept) {
    const NameSet game(kept);
    std::vector<std::string> files;
    for (const std::string& path : found)
        if (game.contains(path)) files.push_back(path);
    return files;
}

std::string DeleteQuestion(int files) {
    return "Delete " + IntText(files) + (files == 1 ? " snapshot file?" : " snapshot files?");
}

}  // namespace qv
