// The live display: drawn in place on a terminal only, never into a file or a pipe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kCapture =
    "Echo = Sweeper: Mach vector size: 2, AOA vector size: 2, Current indexes - Mach: 0 AOA: 0\n"
    "FrameOneStatus = Aeroquin - Manager initialized ok\n"
    "Annotation = 1\n"
    "CompleteAtFrame = 5\n";

TEST(TerminalDisplay, DrawsTheLastFrameInPlaceThenTheSummary) {
    const PluginRoot root;
    root.configurePlugin(kCapture);
    const auto outcome = root.run({}, /*onTerminal=*/true);
    ASSERT_EQ(outcome.exitStatus, 0);
    // The terminal turns each line feed into CR LF. 5 frames of 0.02 s; 4 of 4 points measured.
    EXPECT_THAT(outcome.out, HasSubstr("\r[frame 5  t 0.1 s  4/4 100.0%] note 5\x1b[K\r\n"));
    EXPECT_THAT(outcome.out, HasSubstr("\r\naeroquin-host: 5 frames, 4 points, "));
    EXPECT_THAT(outcome.out, EndsWith(", 0 files written\r\n"));
}

TEST(TerminalDisplay, NothingIsDrawnWithDisplayNone) {
    const PluginRoot root;
    root.configurePlugin(kCapture);
    const auto outcome = root.run({"--display", "none"}, /*onTerminal=*/true);
    ASSERT_EQ(outcome.exitStatus, 0);
    EXPECT_THAT(outcome.out, Not(HasSubstr("[frame")));
    EXPECT_THAT(outcome.out, HasSubstr("aeroquin-host: 5 frames, 4 points, "));
}

TEST(TerminalDisplay, NothingIsDrawnWhenStdoutIsNoTerminal) {
    const PluginRoot root;
    root.configurePlugin(kCapture);
    const auto outcome = root.run();
    ASSERT_EQ(outcome.exitStatus, 0);
    EXPECT_THAT(outcome.out, Not(HasSubstr("\r")));
    EXPECT_THAT(outcome.out, Not(HasSubstr("[frame")));
}

}  // namespace
}  // namespace aeroquin::host::test
