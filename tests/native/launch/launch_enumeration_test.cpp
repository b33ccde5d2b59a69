// Every kind of launch, with each of its operations made to fail in turn, and
// the program stopped dead after each of them (and again after each operation
// of the next start's put-back): every name and every byte of the emulator
// folder comes back, the messages are the step's own, and the emulator never
// runs on what is missing or cut short.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "../../shared/launch_cases.h"

namespace qv {
namespace {

using test::ExpectedForFailure;
using test::LaunchKind;
using test::LaunchWorld;

class LaunchEnumeration : public ::testing::TestWithParam<LaunchKind> {};

// After the start that follows a case: nothing told, everything back.
void ExpectPutRight(LaunchWorld& world, const std::string& where) {
    EXPECT_TRUE(world.host.boxes.empty())
        << where << ": the next start said " << world.host.boxes.front().second;
    const std::optional<std::string> broken = world.brokenAfterStart();
    EXPECT_FALSE(broken) << where << ":" << broken.value_or("");
    EXPECT_TRUE(world.badRuns.empty()) << where << ": the emulator ran with" << world.badRuns[0];
}

TEST_P(LaunchEnumeration, EveryFailureAndEveryCrashIsPutRight) {
    const LaunchKind& kind = GetParam();
    LaunchWorld undisturbed(kind);
    ASSERT_EQ(undisturbed.launch(), LaunchOutcome::kPlayed) << kind.name;
    ASSERT_TRUE(undisturbed.host.boxes.empty()) << undisturbed.host.boxes[0].second;
    const std::vector<std::string> log = undisturbed.system.log();
    const long n = undisturbed.system.operations();
    ASSERT_TRUE(undisturbed.nextStart());
    ExpectPutRight(undisturbed, kind.name + ", undisturbed");

    long cases = 0;
    for (long k = 1; k <= n; ++k) {
        const std::string at = kind.name + ", operation " + std::to_string(k) + " (" +
                               log[static_cast<std::size_t>(k - 1)] + ")";
        {
            LaunchWorld world(kind);
            const std::optional<LaunchOutcome> outcome = world.launch({{k, 0}});
            const test::FailureExpectation expected = ExpectedForFailure(kind, log, k);
            const std::string where = at + " fails";
            EXPECT_EQ(world.host.boxes, expected.boxes) << where;
            EXPECT_EQ(world.runs, expected.runs ? 1 : 0) << where;
            EXPECT_EQ(outcome == LaunchOutcome::kPlayed, expected.runs) << where;
            EXPECT_TRUE(world.contentsLost() == std::nullopt) << where << *world.contentsLost();
            ASSERT_TRUE(world.nextStart());
            ExpectPutRight(world, where);
            ++cases;
        }
        {
            LaunchWorld world(kind);
            EXPECT_FALSE(world.launch({}, k)) << at;
            ASSERT_TRUE(world.nextStart());
            ExpectPutRight(world, at + ", then the program dies");
            ++cases;
        }
        // Dies again after operation j of the put-back, until the put-back
        // runs to its end before j.
        for (long j = 1;; ++j) {
            LaunchWorld world(kind);
            world.launch({}, k);
            if (world.nextStart({}, j)) break;
            ASSERT_TRUE(world.nextStart());
            ExpectPutRight(world, at + ", then the program dies, and dies again after operation " +
                                      std::to_string(j) + " of the next start");
            ++cases;
        }
    }
    std::printf("%s: %ld operations, %ld cases\n", kind.name.c_str(), n, cases);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LaunchEnumeration, ::testing::ValuesIn(test::LaunchKinds()),
                         [](const ::testing::TestParamInfo<LaunchKind>& info) {
                             std::string name;
                             for (char c : info.param.name)
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             return name;
                         });

}  // namespace
}  // namespace qv
