// How a run ends: exit statuses, and the simulation end and module deletion at every end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::size_t countLines(const PluginRoot& root, const std::string& prefix) {
    return root.logLinesStartingWith(prefix).size();
}

// The index of the first log line equal to `line`; the number of lines when none is.
std::size_t indexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(ExitStatus, CompletedCaptureEndsAfterThatFrameWith0) {
    const PluginRoot root;
    root.configurePlugin("CompleteAtFrame = 3\n");
    const auto outcome = root.run();
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(countLines(root, "plugin: clbkPreStep"), 3u);
    EXPECT_EQ(countLines(root, "plugin: clbkPostStep"), 3u);
    const auto lines = root.logLines();
    const std::size_t end = indexOf(lines, "plugin: clbkSimulationEnd");
    const std::size_t destroyed = indexOf(lines, "plugin: module destroyed");
    const std::size_t detached = indexOf(lines, "plugin: library detached");
    EXPECT_LT(end, destroyed);
    EXPECT_LT(destroyed, detached);
    EXPECT_LT(detached, lines.size());
    EXPECT_EQ(outcome.err, "");
}

TEST(ExitStatus, FailedStartEndsAfterFrameOneWith1AndTheStatusOnStderr) {
    const PluginRoot root;
    root.configurePlugin("FrameOneStatus = Configuration Error - VesselName not found.\n");
    const auto outcome = root.run();
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_THAT(outcome.err, HasSubstr("Configuration Error - VesselName not found.\n"));
    EXPECT_EQ(countLines(root, "plugin: clbkPreStep"), 1u);
    EXPECT_EQ(countLines(root, "plugin: clbkSimulationEnd"), 1u);
    EXPECT_EQ(countLines(root, "plugin: module destroyed"), 1u);
}

TEST(ExitStatus, SuccessfulStartGoesOnUntilTheFrameLimit) {
    const PluginRoot root;
    root.configurePlugin("FrameOneStatus = Aeroquin - Manager initialized ok\n");
    const auto outcome = root.run({"--frames", "4"});
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(countLines(root, "plugin: clbkPostStep"), 4u);
}

TEST(ExitStatus, SilentFrameOneGoesOn) {
    const PluginRoot root;
    root.configurePlugin("Quiet = 1\nFrameOneStatus = -\nOutputFile = rows.txt\n");
    const auto outcome = root.run({"--frames", "3"});
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(root.read("rows.txt"), "row 1\nrow 2\nrow 3\n");
    EXPECT_THAT(outcome.err, HasSubstr("stopped after 3 frames"));
    EXPECT_EQ(countLines(root, "plugin: clbkSimulationEnd"), 1u);
}

TEST(ExitStatus, CompletionInTheLastAllowedFrameCountsAsCompletion) {
    const PluginRoot root;
    root.configurePlugin("CompleteAtFrame = 2\n");
    EXPECT_EQ(root.run({"--frames", "2"}).exitStatus, 0);
}

class StopSignal : public ::testing::TestWithParam<const char*> {};

TEST_P(StopSignal, EndsCleanlyAfterTheFrameWith130) {
    const PluginRoot root;
    root.configurePlugin(std::string("RaiseAtFrame = 2\nRaiseSignal = ") + GetParam() +
                         "\nOutputFile = rows.txt\n");
    const auto outcome = root.run();
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 130);
    // The frame under way is finished, then the simulation ends.
    EXPECT_EQ(countLines(root, "plugin: clbkPostStep"), 2u);
    EXPECT_EQ(countLines(root, "plugin: clbkSimulationEnd"), 1u);
    EXPECT_EQ(countLines(root, "plugin: module destroyed"), 1u);
    EXPECT_EQ(root.read("rows.txt"), "row 1\nrow 2\n");
    EXPECT_THAT(root.log(), Not(HasSubstr("left open")));
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, ::testing::Values("INT", "TERM"));

struct Throwing {
    const char* callback;
    int frame;
    const char* kind;
    const char* hostLine;  // what the log must hold
    std::size_t postSteps;
    bool deleted;  // module object deleted and library unloaded
};

class EscapingException : public ::testing::TestWithParam<Throwing> {};

TEST_P(EscapingException, IsLoggedAndEndsTheSimulationWith4) {
    const Throwing& c = GetParam();
    const PluginRoot root;
    root.configurePlugin(std::string("CompleteAtFrame = 3\nThrowIn = ") + c.callback +
                         "\nThrowAtFrame = " + std::to_string(c.frame) + "\nThrowKind = " + c.kind +
                         "\n");
    const auto outcome = root.run();
    EXPECT_EQ(outcome.exitStatus, 4);
    EXPECT_THAT(root.log(), HasSubstr(std::string(c.hostLine) + "\n"));
    EXPECT_THAT(outcome.err, HasSubstr(std::string(c.hostLine).substr(6)));
    EXPECT_EQ(countLines(root, "plugin: clbkPostStep"), c.postSteps);
    EXPECT_EQ(countLines(root, "plugin: clbkSimulationEnd"), 1u);
    EXPECT_EQ(countLines(root, "plugin: module destroyed"), c.deleted ? 1u : 0u);
    EXPECT_EQ(countLines(root, "plugin: library detached"), c.deleted ? 1u : 0u);
    EXPECT_THAT(root.log(), HasSubstr("; exit status 4\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Callbacks, EscapingException,
    ::testing::Values(
        Throwing{"clbkSimulationStart", 0, "runtime_error",
                 "host: clbkSimulationStart threw std::runtime_error: boom in clbkSimulationStart",
                 0, true},
        Throwing{"clbkPreStep", 2, "int", "host: clbkPreStep in frame 2 threw int", 1, true},
        Throwing{"clbkPostStep", 1, "runtime_error",
                 "host: clbkPostStep in frame 1 threw std::runtime_error: boom in clbkPostStep", 1,
                 true},
        Throwing{"clbkSimulationEnd", 0, "int", "host: clbkSimulationEnd threw int", 3, false}));

}  // namespace
}  // namespace aeroquin::host::test
