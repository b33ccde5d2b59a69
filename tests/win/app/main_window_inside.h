// The tests' one way to the main window's controls, which the window keeps
// to itself: references to each, under its product name.
#pragma once

#include "app/main_window_win.h"

namespace qv {

// Everything the window makes after it shows is made first.
struct MadeWhole {
    explicit MadeWhole(TF_Main& main) { main.makeAllLater(); }
    // Only the next piece of it (the first is the players panel).
    static void makeNext(TF_Main& main) { main.makeNextLater(); }
};

struct MainWindowInside : MadeWhole {
    explicit MainWindowInside(TF_Main& main)
        : MadeWhole(main),
          PL4M(main.PL4M),
          L_CAL(main.L_CAL),
          L_G(main.L_G),
          B_1(main.B_1),
          B_R(main.B_R),
          Img_Exit(main.Img_Exit),
          Img_PA(main.Img_PA),
          Img_PP(main.Img_PP),
          Img_PK(main.Img_PK),
          Img_PJ(main.Img_PJ),
          Img_PI(main.Img_PI),
          background(main.background),
          games(main.games),
          F_Report(main.F_Report),
          PA(main.PA),
          PP(main.PP),
          PK(main.PK),
          PJ(main.PJ),
          PI(main.PI),
          F_PcxView(main.F_PcxView) {}

    TOstrelLabel4Move*& PL4M;
    Label*& L_CAL;
    Label*& L_G;
    HWND& B_1;
    HWND& B_R;
    Image*& Img_Exit;
    Image*& Img_PA;
    Image*& Img_PP;
    Image*& Img_PK;
    Image*& Img_PJ;
    Image*& Img_PI;
    Image*& background;
    GameList& games;
    TF_ScanReport& F_Report;
    OptionsPanel& PA;
    PlayersPanel& PP;
    KeyboardPanel& PK;
    JoystickPanel& PJ;
    InfoPanel& PI;
    TF_PcxView& F_PcxView;
};

}  // namespace qv
