// --trace: one line per host operation a module calls, named as the module spells it, and one
// "# ..." line before each callback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string firstWord(const std::string& line) {
    return line.substr(0, line.find(' '));
}

class TraceOfARun : public ::testing::Test {
  protected:
    void SetUp() override {
        root_.addFlatWorld();
        root_.configurePlugin(
            "Vessel = P1\nAnnotation = 1\nOutputFile = out.txt\n"
            "CompleteAtFrame = 2\n");
        ASSERT_EQ(root_.run({"--trace", (root_.path() / "trace.txt").string()}).exitStatus, 0);
        lines_ = splitLines(root_.read("trace.txt"));
        ASSERT_FALSE(lines_.empty());
    }

    // The lines from the first one equal to `from` up to the next one equal to `to`.
    std::vector<std::string> between(const std::string& from, const std::string& to) const {
        const auto begin = std::find(lines_.begin(), lines_.end(), from);
        const auto end = std::find(begin, lines_.end(), to);
        return {begin, end};
    }

    PluginRoot root_;
    std::vector<std::string> lines_;
};

TEST_F(TraceOfARun, MarksEveryCallbackInOrder) {
    std::vector<std::string> marks;
    std::copy_if(lines_.begin(), lines_.end(), std::back_inserter(marks),
                 [](const std::string& line) { return line.starts_with("# "); });
    EXPECT_THAT(marks, ElementsAre("# clbkSimulationStart", "# frame 1 clbkPreStep",
                                   "# frame 1 clbkPostStep", "# frame 2 clbkPreStep",
                                   "# frame 2 clbkPostStep", "# clbkSimulationEnd"));
}

TEST_F(TraceOfARun, NamesEachOperationAsTheModuleSpellsIt) {
    const std::set<std::string> known{"InitLib",
                                      "GetProcAddress",
                                      "Date2Int",
                                      "oapiRegisterModule",
                                      "oapiWriteLog",
                                      "oapiOpenFile",
                                      "oapiCloseFile",
                                      "oapiReadItem_string",
                                      "oapiReadItem_int",
                                      "oapiWriteLine",
                                      "oapiGetVesselByName",
                                      "oapiGetVesselInterface",
                                      "VESSEL::GetStatusEx",
                                      "VESSEL::GetSurfaceRef",
                                      "VESSEL::GetEquPos",
                                      "VESSEL::GetClassNameA",
                                      "VESSEL::GetLift",
                                      "oapiCreateAnnotation",
                                      "oapiAnnotationSetPos",
                                      "oapiAnnotationSetText",
                                      "oapiDelAnnotation",
                                      "#"};
    for (const auto& line : lines_) {
        EXPECT_TRUE(known.contains(firstWord(line))) << line;
    }
    // The library's attach hook runs inside dlopen, before anything else.
    EXPECT_EQ(firstWord(lines_.front()), "InitLib");
    EXPECT_THAT(root_.read("trace.txt"),
                HasSubstr("\noapiOpenFile \"Modules\\\\Plugin\\\\TestPlugin.cfg\" 0 1 -> 0x"));
}

TEST_F(TraceOfARun, RegistrationComesBeforeTheSimulationStarts) {
    const auto start = std::find(lines_.begin(), lines_.end(), "# clbkSimulationStart");
    const auto registration = std::find_if(lines_.begin(), lines_.end(), [](const auto& line) {
        return firstWord(line) == "oapiRegisterModule";
    });
    EXPECT_LT(registration, start);
}

TEST_F(TraceOfARun, PreStepOperationsFollowTheirMark) {
    std::vector<std::string> names;
    for (const auto& line : between("# frame 1 clbkPreStep", "# frame 1 clbkPostStep")) {
        names.push_back(firstWord(line));
    }
    EXPECT_THAT(
        names, ElementsAre("#", "oapiWriteLog", "oapiAnnotationSetText", "oapiGetVesselByName",
                           "oapiGetVesselInterface", "VESSEL::GetStatusEx", "VESSEL::GetSurfaceRef",
                           "oapiWriteLog", "VESSEL::GetEquPos", "VESSEL::GetClassNameA",
                           "VESSEL::GetLift", "oapiWriteLog"));
}

TEST_F(TraceOfARun, EscapesLineBreaksSoThatEachOperationStaysOneLine) {
    for (const auto& line : between("# frame 1 clbkPostStep", "# frame 2 clbkPreStep")) {
        if (firstWord(line) == "oapiWriteLine") {
            EXPECT_THAT(line, HasSubstr(" \"row 1\""));
        }
    }
}

TEST(Trace, UnwritableTraceFileIsABadArgument) {
    const PluginRoot root;
    const auto outcome = root.run({"--trace", (root.path() / "absent" / "t.txt").string()});
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_THAT(outcome.err, HasSubstr("cannot create the trace file"));
}

}  // namespace
}  // namespace aeroquin::host::test
