// qvimage: converts snapshots and pictures from the command line with the
// program's own PCX reader and GIF writer, through the same bitmaps as the
// viewer, and takes GIF files apart with the GIF control's reader.
// Exit codes: 0 done, 1 an input refused or an output not written (no
// output file is left behind), 2 a usage error.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gif/save_gif_win.h"
#include "gif2frames.h"
#include "ppm.h"
#include "util/files_win.h"
#include "util/pixmap_win.h"
#include "util/whole_file.h"
#include "util/text.h"
#include "viewer/load_pcx_win.h"
#include "viewer/snapshot_gif_win.h"

namespace {

using Args = std::vector<std::string>;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Fail(int code, const std::string& why) {
    std::fprintf(stderr, "qvimage: %s\n", why.c_str());
    return code;
}

// Writes the whole file or removes what was written.
bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& data) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out && out.write(reinterpret_cast<const char*>(data.data()), data.size()) &&
            out.flush()) {
            return true;
        }
    }
    DeleteFileA(path.c_str());
    return false;
}

int Pcx2Ppm(const Args& args) {
    if (args.size() != 2) return -1;
    qv::OwnedBitmap bitmap;
    std::string why;
    if (!qv::LoadPcx(bitmap, args[0], &why)) return Fail(kFailed, args[0] + ": " + why);
    const std::optional<qv::Pixmap> picture = qv::PixmapFromBitmap(bitmap.get());
    if (!picture) return Fail(kFailed, args[0] + ": the picture's pixels cannot be read");
    if (!WriteWhole(args[1], qvimage::EncodePpm(*picture))) {
        return Fail(kFailed, args[1] + ": cannot be written");
    }
    return kDone;
}

// Runs a save; a refused picture or a file that cannot be written is kFailed.
int Saved(const std::string& input, const std::function<bool()>& save) {
    try {
        if (!save())
            return Fail(kFailed, input + ": more than 256 colours, or pixels that cannot be read");
    } catch (const qv::EFCreateError& error) {
        return Fail(kFailed, error.what());
    }
    return kDone;
}

struct GifOptions {
    bool interlaced = false;
    bool transparent = false;
    COLORREF transparentColour = 0;
    std::string comment;
};

bool ParseColour(const std::string& text, COLORREF& colour) {
    if (qv::WordCount(text, ',') != 3 || text.front() == ',' || text.back() == ',' ||
        text.find(",,") != std::string::npos) {
        return false;
    }
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const std::string part = qv::WordAt(text, ',', i + 1);
        if (part.empty() || part.size() > 3 ||
            part.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        parts[i] = std::stoi(part);
        if (parts[i] > 255) return false;
    }
    colour = RGB(parts[0], parts[1], parts[2]);
    return true;
}

int Ppm2Gif(const Args& args) {
    if (args.size() < 2) return -1;
    GifOptions options;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--interlaced") {
            options.interlaced = true;
        } else if (args[i] == "--transparent" && i + 1 < args.size()) {
            options.transparent = true;
            if (!ParseColour(args[++i], options.transparentColour)) return -1;
        } else if (args[i] == "--comment" && i + 1 < args.size()) {
            options.comment = args[++i];
        } else {
            return -1;
        }
    }
    std::vector<std::uint8_t> file;
    if (qv::ReadWholeFile(args[0], qv::kMaxPictureFileSize, file) != qv::ReadOutcome::kRead)
        return Fail(kFailed, args[0] + ": cannot be read");
    std::string why;
    const std::optional<qv::Pixmap> picture = qvimage::DecodePpm(file, why);
    if (!picture) return Fail(kFailed, args[0] + ": " + why);
    const qv::OwnedBitmap bitmap = qv::BitmapFromPixmap(*picture);
    if (!bitmap) return Fail(kFailed, args[0] + ": no bitmap for the picture");
    return Saved(args[0], [&] {
        return qv::SaveBitmapAsGif(bitmap.get(), args[1], options.interlaced, options.transparent,
                                   options.transparentColour, options.comment);
    });
}

// The file's name without its folder and extension.
std::string BareName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

int Pcx2Gif(const Args& args) {
    if (args.size() < 2) return -1;
    const std::string folder = args.back();
    int result = kDone;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& input = args[i];
        qv::OwnedBitmap bitmap;
        std::string why;
        if (!qv::LoadPcx(bitmap, input, &why)) {
            result = Fail(kFailed, input + ": " + why + "; skipped");
            continue;
        }
        const std::string output = qv::JoinPath(folder, BareName(input) + ".gif", false);
        const int saved = Saved(input, [&] { return qv::SaveSnapshotGif(bitmap.get(), output); });
        if (saved != kDone) result = saved;
    }
    return result;
}

int Gif2Frames(const Args& args) {
    if (args.size() != 2) return -1;
    if (qv::Gif2Frames(args[0].c_str(), args[1].c_str()) == kDone) return kDone;
    return Fail(kFailed, args[0] + ": no GIF file, or it cannot be read; nothing written");
}

struct Command {
    const char* name;
    const char* arguments;
    int (*run)(const Args& args);  // -1: the arguments do not fit
};

constexpr Command kCommands[] = {
    {"pcx2ppm", "IN.pcx OUT.ppm", Pcx2Ppm},
    {"ppm2gif", "IN.ppm OUT.gif [--interlaced] [--transparent R,G,B] [--comment TEXT]", Ppm2Gif},
    {"pcx2gif", "IN.pcx... OUTDIR", Pcx2Gif},
    {"gif2frames", "IN.gif OUTDIR", Gif2Frames},
};

int Usage(const std::string& why) {
    std::string text = why + "; usage:";
    const char* separator = " ";
    for (const Command& command : kCommands) {
        text += separator + std::string("qvimage ") + command.name + " " + command.arguments;
        separator = " | ";
    }
    return Fail(kUsage, text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("no command");
    const std::string name = argv[1];
    const Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (name != command.name) continue;
        const int result = command.run(args);
        return result < 0 ? Usage("wrong arguments for " + name) : result;
    }
    return Usage("unknown command " + name);
}
