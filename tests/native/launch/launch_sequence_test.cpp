// The launch's stops and their messages, step by step, in emulator folders
// held in memory: what each shows, what it leaves, and how its end is told.
#include "launch/launch_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "../../shared/launch_cases.h"
#include "launch/emulator.h"

namespace qv {
namespace {

using test::LaunchKind;
using test::LaunchWorld;

LaunchKind Kind(const std::string& name) {
    for (const LaunchKind& kind : test::LaunchKinds())
        if (kind.name == name) return kind;
    ADD_FAILURE() << "no kind " << name;
    return {};
}

// The number of the first operation of an undisturbed launch that starts so.
long OperationStarting(const LaunchKind& kind, const std::string& start, int nth = 1) {
    LaunchWorld world(kind);
    world.launch();
    const std::vector<std::string>& log = world.system.log();
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].starts_with(start) && --nth == 0) return static_cast<long>(i + 1);
    ADD_FAILURE() << "no operation " << start;
    return 0;
}

// The files of the SF2t folder among the emulator folder's.
std::map<std::string, std::string> GameFolder(const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> folder;
    for (const auto& [name, data] : files)
        if (name.starts_with("SF2t\\")) folder[name] = data;
    return folder;
}

// The events from the first that is `from` on.
std::vector<std::string> EventsFrom(const LaunchWorld& world, const std::string& from) {
    const auto at = std::find(world.host.events.begin(), world.host.events.end(), from);
    return {at, world.host.events.end()};
}

const char kCeFolder[] = "Street Fighter 2 CE kept as a folder, Ravlen as a program";
const char kCeFolderZippedRavlen[] = "Street Fighter 2 CE kept as a folder, Ravlen zipped";
const char kCeZipped[] = "Street Fighter 2 CE zipped, Ravlen as a program";
const char kSwordZipped[] = "Magic Sword zipped, Ravlen as a program";
const std::string kTemp = std::string(test::kWindowsTemp) + "QV95-TMP";

TEST(LaunchSequence, AnUndisturbedLaunchShowsEveryStepAndTellsThatTheEmulatorRan) {
    LaunchWorld world(Kind(kCeZipped));
    EXPECT_EQ(world.launch(), LaunchOutcome::kPlayed);
    const std::vector<std::string> expected = {"info: Street Fighter 2 CE",
                                               "Loading...",
                                               "shown",
                                               "Unzipping...",
                                               "Unzipping....",
                                               "Set Ravlen...",
                                               "Playing...",
                                               "running",
                                               "ended",
                                               "Cleaning...",
                                               "hidden",
                                               "run ended"};
    EXPECT_EQ(world.host.events, expected);
    EXPECT_EQ(world.runs, 1);
    EXPECT_TRUE(world.badRuns.empty()) << world.badRuns[0];
    EXPECT_FALSE(world.brokenAfterStart()) << *world.brokenAfterStart();

    // Too little space: told, and nothing touched.
    world.system.freeKb = 11263;
    EXPECT_EQ(world.launch(), LaunchOutcome::kRefused);
    EXPECT_EQ(world.system.operations(), 1);
}

TEST(LaunchSequence, ADamagedZippedEmulatorStopsAndPutsTheGameFolderBack) {
    const LaunchKind kind = Kind(kCeFolderZippedRavlen);
    LaunchWorld world(kind);
    EXPECT_EQ(world.launch({{OperationStarting(kind, "extract C:\\Ravlen\\Rvl023.zip"), 0}}),
              LaunchOutcome::kStopped);
    const std::vector<std::string> end = {
        "Set Ravlen...", "archive: Unable to extract... Couldn't write " + kTemp + "\\ravlen.exe",
        "message:  FILE C:\\Ravlen\\Rvl023.zip DAMAGED!", "hidden"};
    EXPECT_EQ(EventsFrom(world, "Set Ravlen..."), end);
    EXPECT_EQ(world.runs, 0);
    // Every name is back at once and the journal is gone; the temp files wait
    // for the next launch or start.
    EXPECT_EQ(GameFolder(world.system.filesUnder(test::kEmu)), GameFolder(world.before));
    EXPECT_FALSE(world.journalKept());
    EXPECT_TRUE(world.system.exists(kTemp));
}

TEST(LaunchSequence, ADamagedVariantArchiveStopsWithTheGamesArchiveName) {
    const LaunchKind kind = Kind(kCeZipped);
    LaunchWorld world(kind);
    EXPECT_EQ(world.launch({{OperationStarting(kind, "extract C:\\Ravlen\\sf2ce.ZIP"), 0}}),
              LaunchOutcome::kStopped);
    const std::vector<std::string> end = {
        "Unzipping....",
        "archive: Unable to extract... Couldn't write " + kTemp + "\\SF2t\\Sf2Ce.21",
        "message:  SF2t.ZIP DAMAGED! ", "hidden"};
    EXPECT_EQ(EventsFrom(world, "Unzipping...."), end);
    EXPECT_EQ(world.runs, 0);
}

TEST(LaunchSequence, ANameThatCannotBePutBackAfterTheRunIsToldAndTheNextStartPutsItBack) {
    const LaunchKind kind = Kind(kCeFolder);
    LaunchWorld world(kind);
    // The fourth rename after the run: _SF2.21 back to SF2.21.
    const long restore = OperationStarting(kind, "rename C:\\Ravlen\\SF2t\\_SF2.21");
    EXPECT_EQ(world.launch({{restore, 0}}), LaunchOutcome::kPlayed);
    const std::vector<std::string> end = {
        "Cleaning...",
        "message: I CAN'T RESTORE Street Fighter 2 Turbo FILES\r\nPLEASE CHECK "
        "C:\\Ravlen\\SF2T DIRECTORY",
        "hidden", "run ended"};
    EXPECT_EQ(EventsFrom(world, "Cleaning..."), end);
    EXPECT_TRUE(world.journalKept());
    EXPECT_EQ(world.system.filesUnder("C:\\Ravlen\\SF2t").count("_SF2.21"), 1u);
    ASSERT_TRUE(world.nextStart());
    EXPECT_TRUE(world.host.boxes.empty());
    EXPECT_FALSE(world.brokenAfterStart()) << *world.brokenAfterStart();
}

// Each file the run needs that cannot be written stops the launch with its name.
TEST(LaunchSequence, WhatTheRunNeedsAndCannotBeWrittenStopsTheLaunch) {
    const std::string temp = test::kWindowsTemp;
    const struct {
        const char* kind;
        std::string operation;
        std::string message;
    } stops[] = {
        {kSwordZipped, "write " + temp + "Quarvel.InI", "I CAN'T WRITE " + temp + "Quarvel.InI"},
        {kSwordZipped, "copy ", "I CAN'T WRITE " + kTemp + "\\ravlen.exe"},
        {kCeFolder, "write " + temp + "Quarvel.jnl", "I CAN'T WRITE " + temp + "Quarvel.jnl"},
        {kSwordZipped, "create folder path", "I CAN'T WRITE " + kTemp + "\\MSword"},
    };
    for (const auto& stop : stops) {
        const LaunchKind kind = Kind(stop.kind);
        LaunchWorld world(kind);
        EXPECT_EQ(world.launch({{OperationStarting(kind, stop.operation), 0}}),
                  LaunchOutcome::kStopped);
        ASSERT_GE(world.host.events.size(), 2u);
        EXPECT_EQ(world.host.events[world.host.events.size() - 2], "message: " + stop.message);
        EXPECT_EQ(world.host.events.back(), "hidden");
        EXPECT_EQ(world.host.boxes.size(), 1u) << stop.message;
        EXPECT_EQ(world.runs, 0) << stop.message;
        ASSERT_TRUE(world.nextStart());
        EXPECT_FALSE(world.brokenAfterStart()) << stop.message << *world.brokenAfterStart();
    }
}

// The fuzz target's check catches it: a journal whose write stopped at the end of a
// line read as a journal of fewer renames, and every start after it said a
// name could not be put back, though none had been renamed.
TEST(LaunchSequence, AJournalCutShortAtTheEndOfALineIsNoJournal) {
    const LaunchKind kind = Kind(kCeFolder);
    for (const std::uint32_t cut : {17u, 33u, 50u, 67u, 116u}) {
        LaunchWorld world(kind);
        const long write =
            OperationStarting(kind, "write " + std::string(test::kWindowsTemp) + "Quarvel.jnl");
        EXPECT_EQ(world.launch({{write, cut}}), LaunchOutcome::kStopped);
        ASSERT_TRUE(world.journalKept()) << cut;  // what was written of it
        ASSERT_TRUE(world.nextStart());
        EXPECT_TRUE(world.host.boxes.empty()) << cut << ": " << world.host.boxes[0].second;
        EXPECT_FALSE(world.brokenAfterStart()) << cut << *world.brokenAfterStart();
    }
}

// Found by the fuzz target: a folder without the variant's Sf2Ce.21 whose
// first rename failed (or whose launch ended before it) had its Turbo SF2.21
// put "back" as Sf2Ce.21, and SF2.21 was gone.
TEST(LaunchSequence, AFirstRenameThatFailsLeavesTheTurboFilesWhereTheyAre) {
    const LaunchKind kind = Kind(kCeFolder);
    const long first = OperationStarting(kind, "rename ");
    for (const bool dies : {false, true}) {
        LaunchWorld world(kind);
        world.system.deleteFile("C:\\Ravlen\\SF2t\\Sf2Ce.21");
        world.before = world.system.filesUnder(test::kEmu);
        if (dies)
            world.launch({}, first - 1);  // right after the journal is written
        else
            EXPECT_EQ(world.launch({{first, 0}}), LaunchOutcome::kStopped);
        ASSERT_TRUE(world.nextStart());
        EXPECT_TRUE(world.host.boxes.empty()) << world.host.boxes[0].second;
        EXPECT_FALSE(world.brokenAfterStart()) << dies << *world.brokenAfterStart();
    }
}

// A restore after the run that fails keeps the journal; the next launch in the
// same process must not write its own over it (found by the fuzz target: with
// that write cut short, no start knew the names still off).
TEST(LaunchSequence, AJournalKeptByAFailedRestoreIsCarriedOutBeforeTheNextLaunch) {
    const LaunchKind kind = Kind(kCeFolder);
    const long restore = OperationStarting(kind, "rename C:\\Ravlen\\SF2t\\_SF2.21");
    const std::string journal = std::string(test::kWindowsTemp) + "Quarvel.jnl";
    for (const bool writeCutShort : {false, true}) {
        LaunchWorld world(kind);
        ASSERT_EQ(world.launch({{restore, 0}}), LaunchOutcome::kPlayed);
        ASSERT_TRUE(world.journalKept());
        if (writeCutShort) {
            // The second launch's own journal stops at half its text.
            LaunchWorld probe(kind);
            probe.launch({{restore, 0}});
            probe.launch();
            const std::vector<std::string>& log = probe.system.log();
            const long write = std::find(log.begin(), log.end(), "write " + journal) - log.begin();
            EXPECT_EQ(world.launch({{write + 1, 0}}), LaunchOutcome::kStopped);
            EXPECT_EQ(world.host.boxes.size(), 1u);
            EXPECT_EQ(world.host.boxes.at(0).second, "I CAN'T WRITE " + journal);
        } else {
            EXPECT_EQ(world.launch(), LaunchOutcome::kPlayed);
            EXPECT_TRUE(world.host.boxes.empty()) << world.host.boxes[0].second;
            EXPECT_EQ(world.runs, 2);
            EXPECT_TRUE(world.badRuns.empty()) << world.badRuns[0];
        }
        ASSERT_TRUE(world.nextStart());
        EXPECT_TRUE(world.host.boxes.empty()) << world.host.boxes[0].second;
        EXPECT_FALSE(world.brokenAfterStart()) << writeCutShort << *world.brokenAfterStart();
    }
}

TEST(LaunchSequence, AKeptJournalWhosePutBackIsBlockedStopsTheNextLaunchAndStays) {
    const LaunchKind kind = Kind(kCeFolder);
    LaunchWorld world(kind);
    ASSERT_EQ(world.launch({{OperationStarting(kind, "rename C:\\Ravlen\\SF2t\\_SF2.21"), 0}}),
              LaunchOutcome::kPlayed);
    const std::string journal = std::string(test::kWindowsTemp) + "Quarvel.jnl";
    const std::string kept = world.system.filesUnder(test::kWindowsTemp).at("Quarvel.jnl");
    world.system.addFile("C:\\Ravlen\\SF2t\\SF2.22", "the user's own");

    EXPECT_EQ(world.launch(), LaunchOutcome::kStopped);
    const std::vector<test::Box> boxes = {
        {kAppTitleVersion,
         "I CAN'T RENAME C:\\Ravlen\\SF2t\\_SF2.22 BACK TO SF2.22\r\nPLEASE CHECK "
         "C:\\Ravlen\\SF2t DIRECTORY"},
        {kAppTitleVersion, "I CAN'T RUN Street Fighter 2 CE"}};
    EXPECT_EQ(world.host.boxes, boxes);
    EXPECT_EQ(world.host.events.back(), "hidden");
    EXPECT_EQ(world.runs, 1);
    // Never written over, not even with the same text.
    const std::vector<std::string>& log = world.system.log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "write " + journal), 0);
    EXPECT_EQ(world.system.filesUnder(test::kWindowsTemp).at("Quarvel.jnl"), kept);
    EXPECT_EQ(world.system.filesUnder("C:\\Ravlen\\SF2t").at("_SF2.22"), "T22");

    // The way clear, the next start puts every name back.
    world.system.deleteFile("C:\\Ravlen\\SF2t\\SF2.22");
    ASSERT_TRUE(world.nextStart());
    EXPECT_TRUE(world.host.boxes.empty()) << world.host.boxes[0].second;
    EXPECT_FALSE(world.brokenAfterStart()) << *world.brokenAfterStart();
}

// A look at a name that fails (access refused, a drive that does not answer)
// is no "not there": taken for one, the plan skipped a name still off and
// dropped the journal. Nothing is renamed, the journal stays without a word,
// and the start after puts everything back.
TEST(LaunchSequence, AStartThatCannotLookAtTheJournalOrANameKeepsTheJournal) {
    const LaunchKind kind = Kind(kCeFolder);
    const long lastForward = OperationStarting(kind, "rename C:\\Ravlen\\SF2t\\Sf2Ce.23");
    for (const long diesAfter : {lastForward - 2, lastForward}) {
        LaunchWorld probe(kind);
        probe.launch({}, diesAfter);
        probe.nextStart();
        const std::vector<std::string> log = probe.system.log();
        int looks = 0;
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (!log[i].starts_with("file exists ") && !log[i].starts_with("read ")) continue;
            LaunchWorld world(kind);
            world.launch({}, diesAfter);
            const std::map<std::string, std::string> left = world.system.filesUnder(test::kEmu);
            ASSERT_TRUE(world.nextStart({{static_cast<long>(i + 1), 0}}));
            const std::string where = std::to_string(diesAfter) + ", " + log[i];
            EXPECT_TRUE(world.host.boxes.empty()) << where << ": " << world.host.boxes[0].second;
            EXPECT_TRUE(world.journalKept()) << where;
            EXPECT_EQ(world.system.filesUnder(test::kEmu), left) << where;
            ASSERT_TRUE(world.nextStart());
            EXPECT_TRUE(world.host.boxes.empty()) << where;
            EXPECT_FALSE(world.brokenAfterStart()) << where << *world.brokenAfterStart();
            ++looks;
        }
        EXPECT_GE(looks, 14) << "the journal, its text and the twelve names";
    }
}

// The process launcher fails with a code its table has no text for: the
// launch says so in one box and goes no further.
TEST(LaunchSequence, AStartFailureWithoutWordsIsToldByItsCodeAndEndsTheLaunch) {
    const LaunchKind kind = Kind(kCeFolder);
    for (const std::int32_t code : {4, 23}) {
        LaunchWorld world(kind);
        world.system.failedRun = {false, code, {}};
        EXPECT_EQ(world.launch({{OperationStarting(kind, "run "), 0}}), LaunchOutcome::kNotStarted);
        const std::vector<std::string> end = {
            "running", "ended", "message: system error " + std::to_string(code), "hidden"};
        EXPECT_EQ(EventsFrom(world, "running"), end) << code;
        EXPECT_EQ(world.host.boxes.size(), 1u);
        EXPECT_EQ(world.runs, 0);
        // Everything is put back and cleaned up at once.
        EXPECT_FALSE(world.brokenAfterStart()) << *world.brokenAfterStart();
    }
    // The launcher's own words, when it has them, are the message.
    LaunchWorld world(kind);
    world.system.failedRun = {false, 23, "Data error (cyclic redundancy check). (system error 23)"};
    world.launch({{OperationStarting(kind, "run "), 0}});
    EXPECT_EQ(world.host.boxes.at(0).second,
              "Data error (cyclic redundancy check). (system error 23)");
}

TEST(LaunchSequence, AnInterpreterThatFindsNoEmulatorIsToldAndTheRunEndsAsAnyRun) {
    const LaunchKind kind = Kind(kCeFolder);
    LaunchWorld world(kind);
    const std::optional<LaunchOutcome> outcome =
        world.launch({{OperationStarting(kind, "run "), 2}});  // cmd.exe's 9009
    EXPECT_EQ(outcome, LaunchOutcome::kNotStarted);
    ASSERT_EQ(world.host.boxes.size(), 1u);
    EXPECT_TRUE(world.host.boxes[0].second.starts_with(
        "I CAN'T START RAVLEN WITH\r\nC:\\windows\\system32\\cmd.exe /C C:\\Ravlen\\ravlen.exe "
        "@\""))
        << world.host.boxes[0].second;
    // The options panel comes forward and the counters are recounted.
    EXPECT_EQ(world.host.events.back(), "run ended");
    EXPECT_EQ(world.host.events[world.host.events.size() - 3], "Cleaning...");
    EXPECT_FALSE(world.brokenAfterStart()) << *world.brokenAfterStart();
}

// An interpreter or emulator that the system ends as it starts (a library
// that fails to initialise, as under low resources, or a crash) runs no game:
// cmd.exe hands the system's status on as its own exit code, as it hands on
// any other, and so does a cmd.exe that could not initialise itself.
TEST(LaunchSequence, AnEmulatorEndedByTheSystemIsToldAndCountsNoGame) {
    for (const char* name : {kSwordZipped, kCeFolder}) {
        for (const std::uint32_t status : {0xC0000142u, 0xC0000135u, 0xC0000005u}) {
            LaunchWorld world(Kind(name));
            world.system.onRun = [status](const std::string&, const std::string&) {
                return static_cast<std::int32_t>(status);
            };
            const std::string what = std::string(name) + ", " + std::to_string(status);
            EXPECT_EQ(world.launch(), LaunchOutcome::kNotStarted) << what;
            ASSERT_EQ(world.host.boxes.size(), 1u) << what;
            const std::string& text = world.host.boxes[0].second;
            EXPECT_TRUE(
                text.starts_with("I CAN'T RUN RAVLEN WITH\r\n"
                                 "C:\\windows\\system32\\cmd.exe /C "))
                << text;
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
            EXPECT_TRUE(
                text.ends_with(" > NUL\r\nTHE SYSTEM ENDED IT WITH CODE " + std::string(code)))
                << text;
            // Cleaned up as after any run, the options panel in front.
            EXPECT_EQ(world.host.events.back(), "run ended") << what;
            EXPECT_FALSE(world.brokenAfterStart()) << what << *world.brokenAfterStart();
        }
    }
    // Whatever codes the emulator gives itself, it ran: nothing is said. So
    // did it when the user closed its console (STATUS_CONTROL_C_EXIT).
    for (const std::int32_t code :
         {1, 3, 255, 9008, 0x7FFFFFFF, -1, -2, static_cast<std::int32_t>(0xC000013Au)}) {
        LaunchWorld world(Kind(kSwordZipped));
        world.system.onRun = [code](const std::string&, const std::string&) { return code; };
        EXPECT_EQ(world.launch(), LaunchOutcome::kPlayed) << code;
        EXPECT_TRUE(world.host.boxes.empty()) << code;
    }
}

TEST(LaunchSequence, ASecondLaunchWhileOneIsUnderWayStartsNothing) {
    LaunchWorld world(Kind(kSwordZipped));
    LaunchOutcome inner = LaunchOutcome::kPlayed;
    world.system.onRun = [&](const std::string&, const std::string&) {
        inner = world.launcher.RunRavlen(world.host, world.system);
        return 0;
    };
    EXPECT_EQ(world.launch(), LaunchOutcome::kPlayed);
    EXPECT_EQ(inner, LaunchOutcome::kIgnored);
    EXPECT_FALSE(world.launcher.underWay());
}

}  // namespace
}  // namespace qv
