// The rename journal: its file, and putting a game folder back from every
// point at which the front end can be ended.
#include "launch/rename_journal.h"

#include <gtest/gtest.h>

#include <map>

#include "../../shared/memory_launch_system.h"
#include "util/text.h"

namespace qv {
namespace {

const RenameJournal kCe{"C:\\My Arcade\\SF2t", RestoreRenames("Sf2Ce")};

TEST(RenameJournal, TextRoundTripsAndAnythingElseIsNoJournal) {
    const std::string text = JournalText(kCe);
    EXPECT_EQ(text.substr(0, 38), "Quarvel renames\r\nC:\\My Arcade\\SF2t\r\nSF");
    const std::optional<RenameJournal> back = ParseJournal(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->folder, kCe.folder);
    EXPECT_EQ(back->putBack, kCe.putBack);
    EXPECT_TRUE(ParseJournal("Quarvel renames\nC:\\EMU\\SF2t\nSF2.21|Sf2Ce.21\n"));  // LF alone

    for (const char* bad :
         {"", "Quarvel renames\r\n", "Quarvel renames\r\nC:\\E\r\n",
          "Quarvel renames\r\n\r\nSF2.21|X.21\r\n", "Other renames\r\nC:\\E\r\nSF2.21|X.21\r\n",
          "Quarvel renames\r\nC:\\E\r\nSF2.21 X.21\r\n",
          "Quarvel renames\r\nC:\\E\r\nSF2.21|X.21",  // cut short
          "Quarvel renames\r\nC:\\E\r\n..\\boot.ini|X.21\r\n",
          "Quarvel renames\r\nC:\\E\r\nSF2.21|C:\\X.21\r\n",
          "Quarvel renames\r\nC:\\E\r\nSF2.21|..\r\n", "Quarvel renames\r\nC:\\E\r\nSF2.21|CON\r\n",
          "Quarvel renames\r\nC:\\E\r\nSF2.21|a|b\r\n", "Quarvel renames\r\nC:\\E\r\n|X.21\r\n"}) {
        EXPECT_FALSE(ParseJournal(bad)) << bad;
    }
}

TEST(RenameJournal, FileIsWrittenWholeAndReadBack) {
    test::MemoryLaunchSystem system;
    system.addFolder("C:\\windows\\TEMP");
    const std::string path = "C:\\windows\\TEMP\\Quarvel.jnl";
    ASSERT_TRUE(WriteJournal(system, path, kCe));
    const JournalRead back = ReadJournal(system, path);
    EXPECT_TRUE(back.read);
    ASSERT_TRUE(back.journal);
    EXPECT_EQ(back.journal->putBack, kCe.putBack);
    system.addFile(path, std::string(70000, 'x'));
    EXPECT_TRUE(ReadJournal(system, path).read);
    EXPECT_FALSE(ReadJournal(system, path).journal);
    system.startProcess({{1, 0}});  // the read fails: unread, which is not "no journal"
    EXPECT_FALSE(ReadJournal(system, path).read);
    system.deleteFile(path);
    EXPECT_FALSE(ReadJournal(system, path).journal);
    system.startProcess({{1, 0}});  // the write fails
    EXPECT_FALSE(WriteJournal(system, path, kCe));
}

// A game folder as names and contents; names found without regard to case.
using Folder = std::map<std::string, std::string>;
Folder::iterator Find(Folder& folder, const std::string& name) {
    for (auto it = folder.begin(); it != folder.end(); ++it)
        if (UpperText(it->first) == UpperText(name)) return it;
    return folder.end();
}
void Apply(Folder& folder, const Rename& rename) {
    const auto from = Find(folder, rename.first);
    ASSERT_NE(from, folder.end()) << rename.first;
    ASSERT_EQ(Find(folder, rename.second), folder.end()) << rename.second;
    const std::string data = from->second;
    folder.erase(from);
    folder[rename.second] = data;
}
UndoPlan Plan(Folder& folder) {
    return PlanUndo(kCe.putBack, [&folder](const std::string& name) {
        return Find(folder, name) != folder.end() ? Presence::kThere : Presence::kNotThere;
    });
}

const Folder kBefore = {{"SF2.21", "T1"},   {"SF2.22", "T2"},   {"SF2.23", "T3"},
                        {"Sf2Ce.21", "C1"}, {"Sf2Ce.22", "C2"}, {"Sf2Ce.23", "C3"},
                        {"sf2.11", "other"}};

TEST(RenameJournal, EveryPointTheFrontEndCanBeEndedAtIsPutBack) {
    const std::vector<Rename> forward = VariantRenames("Sf2Ce");
    // Ended after `made` of the six renames, and (after all six, the run over)
    // after `restored` of the six that put them back.
    for (std::size_t made = 0; made <= forward.size(); ++made) {
        const std::size_t restoreSteps = made == forward.size() ? kCe.putBack.size() : 0;
        for (std::size_t restored = 0; restored <= restoreSteps; ++restored) {
            Folder folder = kBefore;
            for (std::size_t i = 0; i < made; ++i)
                Apply(folder, forward[i]);
            for (std::size_t i = 0; i < restored; ++i)
                Apply(folder, kCe.putBack[i]);
            const UndoPlan plan = Plan(folder);
            EXPECT_FALSE(plan.blocked) << made << "/" << restored;
            for (const Rename& rename : plan.renames)
                Apply(folder, rename);
            EXPECT_EQ(folder, kBefore)
                << "ended after " << made << " renames, " << restored << " put back";
            if (made == 6 && restored == 0)
                EXPECT_EQ(plan.renames, kCe.putBack);  // the whole restore
        }
    }
}

TEST(RenameJournal, NamesDifferingInCaseOnlyAreTheSameFile) {
    Folder folder = {{"sf2.21", "T1"},   {"sf2.22", "T2"},   {"sf2.23", "T3"},
                     {"sf2ce.21", "C1"}, {"sf2ce.22", "C2"}, {"sf2ce.23", "C3"}};
    for (const Rename& rename : VariantRenames("Sf2Ce"))
        Apply(folder, rename);
    const UndoPlan plan = Plan(folder);
    EXPECT_EQ(plan.renames, kCe.putBack);
    EXPECT_FALSE(plan.blocked);
}

// Found by the fuzz target: with the variant's own SF2.21 missing, a launch
// ended (or failed) before its first rename had the Turbo SF2.21 renamed to
// the variant's name at the next start.
TEST(RenameJournal, AFolderWhoseTurboFilesNeverMovedKeepsThemWhateverIsMissing) {
    for (const char* missing : {"Sf2Ce.21", "Sf2Ce.22", "Sf2Ce.23"}) {
        Folder folder = kBefore;
        folder.erase(missing);
        const Folder before = folder;
        const UndoPlan plan = Plan(folder);
        EXPECT_TRUE(plan.renames.empty()) << missing << ": " << plan.renames[0].first;
        EXPECT_FALSE(plan.blocked) << missing;
        EXPECT_EQ(folder, before);
    }
}

TEST(RenameJournal, ANameWhosePresenceCannotBeToldPlansNothing) {
    Folder folder = kBefore;
    for (const Rename& rename : VariantRenames("Sf2Ce"))
        Apply(folder, rename);
    for (const char* unknown : {"SF2.21", "Sf2Ce.23", "_SF2.22", "sf2.23"}) {
        const UndoPlan plan = PlanUndo(kCe.putBack, [&](const std::string& name) {
            if (UpperText(name) == UpperText(unknown)) return Presence::kCannotTell;
            return Find(folder, name) != folder.end() ? Presence::kThere : Presence::kNotThere;
        });
        EXPECT_TRUE(plan.cannotTell) << unknown;
        EXPECT_TRUE(plan.renames.empty()) << unknown;
        EXPECT_FALSE(plan.blocked) << unknown;
    }
}

TEST(RenameJournal, ANameThatCannotComeBackIsBlockedNotSkipped) {
    Folder folder = kBefore;
    for (const Rename& rename : VariantRenames("Sf2Ce"))
        Apply(folder, rename);
    folder["Sf2Ce.22"] = "a file the user put there meanwhile";
    const UndoPlan plan = Plan(folder);
    ASSERT_TRUE(plan.blocked);
    EXPECT_EQ(*plan.blocked, (Rename{"_SF2.22", "SF2.22"}));
    EXPECT_EQ(plan.renames.size(), 4u);  // the others all go back
    EXPECT_EQ(CantPutBackMessage("C:\\EMU\\SF2t", *plan.blocked),
              "I CAN'T RENAME C:\\EMU\\SF2t\\_SF2.22 BACK TO SF2.22\r\nPLEASE CHECK C:\\EMU\\SF2t "
              "DIRECTORY");
}

}  // namespace
}  // namespace qv
