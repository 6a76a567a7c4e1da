// Files a module writes: truncation, appending, flushing, missing folders, the fault switch,
// and what survives a killed process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

TEST(FileOut, TruncatesAnExistingFile) {
    const PluginRoot root;
    root.write("out.txt", "old 1\nold 2\nold 3\nold 4\n");
    root.configurePlugin("OutputFile = out.txt\nCompleteAtFrame = 2\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_EQ(root.read("out.txt"), "row 1\nrow 2\n");
}

TEST(FileApp, AppendsToAnExistingFile) {
    const PluginRoot root;
    root.write("out.txt", "old 1\n");
    root.configurePlugin("OutputFile = out.txt\nOutputMode = 2\nCompleteAtFrame = 2\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_EQ(root.read("out.txt"), "old 1\nrow 1\nrow 2\n");
}

TEST(FileOut, EveryLineIsOnDiskAsSoonAsItIsWritten) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nCheckFlush = 1\nCompleteAtFrame = 3\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: the file holds"),
                ElementsAre("plugin: the file holds 1 lines", "plugin: the file holds 2 lines",
                            "plugin: the file holds 3 lines"));
}

TEST(FileOut, BackslashesSeparateFolders) {
    const PluginRoot root;
    root.write("Reports/Deep/.keep", "");
    root.configurePlugin("OutputFile = Reports\\Deep\\out.txt\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_EQ(root.read("Reports/Deep/out.txt"), "row 1\n");
}

TEST(FileOut, MissingFolderGivesAHandleWhoseLinesAreLost) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = Absent\\out.txt\nCompleteAtFrame = 3\n");
    const auto outcome = root.run();
    ASSERT_EQ(outcome.exitStatus, 5);
    EXPECT_THAT(root.log(), HasSubstr("\nplugin: oapiOpenFile Absent\\out.txt -> handle\n"));
    // One line at the opening, one for all three lost rows; closing says nothing more.
    EXPECT_THAT(root.logLinesStartingWith("host: oapi"),
                ElementsAre("host: oapiOpenFile: cannot create Absent/out.txt: No such file or "
                            "directory; the simulator hands out a handle all the same, and every "
                            "line written through it is lost",
                            "host: oapiWriteLine: Absent/out.txt could not be created; its lines "
                            "are lost"));
    EXPECT_THAT(root.log(), Not(HasSubstr("could not be written")));
    EXPECT_THAT(outcome.out, HasSubstr(", 0 files written; 3 report lines and 0 log lines lost\n"));
    EXPECT_FALSE(root.exists("Absent"));
}

TEST(FileOut, AFolderInThePathOfTheFileGivesAHandle) {
    const PluginRoot root;
    root.write("Taken/.keep", "");
    root.configurePlugin("OutputFile = Taken\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 5) << "its row is lost";
    EXPECT_THAT(root.log(), HasSubstr("\nplugin: oapiOpenFile Taken -> handle\n"));
    EXPECT_THAT(root.log(), HasSubstr("\nhost: oapiWriteLine: Taken could not be created; its "
                                      "lines are lost\n"));
}

TEST(FaultSwitch, FailsWritesAfterNLinesAndTheCaptureGoesOn) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nCompleteAtFrame = 5\n");
    const auto outcome = root.run({"--fail-writes-after", "2"});
    // Completed by the module's word, but not every row reached the disk.
    EXPECT_EQ(outcome.exitStatus, 5);
    EXPECT_EQ(root.logLinesStartingWith("plugin: clbkPostStep").size(), 5u);
    EXPECT_EQ(root.read("out.txt"), "row 1\nrow 2\n");
    EXPECT_THAT(root.logLinesStartingWith("host: oapiWriteLine"),
                ElementsAre("host: oapiWriteLine: writing out.txt failed: no space left "
                            "(simulated after 2 lines by --fail-writes-after); the lines written "
                            "before are kept"));
    EXPECT_THAT(root.log(), HasSubstr("\nhost: out.txt: 3 lines could not be written\n"));
    EXPECT_THAT(outcome.out, HasSubstr(", 1 file written; 3 report lines and 0 log lines lost\n"));
    EXPECT_THAT(outcome.err, HasSubstr("aeroquin-host: the capture completed, but incompletely: 3 "
                                       "report lines and 0 log lines lost\n"));
}

TEST(FaultSwitch, ZeroFailsEveryLine) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run({"--fail-writes-after", "0"}).exitStatus, 5);
    EXPECT_TRUE(root.exists("out.txt"));
    EXPECT_EQ(root.read("out.txt"), "");
    EXPECT_THAT(root.log(), HasSubstr("\nhost: out.txt: 1 line could not be written\n"));
}

TEST(Crash, KilledProcessLeavesEveryWrittenRowWhole) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nRaiseAtFrame = 4\nRaiseSignal = KILL\n");
    const auto outcome = root.run();
    EXPECT_FALSE(outcome.exited);
    EXPECT_EQ(outcome.signal, SIGKILL);
    // Rows of frames 1 to 3; frame 4 died in its pre-step.
    EXPECT_EQ(root.read("out.txt"), "row 1\nrow 2\nrow 3\n");
    // The log too holds every line written before.
    EXPECT_EQ(root.logLinesStartingWith("plugin: clbkPostStep").size(), 3u);
}

TEST(Leftovers, FilesLeftOpenAreClosedWithAHostLine) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nLeakFile = 1\nCompleteAtFrame = 2\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_EQ(root.read("out.txt"), "row 1\nrow 2\n");
    EXPECT_THAT(root.log(), HasSubstr("\nhost: out.txt was left open by the module; closed\n"));
}

TEST(Leftovers, ClosedFilesGiveNoHostLine) {
    const PluginRoot root;
    root.configurePlugin("OutputFile = out.txt\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.log(), Not(HasSubstr("left open")));
    EXPECT_THAT(root.logLinesStartingWith("host: oapi"), IsEmpty());
}

}  // namespace
}  // namespace aeroquin::host::test
