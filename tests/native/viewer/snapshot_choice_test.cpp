// The viewer's choice of snapshots: its entries, the current game's files in
// the folder's order, and the delete question.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/snapshot_choice.h"

namespace qv {
namespace {

TEST(SnapshotChoice, OffersTheGameOnlyWhenThereIsOne) {
    EXPECT_EQ(SnapshotChoices(""), std::vector<std::string>{"All snapshots"});
    EXPECT_EQ(SnapshotChoices("Final Fight"),
              (std::vector<std::string>{"All snapshots", "Final Fight only"}));
}

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

TEST(SnapshotChoice, AsksNamingHowManyFilesGo) {
    EXPECT_EQ(DeleteQuestion(1), "Delete 1 snapshot file?");
    EXPECT_EQ(DeleteQuestion(3), "Delete 3 snapshot files?");
}

}  // namespace
}  // namespace qv
