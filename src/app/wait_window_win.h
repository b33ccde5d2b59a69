// The wait window: a small black box, always on top, that says what the
// program is busy with while it loads, scans or launches.
#pragma once

#include <string>

#include "ui/container_win.h"
#include "ui/progress_display.h"

namespace qv {

class TF_Wait : public Container, public ProgressDisplay {
public:
    static constexpr int kClientWidth = 166;
    static constexpr int kClientHeight = 101;

    // Creates the window, hidden, and runs InitAll.
    bool create();

    // The information line (two lines) and the state line.
    void setInfo(const std::string& text) override { L_I->setCaption(text); }
    void setState(const std::string& text) override { L_W->setCaption(text); }
    // Shows the window in front of all others and paints it at once.
    void showNow() override;
    void hide() override;

    Label* L_T = nullptr;
    Label* L_I = nullptr;
    Label* L_W = nullptr;
    Image* background = nullptr;

private:
    void InitAll();
};

}  // namespace qv
