// The viewer's choice of snapshots: the current game's files in the folder's
// order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/snapshot_choice.h"

namespace qv {
namespace {

TEST(SnapshotChoice, KeepsTheFolderOrderAndIgnoresCase) {
    const std::vector<std::string> found = {"C:\\Pcx\\Snap0003.Pcx", "C:\\Pcx\\Snap0000.Pcx",
                                            "C:\\Pcx\\Snap0001.Pcx", "C:\\Pcx\\Snap0002.Pcx"};
    // The record is oldest first, in other case, and holds a file gone since.
    const std::vector<std::string> kept = {"c:\\pcx\\snap0002.pcx", "C:\\Pcx\\Snap0009.Pcx",
                                           "C:\\PCX\\SNAP0003.PCX"};
    EXPECT_EQ(GameSnapshotsOf(found, kept),
              (std::vector<std::string>{"C:\\Pcx\\Snap0003.Pcx", "C:\\Pcx\\Snap0002.Pcx"}));
    EXPECT_TRUE(GameSnapshotsOf(found, {}).empty());
    EXPECT_TRUE(GameSnapshotsOf({}, kept).empty());
}

}  // namespace
}  // namespace qv
