// qvimage gif2frames: PAM frames checked against the reference decoders'
// composites, info.json against what the files hold, and the exit codes.
#include "gif2frames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../gif/gif_test_files.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using gif::test::Bytes;
using gif::test::DataFile;

class Gif2FramesTest : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("gif2frames-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    std::string input(const std::string& name, const Bytes& bytes) {
        const fs::path path = root / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }
    static std::string Text(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root;
};

TEST_F(Gif2FramesTest, FramesAreTheCompositesOfTheReferenceDecoders) {
    for (const std::string name : {"disposal", "loop0_delay50", "transparent_first"}) {
        const fs::path out = root / name;
        ASSERT_EQ(
            Gif2Frames(input(name + ".gif", DataFile(name + ".gif")).c_str(), out.string().c_str()),
            0);
        const Bytes ref = DataFile(name + ".ref");
        const int frames = ref[0], width = ref[4], height = ref[8];
        const size_t frameBytes = size_t(width) * height * 4;
        const std::string header = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " +
                                   std::to_string(height) +
                                   "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
        for (int k = 1; k <= frames; ++k) {
            char file[32];
            std::snprintf(file, sizeof file, "frame_%03d.pam", k);
            const std::string pam = Text(out / file);
            ASSERT_EQ(pam.size(), header.size() + frameBytes) << name << " " << file;
            ASSERT_EQ(pam.substr(0, header.size()), header);
            const uint8_t* want = ref.data() + 12 + (k - 1) * frameBytes;
            const auto* got = reinterpret_cast<const uint8_t*>(pam.data() + header.size());
            for (size_t i = 0; i < frameBytes; i += 4) {
                ASSERT_EQ(got[i + 3], want[i + 3]) << name << " " << file << " pixel " << i / 4;
                if (want[i + 3]) ASSERT_EQ(0, std::memcmp(got + i, want + i, 3));
            }
        }
        EXPECT_FALSE(fs::exists(out / ("frame_00" + std::to_string(frames + 1) + ".pam")));
    }
}

TEST_F(Gif2FramesTest, InfoTellsThePictureAndEveryFrame) {
    const fs::path out = root / "out";
    ASSERT_EQ(Gif2Frames(input("d.gif", DataFile("disposal.gif")).c_str(), out.string().c_str()),
              0);
    const std::string info = Text(out / "info.json");
    EXPECT_NE(info.find("\"status\": 0,"), std::string::npos) << info;
    EXPECT_NE(info.find("\"frame_count\": 6,"), std::string::npos);
    EXPECT_NE(info.find("\"width\": 32,"), std::string::npos);
    EXPECT_NE(info.find("\"height\": 24,"), std::string::npos);
    EXPECT_NE(info.find("\"loop_count\": 0,"), std::string::npos);
    EXPECT_NE(info.find("{\"left\": 0, \"top\": 0, \"width\": 32, \"height\": 24, \"disposal\": 0, "
                        "\"delay_ms\": 50, \"transparent\": false, \"transparent_index\": null, "
                        "\"interlaced\": false, \"local_table\": false}"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("{\"left\": 12, \"top\": 4, \"width\": 8, \"height\": 8, \"disposal\": 3, "
                        "\"delay_ms\": 50, \"transparent\": true, \"transparent_index\": 0, "),
              std::string::npos)
        << info;

    // 300 images: the first 256 are written.
    const fs::path many = root / "many";
    ASSERT_EQ(Gif2Frames(input("m.gif", DataFile("frames300.gif")).c_str(), many.string().c_str()),
              0);
    EXPECT_TRUE(fs::exists(many / "frame_256.pam"));
    EXPECT_FALSE(fs::exists(many / "frame_257.pam"));
    EXPECT_NE(Text(many / "info.json").find("\"frame_count\": 256,"), std::string::npos);
}

TEST_F(Gif2FramesTest, AGifWithoutFramesIsReadAndNoGifWritesNothing) {
    const fs::path bare = root / "bare";
    EXPECT_EQ(
        Gif2Frames(
            input("bare.gif", {'G', 'I', 'F', '8', '9', 'a', 5, 0, 3, 0, 0, 0, 0, 0x3B}).c_str(),
            bare.string().c_str()),
        0);
    EXPECT_EQ(Text(bare / "info.json"),
              "{\n  \"status\": 0,\n  \"frame_count\": 0,\n  \"width\": 5,\n  \"height\": 3,\n"
              "  \"loop_count\": 1,\n  \"frames\": []\n}\n");

    const fs::path none = root / "none";
    EXPECT_EQ(Gif2Frames(input("text.gif", {'t', 'e', 'x', 't'}).c_str(), none.string().c_str()),
              1);
    EXPECT_EQ(Gif2Frames(input("empty.gif", {}).c_str(), none.string().c_str()), 1);
    EXPECT_EQ(Gif2Frames((root / "missing.gif").string().c_str(), none.string().c_str()), 1);
    EXPECT_FALSE(fs::exists(none));
}

}  // namespace
}  // namespace qv
