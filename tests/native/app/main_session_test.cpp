// The main window's session rules: what a click on a game means, the folder
// rules and when the viewer opens.
#include <gtest/gtest.h>

#include "app/main_session.h"

namespace qv {
namespace {

CurrentGame Game(const char* id) { return {id, "", "DIR", "", id}; }

TEST(MainSession, AFurtherClickOnTheSelectedGameLaunchesItAnyOtherSelects) {
    MainSession session;
    EXPECT_EQ(session.clickGame(Game("FFIGHT")), MainSession::Click::kSelect);
    EXPECT_EQ(session.run.selectedGameId, "FFIGHT");
    EXPECT_EQ(session.clickGame(Game("FFIGHT")), MainSession::Click::kLaunch);
    EXPECT_EQ(session.clickGame(Game("FFIGHT")), MainSession::Click::kLaunch);  // and again
    EXPECT_EQ(session.clickGame(Game("3wonders")), MainSession::Click::kSelect);
    EXPECT_EQ(session.run.game.gameId, "3wonders");  // current, and selected
    EXPECT_EQ(session.clickGame(Game("FFIGHT")), MainSession::Click::kSelect);
    EXPECT_EQ(session.run.game.title, "FFIGHT");
}

TEST(MainSession, AnEmulatorFolderTakesTheDataFoldersStillAtTheirDefaultsAlong) {
    Settings settings;
    settings.L_CAL = "C:\\Old\\";
    settings.L_PF = "D:\\Shots";
    EXPECT_EQ(MainSession::TakeEmulatorFolder(settings, "C:\\Empty", false),
              " I CAN'T FIND ravlen.exe OR Rvl023.zip\r\n in C:\\Empty");
    EXPECT_EQ(settings.L_CAL, "C:\\Old\\");  // refused: nothing changed
    EXPECT_FALSE(MainSession::TakeEmulatorFolder(settings, "C:\\Ravlen", true));
    EXPECT_EQ(settings.L_CAL, "C:\\Ravlen");
    EXPECT_EQ(settings.L_SF, "C:\\Ravlen\\Saves");  // at its default: moved along
    EXPECT_EQ(settings.L_PF, "D:\\Shots");          // chosen elsewhere: stays
    // Once moved, the save folder is the user's: a further emulator folder keeps it.
    EXPECT_FALSE(MainSession::TakeEmulatorFolder(settings, "E:\\", true));
    EXPECT_EQ(settings.L_SF, "C:\\Ravlen\\Saves");
    Settings root;
    EXPECT_FALSE(MainSession::TakeEmulatorFolder(root, "E:\\", true));
    EXPECT_EQ(root.L_PF, "E:\\Pcx");  // a drive root keeps one backslash
}

TEST(MainSession, TheViewerOpensOnlyWithSnapshotsCounted) {
    MainSession session;
    EXPECT_FALSE(session.viewerOpens());
    session.snapshotsCounted(10);
    EXPECT_TRUE(session.viewerOpens());
    session.snapshotsCounted(0);
    EXPECT_FALSE(session.viewerOpens());
}

}  // namespace
}  // namespace qv
