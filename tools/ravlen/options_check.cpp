// Checks an options file line by line against the layout the front end writes.
#include "options_check.h"

#include <cstddef>

namespace ravlen {
namespace {

enum class Kind {
    Dashes,
    Banner,
    Comment,
    SaveDir,
    PcxDir,
    Res,
    FrameSkip,
    VSync,
    Intensity,
    Flag,
    SetInput,
    AnalogJoyRes,
    SetJoyThresh,
    RemapBut,
    SetKey
};

struct Slot {
    Kind kind;
    std::string_view keyword;  // first word of the line; empty for comments
    int n = 0;                 // player, joystick, button-map or layout number
    bool optional = false;
};

// The 35 lines in their order; only the seven flags may be left out.
constexpr Slot kLayout[] = {
    {Kind::Dashes, ""},
    {Kind::Banner, ""},
    {Kind::Dashes, ""},
    {Kind::SaveDir, "-savedir"},
    {Kind::PcxDir, "-pcxdir"},
    {Kind::Res, "-res"},
    {Kind::FrameSkip, "-frameskip"},
    {Kind::VSync, "-vsync"},
    {Kind::Intensity, "-intensity"},
    {Kind::Flag, "-novesa", 0, true},
    {Kind::Flag, "-linear", 0, true},
    {Kind::Flag, "-banked", 0, true},
    {Kind::Flag, "-exclusive", 0, true},
    {Kind::Flag, "-altkey", 0, true},
    {Kind::Flag, "-fpucopy", 0, true},
    {Kind::Flag, "-mmxcopy", 0, true},
    {Kind::Comment, ""},
    {Kind::SetInput, "-setinput", 1},
    {Kind::SetInput, "-setinput", 2},
    {Kind::SetInput, "-setinput", 3},
    {Kind::Comment, ""},
    {Kind::AnalogJoyRes, "-analogjoyres"},
    {Kind::SetJoyThresh, "-setjoythresh", 1},
    {Kind::SetJoyThresh, "-setjoythresh", 2},
    {Kind::Comment, ""},
    {Kind::RemapBut, "-remapbut", 0},
    {Kind::RemapBut, "-remapbut", 1},
    {Kind::RemapBut, "-remapbut", 2},
    {Kind::RemapBut, "-remapbut", 3},
    {Kind::RemapBut, "-remapbut", 4},
    {Kind::RemapBut, "-remapbut", 5},
    {Kind::RemapBut, "-remapbut", 6},
    {Kind::Comment, ""},
    {Kind::SetKey, "-setkey", 1},
    {Kind::SetKey, "-setkey", 2},
};

constexpr std::string_view kResolutions[] = {"320 200", "320 240", "384 224", "384 257", "400 300",
                                             "320 400", "320 480", "512 384", "640 350", "640 400",
                                             "640 480", "800 600", "1024 768"};
constexpr std::string_view kFrameSkips[] = {"AUTO", "1", "2", "3", "4", "5", "6", "7", "8"};
constexpr std::string_view kDevices[] = {"NONE",  "KEY1",    "KEY2",     "JOY1",
                                         "JOY2",  "4BUTTON", "6BUTTON",  "SIDEWINDER",
                                         "GRIP1", "GRIP2",   "SNESPAD1", "SNESPAD2"};
// The button-map devices in file order, each line's prefix 21 characters long.
constexpr std::string_view kRemapPrefixes[] = {"-remapbut       JOY1 ", "-remapbut       JOY2 ",
                                               "-remapbut    4BUTTON ", "-remapbut    6BUTTON ",
                                               "-remapbut      GRIP1 ", "-remapbut      GRIP2 ",
                                               "-remapbut SIDEWINDER "};
constexpr std::string_view kBannerLead = "Configuration for ";

template <std::size_t N>
bool OneOf(std::string_view text, const std::string_view (&set)[N]) {
    for (std::string_view s : set)
        if (s == text) return true;
    return false;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

// A decimal number from 0 to max, digits only.
bool Number(std::string_view text, long max, long* value = nullptr) {
    if (text.empty() || text.size() > 5) return false;
    long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > max) return false;
    if (value) *value = v;
    return true;
}

// Words from 'from' on: exactly count numbers from 0 to max, kept as one text.
std::string Numbers(const std::vector<std::string_view>& words, std::size_t from, std::size_t count,
                    long max, std::string& kept) {
    if (words.size() != from + count)
        return "needs " + std::to_string(count) + " numbers, has " +
               std::to_string(words.size() - from);
    kept.clear();
    for (std::size_t i = from; i < words.size(); ++i) {
        if (!Number(words[i], max))
            return "\"" + std::string(words[i]) + "\" is not a number from 0 to " +
                   std::to_string(max);
        if (!kept.empty()) kept += ' ';
        kept += words[i];
    }
    return "";
}

bool OnOff(const std::vector<std::string_view>& words, bool& value) {
    if (words.size() != 2 || (words[1] != "ON" && words[1] != "OFF")) return false;
    value = words[1] == "ON";
    return true;
}

// What is wrong with a line in its slot, or an empty text.
std::string CheckLine(const Slot& slot, std::string_view line, Options& o) {
    const std::vector<std::string_view> words = Words(line);
    switch (slot.kind) {
    case Kind::Dashes:
        if (line.size() < 2 || line.find_first_not_of('-', 1) != std::string_view::npos)
            return "not a line of dashes";
        return "";
    case Kind::Banner: {
        if (line.substr(0, 2) != "; " || line.size() == 2) return "not the banner \"; <text>\"";
        const std::size_t lead = line.find(kBannerLead);
        o.title =
            std::string(lead == std::string_view::npos ? line.substr(2)
                                                       : line.substr(lead + kBannerLead.size()));
        return "";
    }
    case Kind::Comment:
        return "";
    case Kind::SaveDir:
    case Kind::PcxDir: {
        const std::string_view folder = line.substr(slot.keyword.size());
        if (folder.size() < 2 || folder[0] != ' ' || words.size() < 2) return "no folder given";
        (slot.kind == Kind::SaveDir ? o.saveDir : o.pcxDir) = std::string(folder.substr(1));
        return "";
    }
    case Kind::Res: {
        if (words.size() != 3) return "needs a width and a height";
        const std::string size = std::string(words[1]) + " " + std::string(words[2]);
        if (!OneOf(size, kResolutions)) return "\"" + size + "\" is not one of the 13 resolutions";
        o.width = std::stoi(std::string(words[1]));
        o.height = std::stoi(std::string(words[2]));
        return "";
    }
    case Kind::FrameSkip:
        if (words.size() != 2 || !OneOf(words[1], kFrameSkips)) return "needs AUTO or 1 to 8";
        o.frameSkip = std::string(words[1]);
        return "";
    case Kind::VSync:
        return OnOff(words, o.vsync) ? "" : "needs ON or OFF";
    case Kind::Intensity:
        return OnOff(words, o.intensity) ? "" : "needs ON or OFF";
    case Kind::Flag:
        if (words.size() != 1) return "takes no value";
        o.flags.emplace_back(words[0]);
        return "";
    case Kind::SetInput:
        if (words.size() != 3 || words[1] != std::to_string(slot.n))
            return "needs player " + std::to_string(slot.n) + " and a device";
        if (!OneOf(words[2], kDevices))
            return "\"" + std::string(words[2]) + "\" is not a device code";
        o.devices[slot.n - 1] = std::string(words[2]);
        return "";
    case Kind::AnalogJoyRes:
        if (words.size() != 2 || !Number(words[1], 65535, &o.analogJoyRes))
            return "needs a number from 0 to 65535";
        return "";
    case Kind::SetJoyThresh:
        if (words.size() < 2 || words[1] != std::to_string(slot.n))
            return "needs joystick " + std::to_string(slot.n);
        return Numbers(words, 2, 4, 65535, o.thresholds[slot.n - 1]);
    case Kind::RemapBut: {
        const std::string_view prefix = kRemapPrefixes[slot.n];
        if (line.substr(0, prefix.size()) != prefix)
            return "does not start with \"" + std::string(prefix) + "\"";
        return Numbers(words, 2, 8, 255, o.buttonMaps[slot.n]);
    }
    case Kind::SetKey:
        if (words.size() < 2 || words[1] != "KEY" + std::to_string(slot.n))
            return "needs layout KEY" + std::to_string(slot.n);
        return Numbers(words, 2, 16, 255, o.keyLayouts[slot.n - 1]);
    }
    return "";
}

std::string Described(const Slot& slot) {
    if (slot.kind == Kind::Dashes) return "a line of dashes";
    if (slot.kind == Kind::Banner) return "the banner";
    if (slot.kind == Kind::Comment) return "a comment";
    return std::string(slot.keyword);
}

bool KnownSwitch(std::string_view word) {
    for (const Slot& slot : kLayout)
        if (!slot.keyword.empty() && slot.keyword == word) return true;
    return false;
}

// Splits at CR LF; anything else that breaks a line is an error.
std::string SplitLines(std::string_view text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(start, stop - start);
        const std::string where = "line " + std::to_string(lines.size() + 1) + ": ";
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return where + "a line break other than CR LF";
        if (line.find('\0') != std::string_view::npos) return where + "a NUL byte";
        if (end == std::string_view::npos) return where + "does not end with CR LF";
        if (line.empty()) return where + "blank line";
        lines.emplace_back(line);
        start = end + 2;
    }
    return "";
}

}  // namespace

CheckResult CheckOptionsFile(std::string_view text) {
    CheckResult result;
    Options& o = result.options;
    result.error = SplitLines(text, o.lines);
    if (!result.error.empty()) return result;

    std::size_t s = 0;
    for (std::size_t i = 0; i < o.lines.size(); ++i) {
        const std::string& line = o.lines[i];
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        const std::vector<std::string_view> words = Words(line);
        const std::string_view first = words.empty() ? std::string_view() : words[0];
        const bool comment = line[0] == ';';
        if (!comment && line[0] != '-') {
            result.error = where + "neither a comment nor a switch: \"" + line + "\"";
            return result;
        }
        if (!comment && !KnownSwitch(first)) {
            result.error = where + "unknown switch \"" + std::string(first) + "\"";
            return result;
        }
        // An optional flag that is absent is passed over.
        while (s < std::size(kLayout) && kLayout[s].optional &&
               (comment || first != kLayout[s].keyword))
            ++s;
        if (s == std::size(kLayout)) {
            result.error = where + "extra line after the last -setkey: \"" + line + "\"";
            return result;
        }
        const Slot& slot = kLayout[s];
        const bool wantComment = slot.keyword.empty();
        if (comment != wantComment || (!comment && first != slot.keyword)) {
            result.error = where + "expected " + Described(slot) + ", found \"" + line + "\"";
            return result;
        }
        const std::string wrong = CheckLine(slot, line, o);
        if (!wrong.empty()) {
            result.error = where +
                           std::string(slot.keyword.empty() ? Described(slot) : slot.keyword) +
                           ": " + wrong + ": \"" + line + "\"";
            return result;
        }
        ++s;
        // The dash lines frame the banner with one more character than it has.
        if (s == 3 && (o.lines[0] != o.lines[2] || o.lines[0].size() != o.lines[1].size() + 1)) {
            result.error = where + "the dash lines must be one character longer than the banner";
            return result;
        }
    }
    while (s < std::size(kLayout) && kLayout[s].optional)
        ++s;
    if (s < std::size(kLayout)) {
        result.error = "line " + std::to_string(o.lines.size() + 1) + ": the file ends where " +
                       Described(kLayout[s]) + " was expected";
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace ravlen
