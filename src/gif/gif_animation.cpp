// The animated GIF control's model: reading, the frame on show, the timer's steps.
#include "gif/gif_animation.h"

#include <algorithm>

namespace qv::gif {

GifStatus GifAnimation::load(std::span<const uint8_t> data) {
    setTimer(false, interval_);
    current_ = 1;
    shown_ = 0;
    passes_ = 1;
    finished_ = false;
    const GifStatus status = ReadGif(data, picture_);
    composition_.reset(picture_);
    if (status != GifStatus::kDone) return status;

    host_.changing();
    if (loaded()) show(1);
    host_.changed();
    host_.repaint();
    setTimer(canRun(), 1);
    return GifStatus::kDone;
}

bool GifAnimation::setCurrentFrame(int number) {
    if (number == current_) return true;
    if (number < 1 || number > frameCount()) return false;
    host_.changing();
    current_ = number;
    show(number);
    host_.repaint();
    host_.changed();
    return true;
}

void GifAnimation::setAnimate(bool on) {
    animate_ = on;
    passes_ = 1;
    if (on && finished_) current_ = 1;  // a finished animation starts again
    finished_ = false;
    if (on && frameCount() > 1) {
        setTimer(true, frameInterval(current_));
    } else {
        setTimer(false, interval_);
        if (!on && loaded()) {
            // Back to the first frame, once the frame on show is disposed.
            current_ = 1;
            if (shown_ != 1) {
                show(1);
                host_.repaint();
            }
        }
    }
}

void GifAnimation::setSpeed(int percent) {
    speed_ = std::max(1, percent);
    if (canRun()) setTimer(timerEnabled_, 1);
}

void GifAnimation::setLoop(bool on) {
    loop_ = on;
    if (on && finished_ && canRun()) {
        finished_ = false;
        current_ = 1;
        passes_ = 1;
        setTimer(true, 1);
    }
}

void GifAnimation::tick() {
    if (host_.repaintPending() || !loaded()) return;
    host_.changing();
    // Right after loading (or a jump to a frame) the frame to draw is the
    // one on show already.
    if (shown_ != current_) {
        show(current_);
        host_.repaint();
    }
    setTimer(true, frameInterval(current_));
    ++current_;
    const int last = frameCount();
    if (!loop_ && picture_.loopCount > 0 && current_ > last) {
        if (++passes_ > picture_.loopCount) {
            // Done: the last frame stays on show.
            current_ = last;
            finished_ = true;
            setTimer(false, interval_);
            host_.changed();
            return;
        }
    }
    if (current_ > last || current_ < 1) current_ = 1;
    host_.changed();
}

int GifAnimation::frameInterval(int number) const {
    if (number < 1 || number > frameCount()) return 1;
    const int64_t ms = int64_t{picture_.frames[number - 1].delayMs} * 100 / speed_;
    return int(std::max<int64_t>(1, ms));
}

void GifAnimation::show(int number) {
    composition_.applyDisposal(picture_, shown_);
    composition_.draw(picture_, number);
    shown_ = number;
}

void GifAnimation::setTimer(bool enabled, int intervalMs) {
    const bool restart = enabled && (!timerEnabled_ || intervalMs != interval_);
    const bool stop = !enabled && timerEnabled_;
    timerEnabled_ = enabled;
    interval_ = intervalMs;
    if (restart) host_.startTimer(intervalMs);
    if (stop) host_.stopTimer();
}

}  // namespace qv::gif
