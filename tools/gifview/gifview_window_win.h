// The viewer's one window: a TGIFImage over the whole client area.
#pragma once

#include <string>

#include "gif/gif_image_win.h"
#include "ui/container_win.h"

namespace qv {

class GifViewWindow : public Container {
public:
    // Opens the window on the file; false when the window cannot be made.
    bool create(const std::string& file);
    TGIFImage& image() { return *image_; }

    // The keys: A animate, S stretch, T tile, C centre, L loop, + and -
    // double and halve the speed, the arrows step through the frames, Esc ends.
    void onKey(WPARAM key);
    void showState();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    TGIFImage* image_ = nullptr;
    std::string name_;
};

}  // namespace qv
