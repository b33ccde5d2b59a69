// The play history's bookkeeping: what counts as a run, how its time adds up
// whatever the clock is set to, which snapshots a game keeps, and the stored
// texts it is written as and read back from.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/play_history.h"

namespace qv {
namespace {

CalendarTime At(int year, int month, int day, int hour, int minute, int second) {
    return {year, month, day, hour, minute, second};
}

// A run that started at start and lasted that long.
PlayedRun RunAt(CalendarTime start, std::int64_t milliseconds,
                std::vector<std::string> before = {}, std::vector<std::string> after = {}) {
    return {start, milliseconds, std::move(before), std::move(after)};
}

std::vector<std::string> Shots(int from, int to) {
    std::vector<std::string> shots;
    for (int n = from; n < to; ++n)
        shots.push_back("C:\\Pcx\\Snap" + std::to_string(10000 + n).substr(1) + ".Pcx");
    return shots;
}

TEST(PlayTracker, CountsOnlyARunThatStartedEndedAndRanTimedOnTheSteadyClock) {
    PlayTracker tracker;
    EXPECT_FALSE(tracker.ran());  // nothing started

    // The interpreter failed to start: the launch ends without saying it ran,
    // and the next launch starts afresh.
    tracker.started(At(2026, 12, 8, 21, 0, 0), 1000, {"C:\\P\\Snap0000.Pcx"});
    tracker.ended(1500, {"C:\\P\\Snap0000.Pcx"});
    tracker.started(At(2026, 12, 8, 21, 5, 0), 90000, {});
    EXPECT_FALSE(tracker.ran());  // started, not ended
    tracker.ended(190500, {"C:\\P\\Snap0001.Pcx"});
    const auto run = tracker.ran();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->startLocal, At(2026, 12, 8, 21, 5, 0));
    EXPECT_EQ(run->milliseconds, 100500);
    EXPECT_TRUE(run->snapshotsBefore.empty());
    EXPECT_EQ(run->snapshotsAfter, std::vector<std::string>{"C:\\P\\Snap0001.Pcx"});
    EXPECT_FALSE(tracker.ran());  // counted once

    tracker.ended(200000, {});  // an end without a start
    EXPECT_FALSE(tracker.ran());
}

TEST(PlayHistory, AddsWholeSecondsOfTheRunWhateverTheDateSays) {
    PlayHistory history;
    // Across midnight, or with the clock set back or forward meanwhile, the
    // time played is what the steady clock measured.
    AddRun(history, RunAt(At(2026, 12, 8, 23, 59, 30), 90999));
    EXPECT_EQ(history.runs, 1);
    EXPECT_EQ(history.seconds, 90);
    EXPECT_EQ(history.lastRun, At(2026, 12, 8, 23, 59, 30));  // when it started
    AddRun(history, RunAt(At(2027, 3, 1, 12, 0, 0), 7205000));
    EXPECT_EQ(history.runs, 2);
    EXPECT_EQ(history.seconds, 90 + 7205);
    EXPECT_EQ(history.lastRun, At(2027, 3, 1, 12, 0, 0));

    // An impossible clock reading adds no date; a negative time adds nothing.
    AddRun(history, RunAt(At(2027, 2, 30, 12, 0, 0), -5000));
    EXPECT_EQ(history.runs, 3);
    EXPECT_EQ(history.seconds, 90 + 7205);
    EXPECT_EQ(history.lastRun, At(2027, 3, 1, 12, 0, 0));

    // Totals stop at the largest stored number instead of wrapping.
    PlayHistory full{2147483647, 2147483600, {}, {}};
    AddRun(full, RunAt(At(2026, 1, 1, 0, 0, 0), 86400000));
    EXPECT_EQ(full.runs, 2147483647);
    EXPECT_EQ(full.seconds, 2147483647);
}

TEST(PlayHistory, TellsRunsTimeAndLastRunInWords) {
    EXPECT_EQ(HistoryText({12, 3 * 3600 + 5 * 60 + 59, At(2026, 12, 8, 21, 14, 7), {}}),
              "played 12 times, 3 h 05 min, last 8 Dec 2026 21:14");
    EXPECT_EQ(HistoryText({1, 45, At(2027, 1, 3, 7, 2, 0), {}}),
              "played once, 45 s, last 3 Jan 2027 07:02");
    EXPECT_EQ(HistoryText({2, 59 * 60 + 59, std::nullopt, {}}), "played 2 times, 59 min");
    EXPECT_EQ(HistoryText({0, 500, At(2026, 12, 8, 21, 14, 7), {"C:\\Pcx\\Snap0000.Pcx"}}),
              "never played");
}

TEST(PlayHistory, KeepsTheSnapshotsThatAppearedDuringARunNewestLast) {
    PlayHistory history;
    const std::vector<std::string> before = {"C:\\Pcx\\Snap0000.Pcx", "C:\\Pcx\\SNAP0001.PCX"};
    AddRun(history, RunAt(At(2026, 1, 1, 10, 0, 0), 60000, before,
                          {"C:\\Pcx\\Snap0000.Pcx", "C:\\Pcx\\Snap0001.Pcx",
                           "C:\\Pcx\\Snap0002.Pcx", "C:\\Pcx\\Snap0003.Pcx"}));
    EXPECT_EQ(history.snapshots,
              (std::vector<std::string>{"C:\\Pcx\\Snap0002.Pcx", "C:\\Pcx\\Snap0003.Pcx"}));

    // A run that left nothing new changes nothing; one that left many keeps
    // the newest 500.
    AddRun(history, RunAt(At(2026, 1, 1, 11, 0, 0), 60000, Shots(0, 4), Shots(0, 4)));
    EXPECT_EQ(history.snapshots.size(), 2u);
    AddRun(history, RunAt(At(2026, 1, 1, 12, 0, 0), 60000, {}, Shots(4, 603)));
    ASSERT_EQ(history.snapshots.size(), kMaxGameSnapshots);
    EXPECT_EQ(history.snapshots.front(), Shots(103, 104)[0]);
    EXPECT_EQ(history.snapshots.back(), Shots(602, 603)[0]);

    // A name seen again (a file deleted, then written anew) is one entry, newest.
    std::vector<std::string> kept = {"C:\\P\\A.Pcx", "C:\\P\\B.Pcx"};
    AddSnapshots(kept, {"c:\\p\\a.pcx", "C:\\P\\C.Pcx", "C:\\P\\C.PCX", ""});
    EXPECT_EQ(kept, (std::vector<std::string>{"C:\\P\\B.Pcx", "c:\\p\\a.pcx", "C:\\P\\C.Pcx"}));
    EXPECT_TRUE(DropSnapshots(kept, {"C:\\P\\b.pcx"}));
    EXPECT_FALSE(DropSnapshots(kept, {"C:\\P\\Z.Pcx"}));
    EXPECT_EQ(kept, (std::vector<std::string>{"c:\\p\\a.pcx", "C:\\P\\C.Pcx"}));
}

TEST(PlayHistory, ForgetsOnlyTheListedFolderFilesThatAreGone) {
    std::vector<std::string> kept = {"C:\\Pcx\\Snap0000.Pcx", "D:\\Other\\Snap0000.Pcx",
                                     "C:\\Pcx\\Snap0001.Pcx", "C:\\Pcx\\Sub\\Snap0002.Pcx",
                                     "c:\\pcx\\snap0003.pcx"};
    EXPECT_TRUE(ForgetMissingSnapshots(kept, "C:\\PCX\\",
                                       {"C:\\Pcx\\Snap0001.Pcx", "C:\\Pcx\\SNAP0003.PCX"}));
    EXPECT_EQ(kept,
              (std::vector<std::string>{"D:\\Other\\Snap0000.Pcx", "C:\\Pcx\\Snap0001.Pcx",
                                        "C:\\Pcx\\Sub\\Snap0002.Pcx", "c:\\pcx\\snap0003.pcx"}));
    EXPECT_FALSE(ForgetMissingSnapshots(kept, "C:\\PCX\\",
                                        {"C:\\Pcx\\Snap0001.Pcx", "C:\\Pcx\\SNAP0003.PCX"}));
    // An empty folder forgets all of its own.
    EXPECT_TRUE(ForgetMissingSnapshots(kept, "D:\\Other\\", {}));
    EXPECT_EQ(kept.size(), 3u);
}

TEST(PlayHistory, ReadsItsStoredTextsBackAndRefusesBrokenOnes) {
    const CalendarTime time = At(2026, 12, 8, 21, 14, 5);
    EXPECT_EQ(StoredTimeText(time), "2026-12-08 21:14:05");
    EXPECT_EQ(ParseStoredTime("2026-12-08 21:14:05"), time);
    EXPECT_EQ(ParseStoredTime("2024-02-29 00:00:00"), At(2024, 2, 29, 0, 0, 0));
    for (const char* broken :
         {"", "2026-12-08", "2026-12-08 21:14:05 ", "2026-13-08 21:14:05", "2023-02-29 00:00:00",
          "2026-12-08 24:00:00", "2026-12-08 21:60:00", "2026-12-08T21:14:05",
          "2026-1a-08 21:14:05", "-026-12-08 21:14:05", "1600-12-31 23:59:59"}) {
        EXPECT_FALSE(ParseStoredTime(broken)) << broken;
    }

    const std::vector<std::string> shots = {"C:\\Pcx\\Snap0000.Pcx", "C:\\Pcx\\Snap 1;2.Pcx"};
    EXPECT_EQ(StoredSnapshotsText(shots), "C:\\Pcx\\Snap0000.Pcx|C:\\Pcx\\Snap 1;2.Pcx");
    EXPECT_EQ(ParseStoredSnapshots(StoredSnapshotsText(shots)), shots);
    EXPECT_TRUE(ParseStoredSnapshots("").empty());
    EXPECT_EQ(ParseStoredSnapshots("||A|a||B|"), (std::vector<std::string>{"A", "B"}));
    std::string many;
    for (const std::string& shot : Shots(0, 700))
        many += shot + "|";
    const std::vector<std::string> newest = ParseStoredSnapshots(many);
    ASSERT_EQ(newest.size(), kMaxGameSnapshots);
    EXPECT_EQ(newest.front(), Shots(200, 201)[0]);

    EXPECT_EQ(ParseStoredCount("12"), 12);
    EXPECT_EQ(ParseStoredCount("0x10"), 16);
    for (const char* none : {"", "-3", "abc", "99999999999", " 1"})
        EXPECT_EQ(ParseStoredCount(none), 0) << none;
}

// The values under a game's key, as a store that may refuse a write keeps them.
using StoredValues = std::map<std::string, std::string>;

PlayHistory Read(const StoredValues& values) {
    return StoredHistory([&values](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    });
}

TEST(PlayHistory, AWriteRefusedPartWayNeverCountsARunWithoutItsTimeOrSnapshots) {
    PlayHistory before;
    AddRun(before, RunAt(At(2026, 12, 8, 21, 0, 0), 60000, {}, Shots(0, 1)));
    StoredValues stored;
    for (const StoredValue& value : StoredHistoryValues(before)) stored[value.name] = value.text;
    ASSERT_EQ(Read(stored).runs, 1);

    PlayHistory after = before;
    AddRun(after, RunAt(At(2026, 12, 9, 20, 0, 0), 125000, Shots(0, 1), Shots(0, 3)));
    const std::vector<StoredValue> writes = StoredHistoryValues(after);
    for (std::size_t refused = 0; refused <= writes.size(); ++refused) {
        StoredValues partial = stored;
        for (std::size_t i = 0; i < refused; ++i) partial[writes[i].name] = writes[i].text;
        const PlayHistory read = Read(partial);
        const bool counted = read.runs == after.runs;
        EXPECT_EQ(read.seconds, counted ? after.seconds : before.seconds) << refused;
        EXPECT_EQ(read.lastRun, counted ? after.lastRun : before.lastRun) << refused;
        if (counted) EXPECT_EQ(read.snapshots, after.snapshots) << refused;
        if (refused == writes.size()) EXPECT_TRUE(counted);
    }
}

TEST(PlayHistory, ReadsTheValuesOfEarlierBuildsUntilARunWritesItsOwn) {
    const StoredValues earlier = {{"Played_Runs", "3"},
                                  {"Played_Seconds", "200"},
                                  {"Played_Last", "2026-12-01 10:00:00"},
                                  {"Played_Snaps", "C:\\Pcx\\Snap0000.Pcx"}};
    PlayHistory history = Read(earlier);
    EXPECT_EQ(history.runs, 3);
    EXPECT_EQ(history.seconds, 200);
    EXPECT_EQ(history.lastRun, At(2026, 12, 1, 10, 0, 0));
    EXPECT_EQ(history.snapshots, Shots(0, 1));

    StoredValues now = earlier;
    AddRun(history, RunAt(At(2026, 12, 9, 20, 0, 0), 1000));
    for (const StoredValue& value : StoredHistoryValues(history)) now[value.name] = value.text;
    EXPECT_EQ(now["Played"], "4|201|2026-12-09 20:00:00");
    EXPECT_EQ(Read(now).runs, 4);
    // A broken value reads as none of its kind.
    EXPECT_EQ(Read({{"Played", "x|-4|yesterday"}}).runs, 0);
    EXPECT_FALSE(Read({{"Played", "2|5|"}}).lastRun);
}

}  // namespace
}  // namespace qv
