// What long work (the ROM scan, a launch) tells the user while it runs: the
// wait window's two lines, and showing or hiding it.
#pragma once

#include <string>

namespace qv {

class ProgressDisplay {
public:
    // The information line (what is worked on) and the state line (the step).
    virtual void setInfo(const std::string& text) = 0;
    virtual void setState(const std::string& text) = 0;
    // Shows the display in front of all others and paints it at once.
    virtual void showNow() = 0;
    virtual void hide() = 0;

protected:
    ~ProgressDisplay() = default;
};

}  // namespace qv
