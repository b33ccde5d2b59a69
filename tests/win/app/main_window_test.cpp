// The main window as a user meets it: places, panels, hover, exit.
#include <string>

#include "shell_fixture_win.h"
#include "ui/window_win.h"
#include "util/files_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

void ExpectBounds(const GraphicControl& c, int left, int top, int width, int height) {
    EXPECT_EQ(c.bounds().left, left);
    EXPECT_EQ(c.bounds().top, top);
    EXPECT_EQ(c.width(), width);
    EXPECT_EQ(c.height(), height);
}

void ExpectChild(HWND child, int left, int top, int width, int height) {
    const RECT r = ChildRect(child);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

std::string TextOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The panel nearest the top of the main window's z-order.
HWND FrontPanel(TF_Main& main) {
    const MainWindowInside ui(main);
    for (HWND w = GetTopWindow(main.hwnd()); w; w = GetWindow(w, GW_HWNDNEXT)) {
        for (HWND panel : {ui.PA.hwnd(), ui.PP.hwnd(), ui.PK.hwnd(), ui.PJ.hwnd(), ui.PI.hwnd()}) {
            if (w == panel) return w;
        }
    }
    return nullptr;
}

TEST_F(ShellTest, ControlsStandWhereTheConsoleDrawsThem) {
    createMain();
    RECT client{};
    GetClientRect(main->hwnd(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 395);
    EXPECT_EQ(GetWindowLongA(main->hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_EQ(TextOf(main->hwnd()), "Ravlen Front/End");
    EXPECT_EQ(GetWindow(main->hwnd(), GW_OWNER), app.hwnd());

    ExpectBounds(*ui().PL4M, 8, 8, 385, 41);
    EXPECT_EQ(ui().PL4M->caption(), "");
    ExpectBounds(*ui().L_CAL, 176, 56, 169, 16);
    ExpectBounds(*ui().L_G, 88, 96, 57, 17);
    ExpectBounds(*ui().Img_Exit, 354, 52, 41, 25);
    ExpectBounds(*ui().Img_PA, 153, 80, 46, 40);
    ExpectBounds(*ui().Img_PP, 201, 80, 46, 40);
    ExpectBounds(*ui().Img_PK, 249, 80, 46, 40);
    ExpectBounds(*ui().Img_PJ, 297, 80, 46, 40);
    ExpectBounds(*ui().Img_PI, 345, 80, 46, 40);
    ExpectBounds(*ui().background, 0, 0, 400, 395);
    ExpectChild(ui().B_1, 144, 56, 17, 17);
    EXPECT_EQ(TextOf(ui().B_1), "...");
    ExpectChild(ui().B_R, 16, 96, 57, 17);
    EXPECT_EQ(TextOf(ui().B_R), "&Re-Scan");
    ExpectChild(ui().games.sb.hwnd(), 8, 120, 137, 265);
    ExpectChild(ui().PA.hwnd(), 147, 120, 255, 265);
    ExpectChild(ui().PP.hwnd(), 146, 120, 255, 265);
    ExpectChild(ui().PK.hwnd(), 147, 120, 255, 265);
    ExpectChild(ui().PJ.hwnd(), 147, 120, 255, 265);
    ExpectChild(ui().PI.hwnd(), 147, 120, 255, 265);

    ExpectBounds(*ui().PI.Img_Ostrel, 85, 187, 147, 22);
    ExpectBounds(*ui().PI.Img_Tev, 85, 209, 132, 22);
    ExpectBounds(*ui().PI.Img_Int, 45, 233, 161, 23);
    EXPECT_EQ(ui().PI.L_VER->caption(), "v1.01");
    EXPECT_EQ(ui().PI.L_CALVER->caption(), "for Ravlen v0.23");
    EXPECT_EQ(ui().PI.L_VER->bounds().left, 40);
    EXPECT_EQ(ui().PI.L_CALVER->bounds().top, 112);
}

TEST_F(ShellTest, TitleChangesWhenTheMainWindowExists) {
    EXPECT_EQ(TextOf(app.hwnd()), "Quarvel");
    createMain();
    EXPECT_EQ(TextOf(app.hwnd()), "Quarvel v1.01");
}

TEST_F(ShellTest, ImageButtonsKeepTheirPictureSuffixesAndLinksTheirTargets) {
    createMain();
    EXPECT_EQ(ui().Img_Exit->hint(), "_Exit");
    EXPECT_EQ(ui().Img_PA->hint(), "_PA");
    EXPECT_EQ(ui().Img_PP->hint(), "_Pp");
    EXPECT_EQ(ui().Img_PK->hint(), "_Pk");
    EXPECT_EQ(ui().Img_PJ->hint(), "_Pj");
    EXPECT_EQ(ui().Img_PI->hint(), "_Pi");
    for (Image* link : {ui().PI.Img_Ostrel, ui().PI.Img_Tev}) {
        EXPECT_EQ(link->hint().rfind("mailto:", 0), 0u) << link->hint();
        EXPECT_NE(link->hint().find("?subject=Quarvel v1.01"), std::string::npos);
    }
    EXPECT_EQ(ui().PI.Img_Int->hint().rfind("http", 0), 0u);
    for (Image* image : {ui().Img_Exit, ui().Img_PA, ui().PI.Img_Int}) {
        EXPECT_NE(image->picture(), nullptr);
    }
}

TEST_F(ShellTest, OptionsPanelIsInFrontAtStartAndEveryPanelTakesInput) {
    createMain();
    EXPECT_EQ(FrontPanel(*main), ui().PA.hwnd());
    for (HWND panel :
         {ui().PA.hwnd(), ui().PP.hwnd(), ui().PK.hwnd(), ui().PJ.hwnd(), ui().PI.hwnd()}) {
        EXPECT_TRUE(IsWindowEnabled(panel));
    }
}

TEST_F(ShellTest, ShowPanelBringsItsPanelForwardAndDisablesTheOthers) {
    createMain();
    const std::pair<Image*, HWND> buttons[] =
        {{ui().Img_PK, ui().PK.hwnd()}, {ui().Img_PJ, ui().PJ.hwnd()},
         {ui().Img_PI, ui().PI.hwnd()}, {ui().Img_PP, ui().PP.hwnd()},
         {ui().Img_PP, ui().PP.hwnd()},  // the panel already in front stays so
         {ui().Img_PA, ui().PA.hwnd()}};
    for (auto [image, panel] : buttons) {
        main->ShowPanel(*image);
        EXPECT_EQ(FrontPanel(*main), panel);
        for (HWND other :
             {ui().PA.hwnd(), ui().PP.hwnd(), ui().PK.hwnd(), ui().PJ.hwnd(), ui().PI.hwnd()}) {
            EXPECT_EQ(IsWindowEnabled(other) != 0, other == panel);
        }
    }
}

TEST_F(ShellTest, AnImageLightsOnlyWhileThePointerIsStrictlyInside) {
    createMain();
    show();
    Image& image = *ui().Img_PK;
    struct Case {
        int x, y;
        bool lit;
    };
    const Case cases[] = {{20, 20, true}, {1, 1, true},    {45, 39, true},  {0, 20, false},
                          {20, 0, false}, {46, 20, false}, {20, 40, false}, {-30, -30, false}};
    for (const Case& c : cases) {
        PointAt(*main, image, c.x, c.y);
        EXPECT_EQ(image.visible(), c.lit) << c.x << "," << c.y;
        EXPECT_FALSE(ui().Img_PA->visible());
    }
    // The link pictures of the information panel light even behind another panel.
    PointAt(*main, *ui().PI.Img_Tev, 5, 5);
    EXPECT_TRUE(ui().PI.Img_Tev->visible());
    EXPECT_FALSE(ui().PI.Img_Ostrel->visible());
}

TEST_F(ShellTest, PressingShowsThePressedPictureAndAClickSwitchesThePanel) {
    createMain();
    show();
    Image& image = *ui().Img_PJ;
    PointAt(*main, image, 10, 10);
    ASSERT_TRUE(image.visible());
    const HBITMAP lit = image.picture();
    const LPARAM at = MAKELPARAM(image.bounds().left + 10, image.bounds().top + 10);
    SendMessageA(main->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_NE(image.picture(), lit);
    EXPECT_EQ(FrontPanel(*main), ui().PA.hwnd());  // not before the release
    SendMessageA(main->hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(FrontPanel(*main), ui().PJ.hwnd());
    EXPECT_FALSE(IsWindowEnabled(ui().PA.hwnd()));
}

TEST_F(ShellTest, ReleasingOutsideTheImageDoesNotClick) {
    createMain();
    show();
    Image& image = *ui().Img_PI;
    PointAt(*main, image, 10, 10);
    SendMessageA(main->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(image.bounds().left + 10, image.bounds().top + 10));
    SendMessageA(main->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 300));
    EXPECT_EQ(FrontPanel(*main), ui().PA.hwnd());
}

TEST_F(ShellTest, DraggingTheTitleWithAnyButtonMovesTheWindow) {
    createMain();
    show();
    RECT before{}, after{};
    GetWindowRect(main->hwnd(), &before);
    SendMessageA(main->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    SendMessageA(main->hwnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(50, 40));
    GetWindowRect(main->hwnd(), &after);
    EXPECT_EQ(after.left - before.left, 30);
    EXPECT_EQ(after.top - before.top, 20);
    EXPECT_EQ(after.right - after.left, 400);
    SendMessageA(main->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(50, 40));
    SendMessageA(main->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(90, 90));  // released: no more moving
    RECT released{};
    GetWindowRect(main->hwnd(), &released);
    EXPECT_EQ(released.left, after.left);
}

TEST_F(ShellTest, CloseIsRefusedWhileTheEmulatorRunsAndAcceptedAfter) {
    createMain();
    show();
    main->session.run.running = true;
    SendMessageA(main->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(main->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_TRUE(exitCodes.empty());

    main->session.run.running = false;
    SendMessageA(main->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(main->hwnd(), nullptr);
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(ShellTest, ExitImageEndsTheProgramWithCodeZero) {
    createMain();
    show();
    Image& exit = *ui().Img_Exit;
    PointAt(*main, exit, 5, 5);
    const LPARAM at = MAKELPARAM(exit.bounds().left + 5, exit.bounds().top + 5);
    SendMessageA(main->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(main->hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

// Leftovers of an interrupted run: an options file and a temp folder with a
// read-only file and a sub-folder holding a hidden file.
void MakeLeftovers(const TempNames& names) {
    auto write = [](const std::string& path) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, "x", 1, &written, nullptr);
        CloseHandle(f);
    };
    write(names.optionsFile);
    CreateDirectoryA(names.tempFolder.c_str(), nullptr);
    write(names.tempFolder + "\\SF2.21");
    SetFileAttributesA((names.tempFolder + "\\SF2.21").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((names.tempFolder + "\\SF2t").c_str(), nullptr);
    write(names.tempFolder + "\\SF2t\\hidden.rom");
    SetFileAttributesA((names.tempFolder + "\\SF2t\\hidden.rom").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(ShellTest, TemporaryFilesAreRemovedAtStartAndAtExit) {
    const TempNames names = MakeTempNames(WindowsTempDir());
    MakeLeftovers(names);
    ASSERT_TRUE(FolderExists(names.tempFolder));
    createMain();
    EXPECT_FALSE(FileExists(names.optionsFile));
    EXPECT_FALSE(FolderExists(names.tempFolder));

    MakeLeftovers(names);
    main->ExitProc();
    EXPECT_FALSE(FileExists(names.optionsFile));
    EXPECT_FALSE(FolderExists(names.tempFolder));
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

}  // namespace
}  // namespace qv
