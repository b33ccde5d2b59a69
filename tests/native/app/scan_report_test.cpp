// The scan report's rows and text: order, what a check adds, and the words
// for every way an archive can fail it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scan_report.h"

namespace qv {
namespace {

const GameRecord& Game(std::string_view title) {
    for (const GameRecord& game : GameTable())
        if (game.title == title) return game;
    throw std::runtime_error("no such game");
}

GameVerdict Found(std::string_view title, std::vector<std::string> archives) {
    return {&Game(title), archives.empty() ? "DIR" : "ZIP", "found", std::move(archives)};
}
GameVerdict Missing(std::string_view title) { return {&Game(title), "", "missing", {}}; }

ArchiveCheck Good() { return {{ArchiveOutcome::kOk, ""}, 2}; }
ArchiveCheck Bad(ArchiveOutcome outcome, std::string entry) {
    return {{outcome, std::move(entry)}, 1};
}

std::vector<std::string> Titles(const std::vector<ReportRow>& rows) {
    std::vector<std::string> titles;
    for (const ReportRow& row : rows)
        titles.push_back(row.title);
    return titles;
}

const std::vector<GameVerdict> kGames = {
    Missing("Three Wonders"),
    Found("Final Fight", {}),
    Missing("Final Fight (JAP)"),
    Found("Street Fighter 2 CE", {"C:\\EMU\\sf2ce.ZIP", "C:\\EMU\\sf2t.ZIP"}),
    Found("Street Fighter 2 Turbo", {"C:\\EMU\\SF2T.zip"}),
    Found("Captain Commando", {"C:\\EMU\\captcomm.ZIP"}),
};
const EmulatorVerdict kZippedRavlen{"ZIP", true, "C:\\EMU\\Rvl023.zip", "zipped"};

TEST(ScanReport, RavlenFirstThenFoundGamesThenTheOthersInTableOrder) {
    const std::vector<ReportRow> rows = ReportRows(kZippedRavlen, kGames, {});
    EXPECT_EQ(Titles(rows),
              (std::vector<std::string>{"Ravlen", "Final Fight", "Street Fighter 2 CE",
                                        "Street Fighter 2 Turbo", "Captain Commando",
                                        "Three Wonders", "Final Fight (JAP)"}));
    for (const ReportRow& row : rows) {
        EXPECT_EQ(row.check, "") << row.title;  // nothing checked yet
        EXPECT_EQ(row.found, row.title != "Three Wonders" && row.title != "Final Fight (JAP)");
    }
    EXPECT_EQ(ReportHeading("C:\\EMU", kGames), "4/6 games found in C:\\EMU\\");
    EXPECT_EQ(ReportText("head", {rows[0], rows[5]}),
              "head\r\nRavlen: zipped\r\nThree Wonders: missing\r\n");
}

TEST(ScanReport, EveryArchiveIsReadOnceWhateverItsCase) {
    EXPECT_EQ(ArchivesToCheck(kZippedRavlen, kGames),
              (std::vector<std::string>{"C:\\EMU\\Rvl023.zip", "C:\\EMU\\sf2ce.ZIP",
                                        "C:\\EMU\\sf2t.ZIP", "C:\\EMU\\captcomm.ZIP"}));
    // Ravlen's archive only when the launch would unpack it.
    const EmulatorVerdict program{"DIR", true, "", "program"};
    const EmulatorVerdict none{"ZIP", false, "C:\\EMU\\Rvl023.zip", "none"};
    EXPECT_EQ(ArchivesToCheck(program, kGames).size(), 3u);
    EXPECT_EQ(ArchivesToCheck(none, kGames).size(), 3u);

    std::vector<std::string> told;
    const ArchiveChecks checks = CheckArchives(
        ArchivesToCheck(program, kGames), [](const std::string&) { return Good(); },
        [&](const std::string& name) { told.push_back(name); });
    EXPECT_EQ(told, (std::vector<std::string>{"sf2ce.ZIP", "sf2t.ZIP", "captcomm.ZIP"}));
    EXPECT_EQ(checks.size(), 3u);
}

TEST(ScanReport, ACheckMarksEachZippedSetGoodOrNamesTheFirstArchiveAtFault) {
    ArchiveChecks checks;
    checks["C:\\EMU\\Rvl023.zip"] = Good();
    checks["C:\\EMU\\sf2ce.ZIP"] = Good();
    checks["C:\\EMU\\sf2t.ZIP"] = Bad(ArchiveOutcome::kCrcError, "sf2/sf2.11");
    checks["C:\\EMU\\captcomm.ZIP"] = Good();
    const std::vector<ReportRow> rows = ReportRows(kZippedRavlen, kGames, checks);
    EXPECT_EQ(rows[0].text(), "Ravlen: zipped - archive good");
    EXPECT_EQ(rows[1].text(), "Final Fight: found");  // a folder is not checked
    EXPECT_EQ(rows[2].check, "sf2t.ZIP: CRC error in entry sf2/sf2.11");
    EXPECT_TRUE(rows[2].faulty);
    // Turbo's archive is CE's sf2t.ZIP, spelt in other capitals.
    EXPECT_EQ(rows[3].check, "SF2T.zip: CRC error in entry sf2/sf2.11");
    EXPECT_EQ(rows[4].check, "archive good");
    EXPECT_FALSE(rows[4].faulty);

    checks["C:\\EMU\\sf2ce.ZIP"] = Bad(ArchiveOutcome::kEncrypted, "a");
    EXPECT_EQ(ReportRows(kZippedRavlen, kGames, checks)[2].check, "sf2ce.ZIP: encrypted entry a");
}

TEST(ScanReport, FoundGamesTellTheirPlayHistoryAfterTheCheck) {
    std::vector<std::string> asked;
    const HistoryReader history = [&](const std::string& gameId) {
        asked.push_back(gameId);
        if (gameId == "FFIGHT")
            return PlayHistory{2, 125, CalendarTime{2026, 12, 8, 21, 14, 0}, {}};
        return PlayHistory{};
    };
    ArchiveChecks checks{{"C:\\EMU\\captcomm.ZIP", Good()}};
    const std::vector<ReportRow> rows = ReportRows(kZippedRavlen, kGames, checks, history);
    // Every found row asks (the two SF2 rows share the key SF2t), the others never.
    EXPECT_EQ(asked, (std::vector<std::string>{"FFIGHT", "SF2t", "SF2t", "captcomm"}));
    EXPECT_EQ(rows[0].history, "");
    EXPECT_EQ(rows[1].text(), "Final Fight: found - played 2 times, 2 min, last 8 Dec 2026 21:14");
    EXPECT_EQ(rows[4].text(), "Captain Commando: found - archive good - never played");
    EXPECT_EQ(rows[5].text(), "Three Wonders: missing");
}

TEST(ScanReport, WordsForEveryWayAnArchiveFails) {
    EXPECT_EQ(ArchiveProblem(Good()), "");
    EXPECT_EQ(ArchiveProblem({{ArchiveOutcome::kOk, ""}, 0}), "holds no ZIP entry");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kDamagedData, "x.rom")),
              "damaged data in entry x.rom");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kCrcError, "x.rom")), "CRC error in entry x.rom");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kEncrypted, "x.rom")), "encrypted entry x.rom");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kUnsupportedMethod, "x.rom")),
              "unsupported compression method in entry x.rom");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kBadName, "")), "an entry without a name");
    EXPECT_EQ(ArchiveProblem(Bad(ArchiveOutcome::kBadName, "a\tb\x01")),
              "unusable entry name a?b?");
    for (ArchiveOutcome unreadable :
         {ArchiveOutcome::kReadError, ArchiveOutcome::kCannotOpen, ArchiveOutcome::kCannotPosition})
        EXPECT_EQ(ArchiveProblem(Bad(unreadable, "")), "unreadable file");
}

}  // namespace
}  // namespace qv
