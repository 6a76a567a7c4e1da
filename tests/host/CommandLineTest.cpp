// The command line and the checks before the first frame: help, version, bad arguments, bad
// host files and bad module libraries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::HasSubstr;

TEST(CommandLine, HelpListsTheOptionsAndExitStatuses) {
    const PluginRoot root;
    const auto outcome = root.runBare({"--help"});
    EXPECT_EQ(outcome.exitStatus, 0);
    for (const char* text : {"--root", "--scenario", "--module", "--frames", "--step", "--utc",
                             "--trace", "--display", "--fail-writes-after", "Testing:",
                             "  4    an exception escaped a module callback (named in the log)\n"
                             "  5    completed but report or log lines were lost\n"
                             "  6    the flight left finite numbers\n"
                             "  7    exit() called during a frame\n"
                             "  8    an internal error of the host\n"
                             "  9    the capture did not complete (the module's text on stderr)\n"
                             "  130  stopped by SIGINT or SIGTERM\n"}) {
        EXPECT_THAT(outcome.out, HasSubstr(text));
    }
    EXPECT_FALSE(root.exists("host.log"));
}

TEST(CommandLine, VersionPrintsNameAndVersion) {
    const PluginRoot root;
    const auto outcome = root.runBare({"--version"});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.out, "aeroquin-host 1.0\n");
}

struct BadArguments {
    std::vector<std::string> args;
    std::string message;  // part of what stderr must say
};

class BadCommandLine : public ::testing::TestWithParam<BadArguments> {};

TEST_P(BadCommandLine, EndsWithStatus2BeforeAnyRun) {
    const PluginRoot root;
    const auto outcome = root.run(GetParam().args);
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr(GetParam().message));
    EXPECT_FALSE(root.exists("host.log"));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadCommandLine,
    ::testing::Values(
        BadArguments{{"--frames", "0"}, "--frames"}, BadArguments{{"--frames", "-1"}, "--frames"},
        BadArguments{{"--frames", "3x"}, "--frames"},
        BadArguments{{"--frames", "99999999999999999999999"}, "--frames"},
        BadArguments{{"--step", "0"}, "--step"}, BadArguments{{"--step", "-0.5"}, "--step"},
        BadArguments{{"--step", "nan"}, "--step"}, BadArguments{{"--step", "inf"}, "--step"},
        BadArguments{{"--utc", "2023-02-29T00:00:00"}, "--utc"},
        BadArguments{{"--utc", "2024-03-05 14:07:09"}, "--utc"},
        BadArguments{{"--utc", "2024-03-05T24:00:00"}, "--utc"},
        BadArguments{{"--display", "tty"}, "--display"},
        BadArguments{{"--fail-writes-after", "-2"}, "--fail-writes-after"},
        BadArguments{{"--no-module"}, "--no-module"}, BadArguments{{"surplus"}, "surplus"}));

TEST(CommandLine, MissingRootFolderIsRefused) {
    const PluginRoot root;
    const auto outcome =
        runProcess(AEROQUIN_HOST_EXE, {"--root", (root.path() / "absent").string()}, root.path());
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr("--root"));
}

TEST(CommandLine, RelativePathsAreTakenBeforeTheRunEntersTheRoot) {
    const PluginRoot root;
    // The plug-in reads its output back through the standard library, relative to its working
    // folder.
    root.configurePlugin("OutputFile = out.txt\nCheckFlush = 1\nCompleteAtFrame = 1\n");
    const std::filesystem::path start = root.path().parent_path();
    const auto outcome =
        runProcess(AEROQUIN_HOST_EXE,
                   {"--root", root.path().filename().string(), "--module",
                    std::filesystem::path(AEROQUIN_TEST_MODULE).lexically_relative(start).string()},
                   start);
    ASSERT_EQ(outcome.exitStatus, 0) << outcome.err;
    EXPECT_THAT(root.logLinesStartingWith("plugin: the file holds"),
                ::testing::ElementsAre("plugin: the file holds 1 lines"));
}

TEST(HostFiles, MissingScenarioNamesTheFile) {
    const PluginRoot root;
    const auto outcome = root.run({"--scenario", "Nowhere"});
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_EQ(outcome.err, "aeroquin-host: Scenarios/Nowhere.scn: cannot be read\n");
    EXPECT_THAT(root.log(), HasSubstr("host: Scenarios/Nowhere.scn: cannot be read\n"));
    // The module is loaded only once the world stands.
    EXPECT_THAT(root.log(), ::testing::Not(HasSubstr("plugin:")));
}

TEST(HostFiles, ScenarioNamingAMissingClassEndsBeforeTheFirstFrame) {
    const PluginRoot root;
    root.write("Scenarios/Default.scn", "Body = None\nVessels = X1:Ghost\n");
    const auto outcome = root.run();
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr("Ghost"));
    EXPECT_THAT(root.log(), ::testing::Not(HasSubstr("clbkPreStep")));
}

TEST(ModuleLibrary, MissingLibraryIsRefused) {
    const PluginRoot root;
    const auto outcome =
        runProcess(AEROQUIN_HOST_EXE,
                   {"--root", root.path().string(), "--module", (root.path() / "none.so").string()},
                   root.path());
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr("cannot load the module"));
    EXPECT_THAT(outcome.err, HasSubstr("none.so"));
}

TEST(ModuleLibrary, LibraryWithoutInitModuleIsRefused) {
    const PluginRoot root;
    const auto outcome = runProcess(
        AEROQUIN_HOST_EXE, {"--root", root.path().string(), "--module", AEROQUIN_EMPTY_PLUGIN},
        root.path());
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr("does not export InitModule"));
}

TEST(ModuleLibrary, NoModuleRunsTheWorldAlone) {
    const PluginRoot root;
    const auto outcome =
        runProcess(AEROQUIN_HOST_EXE,
                   {"--root", root.path().string(), "--no-module", "--frames", "4"}, root.path());
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_THAT(outcome.out, HasSubstr("aeroquin-host: 4 frames, 0 points"));
}

}  // namespace
}  // namespace aeroquin::host::test
