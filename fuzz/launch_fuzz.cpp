// Fuzz target: random schedules of launches and start-ups over an emulator
// folder held in memory, with several failures and deaths in one schedule,
// random kinds of launch and random changes to the folder. Whatever happens,
// no file's contents are lost, the emulator never runs on missing or wrong
// files, a launch that does not play says why, and an undisturbed start at
// the end puts every name back (or keeps the journal and says which name
// cannot come back).
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tests/shared/launch_cases.h"
#include "util/text.h"

namespace {

using qv::LaunchOutcome;
using qv::test::LaunchWorld;

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    bool done() const { return at_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

[[noreturn]] void Broken(const LaunchWorld& world, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", world.kind.name.c_str(), what.c_str());
    std::abort();
}

bool IsArchive(const std::string& name) { return qv::UpperText(name).ends_with(".ZIP"); }

// What the launch itself finds missing: the files it renames, unpacks or runs.
bool LaunchNeeds(const std::string& name) {
    const std::string upper = qv::UpperText(name);
    const std::size_t dot = upper.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : upper.substr(dot);
    return IsArchive(name) || upper.ends_with("RAVLEN.EXE") ||
           (upper.starts_with("SF2T\\") &&
            (extension == ".21" || extension == ".22" || extension == ".23"));
}

// Changes the user may have made to the folder: a name spelt in other
// capitals, a file the launch needs gone, a damaged archive, an unrelated file.
void ChangeFolder(LaunchWorld& world, std::uint8_t how, std::uint8_t which) {
    const std::string emu = qv::test::kEmu;
    const std::map<std::string, std::string> files = world.system.filesUnder(emu);
    auto it = files.begin();
    std::advance(it, which % files.size());
    const std::string path = emu + "\\" + it->first;
    switch (how % 4) {
    case 0: {
        std::string lower = it->first;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        world.system.deleteFile(path);
        world.system.addFile(emu + "\\" + lower, it->second);
        break;
    }
    case 1:
        if (LaunchNeeds(it->first)) world.system.deleteFile(path);
        break;
    case 2:
        // The last byte is the last entry's data: its CRC-32 no longer matches.
        if (IsArchive(it->first) && !it->second.empty())
            world.system.addFile(
                path, it->second.substr(0, it->second.size() - 1) + char(it->second.back() ^ 0x20));
        break;
    default:
        world.system.addFile(emu + "\\notes" + std::to_string(which) + ".txt", "unrelated");
        break;
    }
}

// Up to three failing operations and a death, for one process.
std::map<long, std::uint32_t> Failures(Bytes& in, long& crashAfter) {
    std::map<long, std::uint32_t> failing;
    const int count = in.next() % 4;
    for (int i = 0; i < count; ++i) {
        const long at = 1 + in.next() % 96;
        failing[at] = in.next();
    }
    const std::uint8_t crash = in.next();
    crashAfter = crash < 128 ? 0 : 1 + (crash - 128) % 96;
    return failing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    static const std::vector<qv::test::LaunchKind> kinds = qv::test::LaunchKinds();
    LaunchWorld world(kinds[in.next() % kinds.size()]);
    for (int changes = in.next() % 4; changes > 0; --changes) {
        const std::uint8_t how = in.next();
        ChangeFolder(world, how, in.next());
    }
    world.before = world.system.filesUnder(qv::test::kEmu);

    for (int phase = 0; phase < 6 && !in.done(); ++phase) {
        const bool launch = in.next() % 2 == 0;
        long crashAfter = 0;
        std::map<long, std::uint32_t> failing = Failures(in, crashAfter);
        const int runsBefore = world.runs;
        if (launch) {
            const std::optional<LaunchOutcome> outcome = world.launch(failing, crashAfter);
            if (outcome == LaunchOutcome::kPlayed && world.runs != runsBefore + 1)
                Broken(world, "told as played without a run");
            if (outcome && *outcome != LaunchOutcome::kPlayed && world.host.boxes.empty())
                Broken(world, "a launch that did not play said nothing");
        } else {
            world.nextStart(failing, crashAfter);
        }
        if (!world.badRuns.empty()) Broken(world, "the emulator ran with" + world.badRuns[0]);
        if (const std::optional<std::string> lost = world.contentsLost())
            Broken(world, "contents lost:" + *lost);
    }

    if (!world.nextStart()) Broken(world, "an undisturbed start died");
    if (world.journalKept()) {
        // Only a name that cannot come back keeps it, and that is said once.
        if (world.host.boxes.size() != 1 ||
            !world.host.boxes[0].second.starts_with("I CAN'T RENAME "))
            Broken(world, "the journal stays without its one message");
        if (world.brokenAfterStart() == " the journal is left;")
            Broken(world, "every name is back, yet the start says " + world.host.boxes[0].second);
        return 0;
    }
    if (!world.host.boxes.empty()) Broken(world, "the start said " + world.host.boxes[0].second);
    if (const std::optional<std::string> broken = world.brokenAfterStart())
        Broken(world, "after the start:" + *broken);
    return 0;
}
