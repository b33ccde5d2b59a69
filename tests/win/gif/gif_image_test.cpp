// TGIFImage on a real window under Wine: loading with its status codes, the
// animation on its real timer, and what it paints.
#include <gtest/gtest.h>

#include <fstream>

#include "../../native/gif/gif_test_files.h"
#include "gif/gif_image_win.h"
#include "ui/container_win.h"

namespace qv {
namespace {

using gif::test::Bytes;
using gif::test::DataFile;
using gif::test::GifBuilder;

class TestForm : public Container {
public:
    bool create() {
        return createWindow({.className = "QuarvelGifTestForm",
                             .style = WS_POPUP | WS_VISIBLE,
                             .left = 10,
                             .top = 10,
                             .width = 200,
                             .height = 150});
    }
};

constexpr COLORREF kBackground = RGB(0, 0, 255);

class GifImageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.create());
        form.setColor(kBackground);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "quarvel-gif-test";
        CreateDirectoryA(folder.c_str(), nullptr);
    }

    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = folder + "\\" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }

    // Handles messages (paints, timer ticks) for ms milliseconds or until done.
    template <typename Done>
    void pump(DWORD ms, Done done) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms && !done()) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(1);
        }
    }

    // The form's surface as painted now, read back pixel by pixel.
    class Surface {
    public:
        explicit Surface(const Container& form) {
            ScreenDc screen;
            dc_.reset(CreateCompatibleDC(screen.get()));
            bitmap_.reset(CreateCompatibleBitmap(screen.get(), 200, 150));
            SelectObject(dc_.get(), bitmap_.get());
            const RECT all{0, 0, 200, 150};
            form.paintSurface(dc_.get(), all);
        }
        COLORREF at(int x, int y) const { return GetPixel(dc_.get(), x, y); }

    private:
        OwnedDc dc_;
        OwnedBitmap bitmap_;
    };

    TestForm form;
    std::string folder;
};

// 4 x 2: red, green, red, green over blue, black, blue, black.
Bytes Checker() { return GifBuilder(4, 2).image(0, 0, 4, 2, {1, 2, 1, 2, 3, 0, 3, 0}).done(); }

TEST_F(GifImageTest, ANewControlIsEmptyAndStill) {
    TGIFImage image(form);
    EXPECT_EQ(image.width(), 105);
    EXPECT_EQ(image.height(), 105);
    EXPECT_FALSE(image.animate());
    EXPECT_FALSE(image.loop());
    EXPECT_EQ(image.speed(), 100);
    EXPECT_EQ(image.currentFrame(), 1);
    EXPECT_EQ(image.frameCount(), 0);
    EXPECT_TRUE(image.stream().empty());
    EXPECT_TRUE(image.visible());
    EXPECT_FALSE(image.animation().timerEnabled());
}

TEST_F(GifImageTest, FileNameSetsTheStatusOfTheRead) {
    auto& image = form.add<TGIFImage>(0, 0, 50, 50);
    const std::string good = write("good.gif", DataFile("loop3_delay0.gif"));
    EXPECT_TRUE(image.setFileName(good));
    EXPECT_EQ(static_cast<int>(image.status()), 0);
    EXPECT_EQ(image.frameCount(), 3);
    EXPECT_TRUE(image.stream().empty());

    // A missing file changes nothing else.
    EXPECT_FALSE(image.setFileName(folder + "\\missing.gif"));
    EXPECT_EQ(static_cast<int>(image.status()), 6);
    EXPECT_EQ(image.fileName(), good);
    EXPECT_EQ(image.frameCount(), 3);
    // So does a folder: there is no file of that name to read.
    EXPECT_FALSE(image.setFileName(folder));
    EXPECT_EQ(static_cast<int>(image.status()), 6);
    EXPECT_EQ(image.fileName(), good);
    EXPECT_EQ(image.frameCount(), 3);

    image.setCurrentFrame(4);
    EXPECT_EQ(static_cast<int>(image.status()), 4);
    EXPECT_EQ(image.currentFrame(), 1);
    image.setCurrentFrame(3);
    EXPECT_EQ(image.currentFrame(), 3);

    // No GIF: the name is kept, no frames are left, the stream is empty.
    const std::string text = write("text.gif", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(image.setFileName(text));
    EXPECT_EQ(static_cast<int>(image.status()), 2);
    EXPECT_EQ(image.fileName(), text);
    EXPECT_EQ(image.frameCount(), 0);
    EXPECT_TRUE(image.stream().empty());

    EXPECT_FALSE(image.setFileName(write("empty.gif", Bytes{})));
    EXPECT_EQ(static_cast<int>(image.status()), 1);
}

TEST_F(GifImageTest, AutoSizeGivesTheControlThePictureSize) {
    auto& image = form.add<TGIFImage>(5, 6, 50, 50);
    image.setFileName(write("disposal.gif", DataFile("disposal.gif")));
    EXPECT_EQ(image.width(), 50);
    image.setAutoSize(true);
    EXPECT_EQ(image.width(), 32);
    EXPECT_EQ(image.height(), 24);
    EXPECT_EQ(image.bounds().left, 5);
    image.setFileName(write("noise.gif", DataFile("noise256.gif")));
    EXPECT_EQ(image.width(), 96);
    EXPECT_EQ(image.height(), 64);
}

TEST_F(GifImageTest, TheRealTimerPlaysAFiniteAnimationThroughAndStops) {
    auto& image = form.add<TGIFImage>(0, 0, 24, 16);
    std::vector<int> changes;
    int changings = 0;
    image.OnChanging = [&](TGIFImage&) { ++changings; };
    image.OnChange = [&](TGIFImage& i) { changes.push_back(i.currentFrame()); };
    image.setAnimate(true);
    image.setFileName(write("loop3.gif", DataFile("loop3_delay0.gif")));
    pump(5000, [&] { return !image.animation().timerEnabled(); });
    EXPECT_FALSE(image.animation().timerEnabled());
    // Loading, the first tick, then three passes of three frames.
    EXPECT_EQ(changes.size(), 1u + 1 + 8);
    EXPECT_EQ(changings, int(changes.size()));
    EXPECT_EQ(image.animation().passes(), 4);
    EXPECT_EQ(image.animation().shownFrame(), 3);

    // Switched off, it goes back to frame 1.
    image.setAnimate(false);
    EXPECT_EQ(image.animation().shownFrame(), 1);
}

TEST_F(GifImageTest, PaintsAtTheTopLeftCentredStretchedOrTiled) {
    auto& image = form.add<TGIFImage>(10, 20, 12, 6);
    image.setFileName(write("checker.gif", Checker()));
    {
        const Surface s(form);
        EXPECT_EQ(s.at(10, 20), RGB(255, 0, 0));
        EXPECT_EQ(s.at(11, 20), RGB(0, 255, 0));
        EXPECT_EQ(s.at(10, 21), RGB(0, 0, 255));
        EXPECT_EQ(s.at(11, 21), RGB(0, 0, 0));
        EXPECT_EQ(s.at(14, 20), kBackground);  // right of the picture
        EXPECT_EQ(s.at(10, 22), kBackground);  // below it
    }
    image.setCenter(true);  // offset by (12 - 4) / 2, (6 - 2) / 2
    {
        const Surface s(form);
        EXPECT_EQ(s.at(14, 22), RGB(255, 0, 0));
        EXPECT_EQ(s.at(15, 23), RGB(0, 0, 0));
        EXPECT_EQ(s.at(10, 20), kBackground);
    }
    image.setCenter(false);
    image.setTile(true);
    {
        const Surface s(form);
        for (int x : {10, 14, 18})
            for (int y : {20, 22, 24}) {
                EXPECT_EQ(s.at(x, y), RGB(255, 0, 0)) << x << "," << y;
                EXPECT_EQ(s.at(x + 3, y + 1), RGB(0, 0, 0)) << x << "," << y;
            }
        EXPECT_EQ(s.at(22, 20), form.color());  // tiles stop at the control's edge
    }
    image.setStretch(true);  // three times as wide and high
    {
        const Surface s(form);
        EXPECT_EQ(s.at(12, 22), RGB(255, 0, 0));
        EXPECT_EQ(s.at(13, 22), RGB(0, 255, 0));
        EXPECT_EQ(s.at(21, 25), RGB(0, 0, 0));
        EXPECT_EQ(s.at(12, 23), RGB(0, 0, 255));
    }
    image.setVisible(false);
    EXPECT_EQ(Surface(form).at(10, 20), kBackground);
}

TEST_F(GifImageTest, FramesItEncodesReadBackThroughItsFileName) {
    auto& image = form.add<TGIFImage>(0, 0, 20, 20);
    const Pixmap red(3, 2, RgbPixel(255, 0, 0)), green(2, 2, RgbPixel(0, 255, 0));
    TFrameInfo first, second;
    first.bitmap = &red;
    first.delay = 100;
    second.bitmap = &green;
    second.left = 1;
    GifFrameList frames;
    frames.frameCount = 2;
    frames.loopCount = 3;
    frames.frames[0] = &first;
    frames.frames[1] = &second;
    std::vector<uint8_t> file;
    ASSERT_TRUE(image.SaveToStream(frames, file));
    EXPECT_EQ(static_cast<int>(image.status()), 0);
    EXPECT_TRUE(image.stream().empty());

    ASSERT_TRUE(image.setFileName(write("encoded.gif", file)));
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_EQ(image.animation().picture().loopCount, 3);
    EXPECT_EQ(image.animation().picture().frames[0].delayMs, 100);
    image.setCurrentFrame(2);
    EXPECT_EQ(image.animation().composition().image().pixels,
              (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x00FF00, 0xFF0000, 0x00FF00, 0x00FF00}));

    // 257 colours in one frame: refused with status 3 and an empty stream.
    Pixmap many(257, 1);
    for (int x = 0; x < 257; ++x)
        many.at(x, 0) = Pixel(x);
    TFrameInfo crowded;
    crowded.bitmap = &many;
    frames.frameCount = 1;
    frames.frames[0] = &crowded;
    file.clear();
    EXPECT_FALSE(image.SaveToStream(frames, file));
    EXPECT_EQ(static_cast<int>(image.status()), 3);
    EXPECT_TRUE(file.empty());
}

TEST_F(GifImageTest, ATransparentFirstFrameShowsWhatLiesBeneath) {
    auto& image = form.add<TGIFImage>(0, 0, 20, 20);
    // Colour 0 is transparent in the first frame.
    image.setFileName(
        write("clear.gif", GifBuilder(2, 1).control(1, 0, 0).image(0, 0, 2, 1, {0, 1}).done()));
    image.setStretch(true);
    const Surface s(form);
    EXPECT_EQ(s.at(2, 5), kBackground);
    EXPECT_EQ(s.at(15, 5), RGB(255, 0, 0));
}

}  // namespace
}  // namespace qv
