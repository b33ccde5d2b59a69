// The renames a launch makes in a game folder (the Street Fighter 2 swaps),
// written down before the first one, so that a front end ended while the
// emulator runs (killed, crashed, the power gone) puts every name back at its
// next start.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/launch_plan.h"
#include "launch/launch_system.h"

namespace qv {

struct RenameJournal {
    std::string folder;           // where the renames are made
    std::vector<Rename> putBack;  // what puts every name back, in order
};

// The journal as a file holds it: a first line naming it, the folder, then
// one rename a line ("old|new"), CR LF after each.
std::string JournalText(const RenameJournal& journal);
// Nothing when the text is no journal: cut short, damaged, or a name that is
// no plain file name (a folder in it, a device, characters Windows refuses).
std::optional<RenameJournal> ParseJournal(std::string_view text);

// The journal file, written whole (false when it cannot be) and read back.
bool WriteJournal(LaunchSystem& system, const std::string& path, const RenameJournal& journal);
struct JournalRead {
    bool read = false;  // false: missing, or it could not be read now
    // Nothing when what was read is no journal, or not all of the put-back of
    // a variant that a launch writes.
    std::optional<RenameJournal> journal;
};
JournalRead ReadJournal(LaunchSystem& system, const std::string& path);

// What puts the folder back from wherever the launch was ended: before,
// between or after the renames, or partway through putting them back. Each
// rename of putBack is kept, in order, when its old name is there and its new
// name is free (as the renames before it leave them); names compare without
// regard to case, as Windows does. blocked is the first rename that would
// still be needed afterwards (an old name that no rename gives back is left)
// but whose new name is taken. presence tells whether a file of that name is
// in the folder now; when it cannot tell for any name, nothing is planned.
struct UndoPlan {
    std::vector<Rename> renames;
    std::optional<Rename> blocked;
    bool cannotTell = false;  // a name's presence could not be told
};
UndoPlan PlanUndo(const std::vector<Rename>& putBack,
                  const std::function<Presence(const std::string&)>& presence);

// Said when a rename that puts a name back fails; the journal stays.
std::string CantPutBackMessage(const std::string& folder, const Rename& rename);

}  // namespace qv
