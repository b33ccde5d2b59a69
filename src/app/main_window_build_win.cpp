// The main window's controls: made as designed, then dressed with their
// pictures, fonts and the settings at start.
#include "app/main_window_win.h"

#include <tuple>

#include "app/links.h"
#include "launch/emulator.h"
#include "settings/settings_store_win.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/system_win.h"

namespace qv {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

// The controls as designed, before the creation handler dresses them; false
// when a child window could not be made.
bool TF_Main::createControls() {
    setColor(RGB(255, 0, 0));
    PL4M = &add<TOstrelLabel4Move>(8, 8, 385, 41);
    PL4M->setFont(UiFont(32, FontStyle::Bold));
    PL4M->setColor(RGB(255, 0, 0));
    PL4M->setCentred(true);
    PL4M->setCaption("QUARVEL");

    L_CAL = &addLabel(176, 56, 169, 16);
    L_CAL->setFont(UiFont(13, FontStyle::Bold));
    L_CAL->setColor(kBlue);
    L_CAL->setPathEllipsis(true);
    L_CAL->setCaption("GETPDIR");

    L_G = &addLabel(88, 96, 57, 17);
    L_G->setFont(UiFont(13, FontStyle::Bold));
    L_G->setColor(kBlue);
    L_G->setCentred(true);
    L_G->setCaption("0/0");
    L_G->setCursor(LoadCursor(nullptr, IDC_HAND));
    L_G->onClick = [this](GraphicControl&) { GamesReport(); };

    auto imageButton = [this](int left, int top, int width, int height) {
        Image& image = addImage(left, top, width, height);
        image.setVisible(false);
        image.onMouseDown = [this](GraphicControl& c) { ShowPImg(c); };
        image.onMouseUp = [this](GraphicControl& c) { ShowGImg(c); };
        return &image;
    };
    Img_Exit = imageButton(354, 52, 41, 25);
    Img_Exit->onClick = [this](GraphicControl&) {
        if (BusyWith() != Work::kLaunch) ExitProc();
    };
    Img_PA = imageButton(153, 80, 46, 40);
    Img_PP = imageButton(201, 80, 46, 40);
    Img_PK = imageButton(249, 80, 46, 40);
    Img_PJ = imageButton(297, 80, 46, 40);
    Img_PI = imageButton(345, 80, 46, 40);
    for (Image* image : {Img_PA, Img_PP, Img_PK, Img_PJ, Img_PI}) {
        image->onClick = [this](GraphicControl& c) { ShowPanel(c); };
    }

    // Child windows in tab order; the panels behind the options panel come
    // later (makePanel).
    B_1 = CreatePushButton(hwnd(), "...", 144, 56, 17, 17, kIdBrowseEmulator);
    if (!B_1 || !PA.create(hwnd(), 147, 120, 255, 265)) return false;
    B_R = CreatePushButton(hwnd(), "&Re-Scan", 16, 96, 57, 17, kIdReScan);
    if (!B_R) return false;
    PA.build(settings);
    PA.onBrowseSaveFolder = [this] { BrowseSF(); };
    PA.onBrowseSnapshotFolder = [this] { BrowsePF(); };
    PA.onSnapshotFolderClick = [this] { PcxView(); };
    // A launch is work of its own: the messages it lets through are handled
    // by its busy scope, which also tells the handlers that a launch runs.
    launcher_.underWayChanged = [this] {
        if (launcher_.underWay()) {
            launchBusy_.emplace(Work::kLaunch);
        } else {
            launchBusy_.reset();
        }
        stickUseChanged();
    };
    launchSystem_.progress = [this] {
        if (launchBusy_) launchBusy_->yield();
    };
    if (!games.create(hwnd())) return false;
    games.onClick = [this](GameButton& button) { ExecuteButton(button); };
    return true;
}

// A panel behind the options panel, made and dressed the first time it is
// wanted, showing the model's values.
Panel& TF_Main::makePanel(Panel& panel) {
    if (panel.hwnd()) return panel;
    const int left = &panel == &PP ? 146 : 147;
    // Made behind the panel in front; once a panel has been chosen, the
    // others are out of reach until they are brought there.
    if (!panel.create(hwnd(), left, 120, 255, 265)) return panel;
    if (panelChosen_ && &panel != front_) EnableWindow(panel.hwnd(), FALSE);
    const char* picture = nullptr;
    if (&panel == &PP) {
        PP.build(settings);
        PP.onStickListChanged = [this] { stick_.update(); };
        picture = "_M_Pid";
    } else if (&panel == &PK) {
        PK.build(settings);
        picture = "_M_Key";
    } else if (&panel == &PJ) {
        PJ.build(settings);
        picture = "_M_Joy";
    } else if (&panel == &PI) {
        PI.build();
        picture = "_M_Info";
    }
    Image& background = panel.addImage(0, 0, 0, 0);
    background.setAutoSize(true);
    background.loadPicture(picture);
    panel.sendToBack(background);
    panel.setColor(RGB(0, 0, 0));
    if (&panel == &PI) dressInfoPanel();
    if (&panel == &PP) PP.showSettings();
    if (&panel == &PK) PK.showSettings();
    if (&panel == &PJ) {
        PJ.showSettings();
        stickUseChanged();
    }
    return panel;
}

void TF_Main::dressInfoPanel() {
    const std::tuple<Image*, const char*, const char*> linkImages[] = {
        {PI.Img_Ostrel, "_G_Ostrel", links::kAuthorMail},
        {PI.Img_Tev, "_G_Tev", links::kCoAuthorMail},
        {PI.Img_Int, "_G_Int", links::kWebPage}};
    for (auto [image, picture, target] : linkImages) {
        image->loadPicture(picture);
        image->setHint(target);
        image->onClick = [this](GraphicControl& c) { RunHint(c); };
    }
    PI.L_VER->setAutoSize(true);
    PI.L_VER->setCaption(kProgramVersion);
    PI.L_CALVER->setAutoSize(true);
    PI.L_CALVER->setCaption(kForRavlenVersion);
}

bool TF_Main::makeReport() {
    if (F_Report.hwnd()) return true;
    return F_Report.create(hwnd());
}

bool TF_Main::makeViewer() { return F_PcxView.hwnd() || F_PcxView.create(appWindow_); }

// What the user sees first is made before the window shows; the rest, one
// piece a tick, once the window has shown and scanned and no input or
// painting waits (the timer's messages come last), so that the window shows
// in about two thirds of the time and answers all along.
void TF_Main::makeNextLater() {
    if (Busy()) return;  // nothing is made while a scan, a launch or a check runs
    switch (madeLater_++) {
    case 0:
        makePanel(PP);
        return;
    case 1:
        makePanel(PK);
        return;
    case 2:
        makePanel(PJ);
        return;
    case 3:
        makePanel(PI);
        return;
    case 4:
        makeReport();
        return;
    case 5:
        makeViewer();
        return;
    default:
        KillTimer(hwnd(), kMakeLaterTimerId);
    }
}

void TF_Main::makeAllLater() {
    if (!hwnd() || Busy()) return;
    while (madeLater_ <= kPiecesMadeLater)
        makeNextLater();
}

void TF_Main::InitAll() {
    SetWindowTextA(appWindow_, kAppTitleVersion);

    background = &addImage(0, 0, 0, 0);
    background->setAutoSize(true);
    background->loadPicture("_M_MAIN");
    sendToBack(*background);

    // The options panel looks cut out of the console picture, from both its
    // drawings: the cut is scaled with the rest at other DPIs.
    {
        Image& cut = PA.addImage(0, 0, 255, 265);
        const auto cutOut = [&cut](HBITMAP console, int drawn) {
            ScreenDc screen;
            OwnedDc source(CreateCompatibleDC(screen.get()));
            OwnedDc target(CreateCompatibleDC(screen.get()));
            const int w = cut.designWidth() * drawn, h = cut.designHeight() * drawn;
            OwnedBitmap pixels(CreateCompatibleBitmap(screen.get(), w, h));
            SelectScope selectSource(source.get(), console);
            SelectScope selectTarget(target.get(), pixels.get());
            RECT all{0, 0, w, h};
            FillRect(target.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            BitBlt(target.get(), 0, 0, w, h, source.get(), 147 * drawn, 120 * drawn, SRCCOPY);
            return pixels;
        };
        cut.setPicture(cutOut(background->picture(), 1), [cutOut] {
            const OwnedBitmap twice = LoadTwiceBitmapResource("_M_MAIN");
            return twice ? cutOut(twice.get(), 2) : OwnedBitmap();
        });
        PA.sendToBack(cut);
    }
    const std::pair<Image*, const char*> hoverImages[] = {{Img_Exit, "_Exit"}, {Img_PA, "_PA"},
                                                          {Img_PP, "_Pp"},     {Img_PK, "_Pk"},
                                                          {Img_PJ, "_Pj"},     {Img_PI, "_Pi"}};
    for (auto [image, suffix] : hoverImages) {
        image->loadPicture(std::string("_G") + suffix);
        image->setHint(suffix);
    }
    games.loadCursors(dpi());

    setColor(RGB(0, 0, 0));
    PA.setColor(RGB(0, 0, 0));
    PL4M->setCaption("");
    session.run = RunState{};

    settings = DefaultSettings(ProgramDir(), IsPentium());
    PlayersPanel::PrepareDeviceLists(settings);
    guardSettings([this] { LoadReg(settings, settingsKey); });
    L_CAL->setCaption(settings.L_CAL);
    PA.showSettings();
    FilesCounter();
    SetWindowPos(PA.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PutBackLeftRenames(tempNames_, launchSystem_, seams.showMessage);
    DelTempFiles();
}

}  // namespace qv
