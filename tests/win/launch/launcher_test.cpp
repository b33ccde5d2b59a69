// The launch driven through a host made for the test: the steps it shows, and
// the one-at-a-time rule that keeps click bursts from starting a second run.
#include <gtest/gtest.h>

#include "test_host_win.h"

namespace qv {
namespace {

using test::StoredZip;
using test::TestHost;

TEST(Launcher, AZippedVariantWithAZippedEmulatorShowsEveryStepAndRunsOnce) {
    TestHost host;
    host.zippedEmulator();
    host.write("sf2t.ZIP", StoredZip({{"SF2.21", "T21"}, {"SF2.22", "T22"}, {"SF2.23", "T23"}}));
    host.write("sf2ce.ZIP",
               StoredZip({{"Sf2Ce.21", "CE1"}, {"Sf2Ce.22", "CE2"}, {"Sf2Ce.23", "CE3"}}));
    host.current = {"SF2t", "RSF2 Sf2Ce", "ZIP", "sf2.*;sf2ce.*", "Street Fighter 2 CE"};
    Launcher launcher;
    // Whatever arrives while the launch handles messages, a second launch among it,
    // starts nothing.
    std::vector<bool> underWay;
    host.onStep = [&] {
        underWay.push_back(launcher.underWay());
        launcher.RunRavlen(host);
    };
    launcher.RunRavlen(host);

    const std::vector<std::string> expected = {"info: Street Fighter 2 CE",
                                               "Loading...",
                                               "shown",
                                               "Unzipping...",
                                               "Unzipping....",
                                               "Set Ravlen...",
                                               "Playing...",
                                               "running",
                                               "ended",
                                               "Cleaning...",
                                               "hidden",
                                               "run ended"};
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(underWay, std::vector<bool>(6, true));
    EXPECT_FALSE(launcher.underWay());
    EXPECT_EQ(host.runs(), 1u);
    EXPECT_NE(host.witness().find("rom SF2.21: 3 bytes, starts 43 45 31"), std::string::npos);
    EXPECT_FALSE(FolderExists(host.tempNames().tempFolder));

    // Once it has ended, the next launch runs.
    host.onStep = nullptr;
    launcher.RunRavlen(host);
    EXPECT_EQ(host.runs(), 2u);
}

}  // namespace
}  // namespace qv
