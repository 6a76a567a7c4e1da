// The callbacks a module receives, in order and with their arguments, and the host operations
// of the module, log, clock, date, vessel and annotation groups as a module sees them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(Callbacks, ComeInOrderWithTimesStepAndModifiedJulianDate) {
    const PluginRoot root;
    root.configurePlugin("CompleteAtFrame = 2\n");
    const auto outcome = root.run({"--step", "0.5", "--utc", "2024-03-05T14:07:09"});
    ASSERT_EQ(outcome.exitStatus, 0);
    // 2024-03-05 is MJD 60374; 14:07:09 is 50829 s into the day: 50829 / 86400 = 0.58829861,
    // 50829.5 / 86400 = 0.58830440, 50830 / 86400 = 0.58831019.
    EXPECT_THAT(root.logLinesStartingWith("plugin: clbk"),
                ElementsAre("plugin: clbkSimulationStart 2",
                            "plugin: clbkPreStep 0.00000000 0.50000000 60374.58829861",
                            "plugin: clbkPostStep 0.50000000 0.50000000 60374.58830440",
                            "plugin: clbkPreStep 0.50000000 0.50000000 60374.58830440",
                            "plugin: clbkPostStep 1.00000000 0.50000000 60374.58831019",
                            "plugin: clbkSimulationEnd"));
}

TEST(Callbacks, DisplayNonePassesRenderMode0) {
    const PluginRoot root;
    root.configurePlugin("CompleteAtFrame = 1\n");
    ASSERT_EQ(root.run({"--display", "none"}).exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: clbkSimulationStart"),
                ElementsAre("plugin: clbkSimulationStart 0"));
}

TEST(Callbacks, ScenarioStepSizeIsTheDefaultStep) {
    const PluginRoot root;
    root.write("Scenarios/Default.scn", "Body = None\nStepSize = 0.25\n");
    root.configurePlugin("CompleteAtFrame = 1\n");
    ASSERT_EQ(root.run({"--utc", "2000-01-01T00:00:00"}).exitStatus, 0);
    // 2000-01-01 is MJD 51544; 0.25 s is 0.25 / 86400 = 0.00000289 days.
    EXPECT_THAT(root.logLinesStartingWith("plugin: clbkPostStep"),
                ElementsAre("plugin: clbkPostStep 0.25000000 0.25000000 51544.00000289"));
}

TEST(ModuleLoading, AttachRegistersAndUnloadsInOrder) {
    const PluginRoot root;
    root.configurePlugin("CompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    const auto lines = root.logLines();
    const std::vector<std::string> expectedInOrder{
        "host: InitLib: the module's library is attached",
        "plugin: GetProcAddress InitModule -> found", "plugin: GetProcAddress ExitModule -> null",
        // Only the library's own exports count, not those of the libraries it uses.
        "plugin: GetProcAddress malloc -> null", "host: ModuleDate: Feb 03 2021",
        "host: GetModuleVersion: 210203", "plugin: InitModule, handle as attached",
        "plugin: clbkSimulationStart 2", "plugin: clbkSimulationEnd", "plugin: module destroyed",
        "plugin: library detached"};
    auto from = lines.begin();
    for (const auto& expected : expectedInOrder) {
        from = std::find(from, lines.end(), expected);
        ASSERT_NE(from, lines.end()) << "missing or out of order: " << expected;
    }
}

TEST(Log, ModuleLinesAreReadAsFormatsWithoutArgumentsAndHostLinesArePrefixed) {
    const PluginRoot root;
    root.configurePlugin("Echo = 50%% done %s %-5.2lf %n \\t tail %\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    const auto lines = root.logLines();
    const auto echo = std::find(lines.begin(), lines.end(), "50% done %s %-5.2lf %n \\t tail %");
    ASSERT_NE(echo, lines.end());
    ASSERT_NE(echo + 1, lines.end());
    EXPECT_EQ(*(echo + 1),
              "host: oapiWriteLog: the line above holds \"%s\", \"%-5.2lf\", \"%n\", \"%\", "
              "conversions without arguments, written as they stand; the simulator would have "
              "crashed or printed garbage there");
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const auto& line) { return line.starts_with("host: oapiWriteLog"); }),
        1);
    EXPECT_EQ(lines.front(),
              "host: aeroquin-host 1.0, root " + root.path().string() + ", scenario Default");
    EXPECT_THAT(lines.back(), HasSubstr("host: run ended: 1 frame, 1 point, "));
}

TEST(Log, IsRewrittenEachRun) {
    const PluginRoot root;
    root.configurePlugin("Echo = first run\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    root.configurePlugin("Echo = second run\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.log(), HasSubstr("\nsecond run\n"));
    EXPECT_THAT(root.log(), Not(HasSubstr("first run")));
}

TEST(Date2Int, ReadsModuleDatesAndAnswers0ForAnythingElse) {
    const PluginRoot root;
    root.configurePlugin(
        "Dates = Aug 30 2010|Sep 18 2011|Jan  5 2000|Dec 31 1999|Foo 1 2000|Aug 32 2010|"
        "Aug 30|aug 30 2010|AUGUST 30 2010|Aug 30x 2010\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(
        root.logLinesStartingWith("plugin: Date2Int"),
        ElementsAre(
            "plugin: Date2Int \"Aug 30 2010\" -> 100830",
            "plugin: Date2Int \"Sep 18 2011\" -> 110918", "plugin: Date2Int \"Jan  5 2000\" -> 105",
            "plugin: Date2Int \"Dec 31 1999\" -> 991231", "plugin: Date2Int \"Foo 1 2000\" -> 1",
            "plugin: Date2Int \"Aug 32 2010\" -> 100832", "plugin: Date2Int \"Aug 30\" -> 830",
            "plugin: Date2Int \"aug 30 2010\" -> 100830",
            "plugin: Date2Int \"AUGUST 30 2010\" -> 100830",
            "plugin: Date2Int \"Aug 30x 2010\" -> 830"));
    const std::string undefined =
        "; the simulator's answer is undefined there, the host takes 0 for what is missing and "
        "answers ";
    EXPECT_THAT(root.logLinesStartingWith("host: Date2Int"),
                ElementsAre("host: Date2Int: \"Foo 1 2000\" has no month" + undefined + "1",
                            "host: Date2Int: \"Aug 30\" has no year" + undefined + "830",
                            "host: Date2Int: \"Aug 30x 2010\" has no year" + undefined + "830"));
}

TEST(Clock, UtcOptionPinsGetSystemTime) {
    const PluginRoot root;
    root.configurePlugin("Clock = 1\nCompleteAtFrame = 3\n");
    ASSERT_EQ(root.run({"--utc", "2024-03-05T14:07:09"}).exitStatus, 0);
    // 5 March 2024 was a Tuesday (day 2 of the week, Sunday being 0).
    const std::string pinned = "plugin: GetSystemTime 2024 3 2 5 14 7 9 0";
    EXPECT_THAT(root.logLinesStartingWith("plugin: GetSystemTime"),
                ElementsAre(pinned, pinned, pinned));
}

TEST(Clock, UnpinnedClockReadsTheSystemTime) {
    const PluginRoot root;
    root.configurePlugin("Clock = 1\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    const auto lines = root.logLinesStartingWith("plugin: GetSystemTime");
    ASSERT_EQ(lines.size(), 1u);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match,
                                 std::regex(R"(plugin: GetSystemTime (\d+) (\d+) ([0-6]) (\d+) )"
                                            R"((\d+) (\d+) (\d+) (\d+))")));
    EXPECT_GE(std::stoi(match[1]), 2024);
    EXPECT_LE(std::stoi(match[2]), 12);
    EXPECT_LE(std::stoi(match[5]), 23);
    EXPECT_LE(std::stoi(match[8]), 999);
}

TEST(Vessels, StatusExIsFilledOnlyForVersion2) {
    const PluginRoot root;
    root.addFlatWorld();
    root.configurePlugin("Vessel = P1\nStatusExVersion = 2\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: GetStatusEx"),
                ElementsAre("plugin: GetStatusEx version 2 -> filled, rbody is the surface "
                            "reference"));
    // 20 km above the mean radius of 1000 km.
    EXPECT_THAT(root.logLinesStartingWith("plugin: class"),
                ElementsAre("plugin: class Probe, radius 1020000.00000000, lift 0.00000000"));

    root.configurePlugin("Vessel = P1\nStatusExVersion = 1\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: GetStatusEx"),
                ElementsAre("plugin: GetStatusEx version 1 -> untouched"));
    EXPECT_THAT(root.log(), HasSubstr("host: VESSEL::GetStatusEx: record version 1 is not "
                                      "supported (only 2); nothing filled\n"));
}

TEST(Vessels, AVesselIsDeletedAfterThePostStepOfItsFrame) {
    const PluginRoot root;
    root.addFlatWorld();
    root.write("Scenarios/Default.scn",
               root.read("Scenarios/Default.scn") + "P1.DeletedAfterFrame = 1\n");
    root.configurePlugin("Vessel = P1\n");
    root.run({"--frames", "1"});
    const auto lines = root.logLines();
    const auto postStep = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("plugin: clbkPostStep");
    });
    const auto deleted =
        std::find(lines.begin(), lines.end(), "host: vessel P1 deleted after frame 1");
    const auto end = std::find(lines.begin(), lines.end(), "plugin: clbkSimulationEnd");
    ASSERT_NE(deleted, lines.end());
    EXPECT_LT(postStep, deleted);
    EXPECT_LT(deleted, end);
}

TEST(Vessels, UnknownVesselNameGivesNoHandle) {
    const PluginRoot root;
    root.addFlatWorld();
    root.configurePlugin("Vessel = P2\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.log(), HasSubstr("\nplugin: no vessel P2\n"));
}

TEST(Handles, ForeignAndStaleHandlesAreRefusedWithHostLines) {
    const PluginRoot root;
    root.configurePlugin("BadHandles = 1\nCompleteAtFrame = 1\n");
    const auto outcome = root.run();
    EXPECT_EQ(outcome.exitStatus, 0);
    const std::string log = root.log();
    EXPECT_THAT(log, HasSubstr(" is not an open file\n"));
    EXPECT_THAT(log, HasSubstr(" is not an annotation\n"));
    // A closed file's handle does not reach the file opened after it.
    EXPECT_THAT(log, HasSubstr(" is the handle of a file already closed\n"));
    EXPECT_EQ(root.read("second.txt"), "");
    EXPECT_THAT(log, HasSubstr(" is the handle of an annotation already deleted\n"));
    EXPECT_THAT(log, HasSubstr("\nplugin: foreign vessel interface -> null\n"));
    EXPECT_THAT(log, HasSubstr("\nhost: VESSEL::GetLift: the VESSEL's handle is not a vessel of "
                               "the simulation\n"));
    EXPECT_THAT(log, HasSubstr("\nplugin: foreign VESSEL::GetLift -> 0.00000000\n"));
}

TEST(Annotations, TheHostDeletesThemBeforeTheSimulationEnds) {
    const PluginRoot root;
    root.configurePlugin("Annotation = 1\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.log(), HasSubstr("\nplugin: oapiDelAnnotation(null) -> false\n"));
    EXPECT_THAT(root.log(),
                HasSubstr("\nplugin: clbkSimulationEnd\nhost: oapiDelAnnotation: the annotation "
                          "was already deleted at the simulation's end\nplugin: oapiDelAnnotation "
                          "-> false\n"));
    EXPECT_THAT(root.log(), Not(HasSubstr("left by the module")));
}

TEST(Annotations, WithoutAGraphicsClientTheyAreNullAndEveryCallAcceptsNull) {
    const PluginRoot root;
    root.configurePlugin("Annotation = 1\nCompleteAtFrame = 2\n");
    ASSERT_EQ(root.run({"--display", "none"}).exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: clbkSimulationStart"),
                ElementsAre("plugin: clbkSimulationStart 0"));
    // One line for the null answer; setting the position of null says nothing.
    EXPECT_THAT(root.logLinesStartingWith("host: oapi"),
                ElementsAre("host: oapiCreateAnnotation: no graphics client (--display none, "
                            "start argument 0); answered null, as the simulator does"));
}

TEST(Unload, ALibraryWithAnExitEntryPointDeletesItsOwnModule) {
    const PluginRoot root;
    const auto outcome =
        root.runBare({"--root", root.path().string(), "--module", AEROQUIN_EXIT_PLUGIN});
    ASSERT_EQ(outcome.exitStatus, 0) << outcome.err;
    // Deleted once, by the library, not by the host before it.
    EXPECT_THAT(root.logLinesStartingWith("exitplugin:"),
                ElementsAre("exitplugin: ExitModule", "exitplugin: module destroyed"));
}

TEST(Summary, CountsFramesPointsAndFilesWhateverTheTerminal) {
    const PluginRoot root;
    root.configurePlugin(
        "Echo = Sweeper: Mach vector size: 2, AOA vector size: 2, Current indexes - Mach: 0 "
        "AOA: 0\nFrameOneStatus = Aeroquin - Manager initialized ok\nCompleteAtFrame = 5\n"
        "OutputFile = rows.txt\n");
    const auto outcome = root.run();
    ASSERT_EQ(outcome.exitStatus, 0);
    // Frames 1 to 4 measure one point each; frame 5 shows the completion.
    EXPECT_TRUE(std::regex_match(
        outcome.out,
        std::regex(R"(aeroquin-host: 5 frames, 4 points, [0-9.e+]+ points/s, 1 file written\n)")))
        << outcome.out;
}

}  // namespace
}  // namespace aeroquin::host::test
