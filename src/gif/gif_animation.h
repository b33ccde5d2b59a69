// The model of the animated GIF control: the frames read from a file, the
// frame on show, and the animation that steps through them on a timer. The
// control on screen supplies the timer, the painting and the events.
#pragma once

#include <cstdint>
#include <span>

#include "gif/gif_compositor.h"
#include "gif/gif_decoder.h"

namespace qv::gif {

// What the model needs from the control that shows it.
class AnimationHost {
public:
    virtual ~AnimationHost() = default;
    // The animation timer: started (or restarted) with an interval, stopped.
    virtual void startTimer(int intervalMs) = 0;
    virtual void stopTimer() = 0;
    virtual void repaint() = 0;
    // True while a repaint asked for has not been painted; ticks wait for it.
    virtual bool repaintPending() const = 0;
    virtual void changing() = 0;  // before the frame on show changes
    virtual void changed() = 0;   // after it changed, or the animation stopped
};

// A host for reading and composing without a screen: no timer, no events.
class NoDisplayHost : public AnimationHost {
public:
    void startTimer(int) override {}
    void stopTimer() override {}
    void repaint() override {}
    bool repaintPending() const override { return false; }
    void changing() override {}
    void changed() override {}
};

class GifAnimation {
public:
    explicit GifAnimation(AnimationHost& host) : host_(host) {}

    // Reads a GIF file's bytes and shows frame 1. Returns GifStatus::kDone, or
    // GifStatus::kEmpty / GifStatus::kReading when there was nothing to read or no
    // GIF file; the picture is then empty.
    GifStatus load(std::span<const uint8_t> data);

    const Picture& picture() const { return picture_; }
    const Composition& composition() const { return composition_; }
    int frameCount() const { return int(picture_.frames.size()); }
    bool loaded() const { return !picture_.frames.empty(); }

    // The frame on show; while animating, the next frame to draw (1-based).
    int currentFrame() const { return current_; }
    // False, changing nothing, for a number outside 1 to the frame count.
    bool setCurrentFrame(int number);

    bool animate() const { return animate_; }
    void setAnimate(bool on);
    int speed() const { return speed_; }  // percent
    void setSpeed(int percent);
    bool loop() const { return loop_; }  // for ever, whatever the file says
    void setLoop(bool on);
    int passes() const { return passes_; }
    // The frame drawn last (0 before any), which the picture now shows.
    int shownFrame() const { return shown_; }

    // One step of the animation, run when the timer fires.
    void tick();

    bool timerEnabled() const { return timerEnabled_; }
    int timerInterval() const { return interval_; }

private:
    bool canRun() const { return animate_ && frameCount() > 1; }
    int frameInterval(int number) const;
    void show(int number);  // disposes the frame on show, draws number
    void setTimer(bool enabled, int intervalMs);

    AnimationHost& host_;
    Picture picture_;
    Composition composition_;
    int current_ = 1;
    int shown_ = 0;  // the frame drawn last; 0 for none
    int passes_ = 1;
    bool finished_ = false;  // the loop count was reached
    bool animate_ = false;
    bool loop_ = false;
    int speed_ = 100;
    bool timerEnabled_ = false;
    int interval_ = 1;
};

}  // namespace qv::gif
