// The animation of the GIF control, driven by a test clock through its tick.
#include <gtest/gtest.h>

#include "gif/gif_animation.h"
#include "gif_test_files.h"

namespace qv::gif {
namespace {

using test::Bytes;
using test::DataFile;
using test::GifBuilder;

// A timer on a clock of our own: advancing the clock fires the ticks that
// fall due, and records each frame shown and each event.
class ClockHost : public AnimationHost {
public:
    GifAnimation animation{*this};
    std::vector<int> shown;  // frame on show after each repaint
    std::vector<int> intervals;
    int changings = 0, changes = 0;
    bool pending = false;

    void startTimer(int ms) override {
        running_ = true;
        due_ = now_ + ms;
        intervals.push_back(ms);
    }
    void stopTimer() override { running_ = false; }
    void repaint() override { shown.push_back(animation.shownFrame()); }
    bool repaintPending() const override { return pending; }
    void changing() override { ++changings; }
    void changed() override { ++changes; }

    // Runs the clock for ms milliseconds (or until the timer stops).
    void run(int64_t ms) {
        const int64_t end = now_ + ms;
        while (running_ && due_ <= end) {
            now_ = due_;
            due_ = now_ + animation.timerInterval();  // a timer repeats
            animation.tick();
        }
        if (end > now_) now_ = end;
    }
    bool running() const { return running_; }
    int64_t now() const { return now_; }

private:
    bool running_ = false;
    int64_t now_ = 0, due_ = 0;
};

// Three frames of 1 x 1 (red, green, blue) with the given loop count (none
// when negative), delay and disposal.
Bytes ThreeFrames(int loopCount, int delay = 10, int disposal = 1) {
    GifBuilder b(1, 1);
    if (loopCount >= 0) b.loop(loopCount);
    for (uint8_t c = 1; c <= 3; ++c)
        b.control(disposal, delay).image(0, 0, 1, 1, {c});
    return b.done();
}

TEST(GifAnimation, LoadingShowsFrameOneAndArmsAOneMillisecondTimer) {
    ClockHost host;
    host.animation.setAnimate(true);
    ASSERT_EQ(host.animation.load(ThreeFrames(0)), GifStatus::kDone);
    EXPECT_EQ(host.shown, (std::vector<int>{1}));
    EXPECT_EQ(host.changings, 1);
    EXPECT_EQ(host.changes, 1);
    EXPECT_TRUE(host.animation.timerEnabled());
    EXPECT_EQ(host.animation.timerInterval(), 1);
    // The first tick redraws nothing and waits frame 1's delay.
    host.run(1);
    EXPECT_EQ(host.shown, (std::vector<int>{1}));
    EXPECT_EQ(host.animation.currentFrame(), 2);
    EXPECT_EQ(host.animation.timerInterval(), 100);
}

TEST(GifAnimation, WithoutALoopBlockPlaysOnceAndStopsOnTheLastFrame) {
    ClockHost host;
    host.animation.setAnimate(true);
    host.animation.load(ThreeFrames(-1));
    host.run(10000);
    EXPECT_EQ(host.shown, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(host.running());
    EXPECT_EQ(host.animation.currentFrame(), 3);
    EXPECT_EQ(host.animation.shownFrame(), 3);

    // Loop switched on after the end starts again from frame 1, for ever.
    host.animation.setLoop(true);
    host.run(10000);
    EXPECT_TRUE(host.running());
    EXPECT_EQ(std::vector<int>(host.shown.begin() + 3, host.shown.begin() + 7),
              (std::vector<int>{1, 2, 3, 1}));
    EXPECT_GT(host.shown.size(), 90u);
}

TEST(GifAnimation, LoopCountGivesThatManyPassesAndZeroPlaysForEver) {
    ClockHost three;
    three.animation.setAnimate(true);
    three.animation.load(ThreeFrames(3));
    three.run(100000);
    EXPECT_EQ(three.shown, (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3}));
    EXPECT_FALSE(three.running());
    EXPECT_EQ(three.animation.passes(), 4);

    ClockHost forever;
    forever.animation.setAnimate(true);
    forever.animation.load(ThreeFrames(0));
    forever.run(100000);
    EXPECT_TRUE(forever.running());
    EXPECT_GT(forever.shown.size(), 900u);

    // Loop overrides a finite count.
    ClockHost looped;
    looped.animation.setLoop(true);
    looped.animation.setAnimate(true);
    looped.animation.load(ThreeFrames(3));
    looped.run(100000);
    EXPECT_TRUE(looped.running());
}

TEST(GifAnimation, IntervalIsTheDelayScaledBySpeedAndAtLeastOneMillisecond) {
    ClockHost zero;
    zero.animation.setAnimate(true);
    zero.animation.load(ThreeFrames(0, 0));
    zero.run(10);
    EXPECT_EQ(zero.intervals, (std::vector<int>{1}));  // delay 0: 1 ms, never restarted
    EXPECT_EQ(zero.shown.size(), 10u);

    ClockHost fast;
    fast.animation.setSpeed(200);
    fast.animation.setAnimate(true);
    fast.animation.load(DataFile("loop0_delay50.gif"));
    fast.run(1);
    EXPECT_EQ(fast.animation.timerInterval(), 250);
    fast.run(250);
    EXPECT_EQ(fast.shown, (std::vector<int>{1, 2}));

    // A new speed takes effect at once: the next tick comes after 1 ms.
    fast.animation.setSpeed(0);
    EXPECT_EQ(fast.animation.speed(), 1);
    EXPECT_EQ(fast.animation.timerInterval(), 1);
    fast.run(1);
    EXPECT_EQ(fast.animation.timerInterval(), 50000);
}

TEST(GifAnimation, TicksWaitForAPendingRepaintAndForAPicture) {
    ClockHost host;
    host.animation.setAnimate(true);
    host.animation.tick();  // nothing loaded
    EXPECT_EQ(host.changings, 0);
    host.animation.load(ThreeFrames(0));
    host.pending = true;
    host.run(1000);
    EXPECT_EQ(host.shown, (std::vector<int>{1}));
    EXPECT_EQ(host.animation.currentFrame(), 1);
    host.pending = false;
    host.run(101);
    EXPECT_EQ(host.shown, (std::vector<int>{1, 2}));
}

TEST(GifAnimation, TimerRunsOnlyWhileAnimatingSeveralFrames) {
    ClockHost single;
    single.animation.setAnimate(true);
    single.animation.load(GifBuilder(1, 1).image(0, 0, 1, 1, {1}).done());
    EXPECT_FALSE(single.animation.timerEnabled());

    ClockHost still;
    still.animation.load(ThreeFrames(0));
    EXPECT_FALSE(still.animation.timerEnabled());
    still.animation.setAnimate(true);
    EXPECT_TRUE(still.animation.timerEnabled());
    EXPECT_EQ(still.animation.timerInterval(), 100);

    // Switching off on a later frame goes back to frame 1.
    still.run(250);
    EXPECT_EQ(still.animation.shownFrame(), 2);
    still.animation.setAnimate(false);
    EXPECT_FALSE(still.animation.timerEnabled());
    EXPECT_EQ(still.animation.currentFrame(), 1);
    EXPECT_EQ(still.shown.back(), 1);
    EXPECT_EQ(still.animation.composition().image().pixels[0], 0xFF0000u);

    // Switching off while frame 1 is on show (the next to draw being 2)
    // makes frame 1 current as well.
    still.animation.setAnimate(true);
    still.run(100);
    ASSERT_EQ(still.animation.currentFrame(), 2);
    still.animation.setAnimate(false);
    EXPECT_EQ(still.animation.currentFrame(), 1);
    EXPECT_EQ(still.animation.shownFrame(), 1);
}

TEST(GifAnimation, SettingTheCurrentFrameDrawsItWithEvents) {
    ClockHost host;
    host.animation.load(ThreeFrames(0, 10, 2));
    host.changings = host.changes = 0;
    EXPECT_TRUE(host.animation.setCurrentFrame(1));  // the same: nothing happens
    EXPECT_EQ(host.changings + host.changes, 0);
    EXPECT_FALSE(host.animation.setCurrentFrame(0));
    EXPECT_FALSE(host.animation.setCurrentFrame(4));
    EXPECT_EQ(host.animation.currentFrame(), 1);
    EXPECT_TRUE(host.animation.setCurrentFrame(3));
    EXPECT_EQ(host.changings, 1);
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(host.animation.composition().image().pixels[0], 0x0000FFu);
    EXPECT_EQ(host.shown.back(), 3);

    ClockHost empty;
    EXPECT_FALSE(empty.animation.setCurrentFrame(1 + 1));
}

TEST(GifAnimation, DisposalFiveClearsLikeTwoBetweenFrames) {
    // Frame 1 covers the 2 x 1 picture; frame 2 (disposal 5) draws its right
    // pixel; frame 3 is transparent all over, so what shows is what frame
    // 2's disposal left: black and transparent on the right.
    ClockHost host;
    host.animation.setAnimate(true);
    host.animation.load(GifBuilder(2, 1)
                            .loop(0)
                            .control(1, 1)
                            .image(0, 0, 2, 1, {1, 1})
                            .control(5, 1)
                            .image(1, 0, 1, 1, {2})
                            .control(1, 1, 3)
                            .image(0, 0, 2, 1, {3, 3})
                            .done());
    host.run(21);
    ASSERT_EQ(host.animation.shownFrame(), 3);
    const auto& c = host.animation.composition();
    EXPECT_EQ(c.image().pixels, (std::vector<uint32_t>{0xFF0000, 0}));
    EXPECT_EQ(c.mask(), (std::vector<uint8_t>{0, 1}));
}

TEST(GifAnimation, ANewFileStopsTheOldAnimationAndNoGifLeavesNothing) {
    ClockHost host;
    host.animation.setAnimate(true);
    host.animation.load(ThreeFrames(0));
    host.run(150);
    EXPECT_EQ(host.animation.load(Bytes{'n', 'o'}), GifStatus::kReading);
    EXPECT_FALSE(host.animation.loaded());
    EXPECT_FALSE(host.animation.timerEnabled());
    EXPECT_EQ(host.animation.load(Bytes{}), GifStatus::kEmpty);
    EXPECT_EQ(host.animation.currentFrame(), 1);
}

}  // namespace
}  // namespace qv::gif
