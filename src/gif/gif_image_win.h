// TGIFImage: the windowless control that shows a GIF file, animated.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gif/gif_animation.h"
#include "gif/gif_encoder.h"
#include "ui/controls_win.h"
#include "ui/thread_timer_win.h"

namespace qv {

class TGIFImage : public GraphicControl, private gif::AnimationHost {
public:
    using Notify = std::function<void(TGIFImage&)>;
    static constexpr int kNewSize = 105;  // a new control is 105 x 105

    explicit TGIFImage(Container& owner);

    // Loads the file. A missing file sets status 6 and changes nothing;
    // a file that is empty or no GIF leaves no frames and gives false,
    // silently; the name is kept in either case.
    bool setFileName(const std::string& name);
    const std::string& fileName() const { return fileName_; }

    // The frame on show (1-based); while animating, the next frame to draw.
    // A number outside 1 to the frame count sets status 4.
    int currentFrame() const { return animation_.currentFrame(); }
    void setCurrentFrame(int number);
    int frameCount() const { return animation_.frameCount(); }

    bool animate() const { return animation_.animate(); }
    void setAnimate(bool on) { animation_.setAnimate(on); }
    int speed() const { return animation_.speed(); }
    void setSpeed(int percent) { animation_.setSpeed(percent); }
    bool loop() const { return animation_.loop(); }
    void setLoop(bool on) { animation_.setLoop(on); }

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool center() const { return center_; }
    void setCenter(bool on) { setLook(center_, on); }
    bool stretch() const { return stretch_; }
    void setStretch(bool on) { setLook(stretch_, on); }
    bool tile() const { return tile_; }
    void setTile(bool on) { setLook(tile_, on); }

    // The encoder side: the frames as a GIF stream in this control's memory
    // stream, with the encoder's status (3 too many colours, 5 no pixels).
    bool EncodeGif(const GifFrameList& frames);
    // EncodeGif, then the stream is appended to destination (status 0); the
    // memory stream is emptied afterwards in every case.
    bool SaveToStream(const GifFrameList& frames, std::vector<uint8_t>& destination);

    // The status of the last operation.
    GifStatus status() const { return status_; }
    const std::vector<uint8_t>& stream() const { return stream_; }
    const gif::GifAnimation& animation() const { return animation_; }

    Notify OnChanging;
    Notify OnChange;

    void paint(HDC dc) const override;

private:
    // AnimationHost
    void startTimer(int intervalMs) override { timer_.start(unsigned(intervalMs)); }
    void stopTimer() override { timer_.stop(); }
    void repaint() override { invalidate(); }
    bool repaintPending() const override;
    void changing() override {
        if (OnChanging) OnChanging(*this);
    }
    void changed() override {
        if (OnChange) OnChange(*this);
    }

    void setLook(bool& flag, bool on);
    void fitToPicture();
    // Where the picture goes: one rectangle, or many when tiled.
    std::vector<RECT> placements() const;

    gif::GifAnimation animation_{*this};
    ThreadTimer timer_{[this] { animation_.tick(); }};
    std::vector<uint8_t> stream_;  // the file while it is read
    std::string fileName_;
    GifStatus status_ = GifStatus::kDone;
    bool autoSize_ = false;
    bool center_ = false;
    bool stretch_ = false;
    bool tile_ = false;
};

}  // namespace qv
