// The kinds of launch, each in an emulator folder held in memory, and what
// must hold after any of them however it was cut short: shared by the
// enumeration of every failure and crash and by the fuzz target.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "launch/launch_sequence.h"
#include "memory_launch_system.h"

namespace qv::test {

inline constexpr char kEmu[] = "C:\\Ravlen";
inline constexpr char kWindowsTemp[] = "C:\\windows\\TEMP\\";
inline constexpr char kSaves[] = "C:\\Saves";
inline constexpr char kSnapshots[] = "C:\\Pcx";

struct LaunchKind {
    std::string name;  // for a failing case's report
    CurrentGame game;
    std::string emulatorStorage;  // "DIR" or "ZIP"
};
// A folder game and a zipped one, and the three Street Fighter 2 variants kept
// as folders and as archives; each with Ravlen as a program and zipped.
std::vector<LaunchKind> LaunchKinds();

// A message box: its caption and text.
using Box = std::pair<std::string, std::string>;

// The window side of a launch: it records what the launch showed and did.
class MemoryHost final : public LaunchHost, public ProgressDisplay {
public:
    MemoryHost(const LaunchKind& kind);

    std::vector<std::string> events;  // states, messages and calls, in order
    std::vector<Box> boxes;

    const CurrentGame& game() const override { return kind_.game; }
    const Settings& settings() const override { return settings_; }
    const std::string& emulatorStorage() const override { return kind_.emulatorStorage; }
    const TempNames& tempNames() const override { return names_; }
    ProgressDisplay& wait() override { return *this; }
    void processMessages() override {}
    void showMessage(const std::string& text) override;
    void showArchiveMessage(const std::string& text, const std::string& caption) override;
    const std::string& commandInterpreter() const override { return interpreter_; }
    void setRunning(bool running) override { events.push_back(running ? "running" : "ended"); }
    void runEnded() override { events.push_back("run ended"); }

    void setInfo(const std::string& text) override { events.push_back("info: " + text); }
    void setState(const std::string& text) override { events.push_back(text); }
    void showNow() override { events.push_back("shown"); }
    void hide() override { events.push_back("hidden"); }

private:
    LaunchKind kind_;
    Settings settings_;
    TempNames names_;
    std::string interpreter_ = "C:\\windows\\system32\\cmd.exe";
};

// One kind's emulator folder with every file it needs (and a few it does not),
// and the emulator's run, which notes whether it found what it must.
class LaunchWorld {
public:
    explicit LaunchWorld(const LaunchKind& kind);

    // One launch in a new process; nothing when the process died in it.
    std::optional<LaunchOutcome> launch(std::map<long, std::uint32_t> failing = {},
                                        long crashAfter = 0);
    // The start-up steps of a new process: the journal's renames put back,
    // the temp files deleted. False when the process died in them.
    bool nextStart(std::map<long, std::uint32_t> failing = {}, long crashAfter = 0);

    // What broke, or nothing: every file of the emulator folder there under
    // its own name with its own content (Ravlen's own settings file excepted),
    // and the temp folder, the options file and the journal gone.
    std::optional<std::string> brokenAfterStart() const;
    // Nothing lost however names stand: the folder holds the same contents.
    std::optional<std::string> contentsLost() const;
    bool journalKept() const;

    LaunchKind kind;
    MemoryLaunchSystem system;
    MemoryHost host;
    Launcher launcher;
    int runs = 0;                               // runs of the emulator that started
    std::vector<std::string> badRuns;           // runs on missing or wrong files, and why
    std::map<std::string, std::string> before;  // the emulator folder before

private:
    void setUp();
    std::int32_t run(const std::string& folder);
    // What the emulator must find in its game folder, the program and the options.
    std::map<std::string, std::string> romsForRun_;
};

// What a launch whose operation k (of the log of a launch that nothing
// disturbs) fails must show, and whether the emulator then runs.
struct FailureExpectation {
    std::vector<Box> boxes;
    bool runs = false;
};
FailureExpectation ExpectedForFailure(const LaunchKind& kind, const std::vector<std::string>& log,
                                      long k);

}  // namespace qv::test
