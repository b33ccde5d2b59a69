// qvimage gif2frames: the control's reader and composition, written out.
#include "gif2frames.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gif/gif_animation.h"
#include "util/whole_file.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The composition as RGBA: alpha 0 where the mask leaves the pixel transparent.
bool WritePam(const fs::path& path, const gif::Composition& c) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << c.width() << "\nHEIGHT " << c.height()
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<char> rgba;
    rgba.reserve(c.image().pixels.size() * 4);
    for (size_t i = 0; i < c.image().pixels.size(); ++i) {
        const uint32_t p = c.image().pixels[i];
        const bool clear = c.hasMask() && c.mask()[i];
        rgba.insert(rgba.end(), {char(p >> 16), char(p >> 8), char(p), char(clear ? 0 : 255)});
    }
    out.write(rgba.data(), std::streamsize(rgba.size()));
    return bool(out);
}

std::string FrameJson(const gif::Frame& f) {
    char text[400];
    const std::string index = f.transparent ? std::to_string(f.transparentIndex) : "null";
    std::snprintf(text, sizeof text,
                  "{\"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d, \"disposal\": %d, "
                  "\"delay_ms\": %d, \"transparent\": %s, \"transparent_index\": %s, "
                  "\"interlaced\": %s, \"local_table\": %s}",
                  f.left, f.top, f.width, f.height, f.disposal, f.delayMs,
                  f.transparent ? "true" : "false", index.c_str(), f.interlaced ? "true" : "false",
                  f.localTable ? "true" : "false");
    return text;
}

bool WriteInfo(const fs::path& path, int status, const gif::Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "{\n  \"status\": " << status << ",\n  \"frame_count\": " << picture.frames.size()
        << ",\n  \"width\": " << picture.width << ",\n  \"height\": " << picture.height
        << ",\n  \"loop_count\": " << picture.loopCount << ",\n  \"frames\": [";
    for (size_t k = 0; k < picture.frames.size(); ++k)
        out << (k ? ",\n    " : "\n    ") << FrameJson(picture.frames[k]);
    out << (picture.frames.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return bool(out);
}

}  // namespace

int Gif2Frames(const char* in, const char* outdir) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(in, kMaxPictureFileSize, bytes) != ReadOutcome::kRead) return 1;

    gif::NoDisplayHost host;
    gif::GifAnimation animation(host);
    const GifStatus status = animation.load(bytes);
    if (status != GifStatus::kDone) return 1;

    std::error_code error;
    const fs::path folder(outdir);
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder)) return 1;
    for (int k = 1; k <= animation.frameCount(); ++k) {
        animation.setCurrentFrame(k);  // disposes the frame before, draws this one
        char name[32];
        std::snprintf(name, sizeof name, "frame_%03d.pam", k);
        if (!WritePam(folder / name, animation.composition())) return 1;
    }
    return WriteInfo(folder / "info.json", static_cast<int>(status), animation.picture()) ? 0 : 1;
}

}  // namespace qv
