// A launch host made for tests: an emulator folder of its own with real files,
// the real process runner and command interpreter, and a record of everything
// the launch told it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../../shared/stored_zip.h"
#include "../components/child_programs_win.h"
#include "launch/launch_win.h"
#include "util/files_win.h"
#include "util/system_win.h"
#include "../pump_win.h"

namespace qv::test {

class TestHost final : public LaunchHost, public ProgressDisplay {
public:
    explicit TestHost(const char* folderStem = "qv-host")
        : emu(NewScratchFolder(folderStem)),
          settings_(DefaultSettings(emu + "\\", true)),
          names_(MakeTempNames(WindowsTempDir())),
          interpreter_(CommandInterpreter()) {
        SetEnvironmentVariableA("RAVLEN_STANDIN_NO_WINDOW", "1");
        settings_.L_CAL = emu;
        settings_.L_SF = emu + "\\Saves";
        settings_.L_PF = emu + "\\Pcx";
        runner_.SetWait(true);
    }
    ~TestHost() { DeleteTree(emu); }

    // The emulator folder's contents.
    void write(const std::string& name, const std::string& data) {
        WriteText(emu + "\\" + name, data);
    }
    std::string read(const std::string& name) const { return ReadText(emu + "\\" + name); }
    void unzippedEmulator() {
        CopyFileA(RavlenExe().c_str(), (emu + "\\ravlen.exe").c_str(), FALSE);
        storage_ = "DIR";
    }
    void zippedEmulator() {
        write("Rvl023.zip", StoredZip({{"ravlen.exe", ReadText(RavlenExe())}}));
        storage_ = "ZIP";
    }
    void gameFolder(const std::string& id, const Files& files) {
        CreateDirectoryA((emu + "\\" + id).c_str(), nullptr);
        for (const auto& [name, data] : files)
            write(id + "\\" + name, data);
    }
    // The stand-in's account of its last run; empty when it did not run.
    // What runs the command interpreter, as the launch set it up last.
    TAppExec& processRunner() { return runner_; }
    std::string witness() const { return read("Saves\\ravlen-witness.txt"); }
    std::size_t runs() const { return ListFiles(emu + "\\Pcx", "Snap*.Pcx", "AHR").size(); }

    CurrentGame current;
    std::string emu;
    std::vector<std::string> events;  // states, messages and calls, in order
    std::function<void()> onStep;     // runs at every state the launch shows

    // LaunchHost
    const CurrentGame& game() const override { return current; }
    const Settings& settings() const override { return settings_; }
    const std::string& emulatorStorage() const override { return storage_; }
    const TempNames& tempNames() const override { return names_; }
    ProgressDisplay& wait() override { return *this; }
    void processMessages() override { ProcessMessages(); }
    void showMessage(const std::string& text) override { events.push_back("message: " + text); }
    void showArchiveMessage(const std::string& text, const std::string& caption) override {
        events.push_back("archive: " + caption + " " + text);
    }
    const std::string& commandInterpreter() const override { return interpreter_; }
    void setRunning(bool running) override { events.push_back(running ? "running" : "ended"); }
    void runEnded() override { events.push_back("run ended"); }

    // ProgressDisplay
    void setInfo(const std::string& text) override { events.push_back("info: " + text); }
    void setState(const std::string& text) override {
        events.push_back(text);
        if (onStep) onStep();
    }
    void showNow() override { events.push_back("shown"); }
    void hide() override { events.push_back("hidden"); }

private:
    Settings settings_;
    TempNames names_;
    std::string storage_ = "DIR";
    std::string interpreter_;
    TAppExec runner_;

public:
    // The real file system, with plenty of free space.
    WinLaunchSystem system{runner_, [] { return std::optional<std::uint64_t>(1u << 30); }};
};

}  // namespace qv::test
