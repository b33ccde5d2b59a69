// TOstrelLabel4Move: a title label that moves its whole window when dragged
// with any mouse button; how the borderless windows are moved.
#pragma once

#include <string>

#include "ui/controls_win.h"

namespace qv {

class TOstrelLabel4Move : public Label {
public:
    using Label::Label;

    // Always empty; assigning any text shows who made the label, and keeps nothing.
    std::string About() const { return {}; }
    void SetAbout(const std::string& value);

    void mousePressed(POINT at) override;
    void mouseMoved(POINT at) override;
    void mouseReleased() override { dragging_ = false; }

private:
    HWND window_ = nullptr;  // the top-level window that holds the label
    SIZE size_{};
    POINT grab_{};  // where the label was taken, in label coordinates
    bool dragging_ = false;
};

}  // namespace qv
