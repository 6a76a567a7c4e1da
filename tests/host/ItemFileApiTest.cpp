// oapiReadItem_string and oapiReadItem_int as a module sees them: the long line that ends the
// search, integer reading, and the item-file rules behind both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/host/PluginRoot.h"

namespace aeroquin::host::test {

using namespace aeroquin::testsupport;
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(ReadItemString, ALineOf512CharactersEndsTheSearch) {
    const PluginRoot root;
    // Keys match whatever their letter case; the plug-in asks for "ReadStrings". Lines of 511
    // and 512 characters, the line end not counted.
    root.configurePlugin(
        "readstrings = Long511 Empty Utf After Missing After\n"
        "CompleteAtFrame = 1\n"
        "Empty =   \n"
        "Utf = \xC3\x9C"
        "berschall\r\n"
        "Long511 = " +
        std::string(501, 'a') + "\r\n" + "Long512 = " + std::string(502, 'b') + "\n" +
        "After = seen\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_string"),
                ElementsAre("plugin: ReadItem_string Long511 -> true 501, guard intact",
                            "plugin: ReadItem_string Empty -> false, guard intact",
                            // Two bytes for the U with umlaut, nine more; the CR is trimmed.
                            "plugin: ReadItem_string Utf -> true 11, guard intact",
                            "plugin: ReadItem_string After -> false, guard intact",
                            "plugin: ReadItem_string Missing -> false, guard intact",
                            "plugin: ReadItem_string After -> false, guard intact"));
    // Once per item, not per read; the plug-in's own settings are missed too.
    const std::string stop =
        "host: oapiReadItem_string: Config/Modules/Plugin/TestPlugin.cfg:6: a line of 512 "
        "characters ends the search, as in the simulator; ";
    const auto lines = root.logLinesStartingWith("host: oapiReadItem_string");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), stop + "After is not found"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), stop + "Missing is not found"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), stop + "Long511 is not found"), 0);
}

TEST(ReadItemString, FirstMatchWinsAndCommentsAreDropped) {
    const PluginRoot root;
    root.configurePlugin(
        "ReadStrings = Twice Commented\n"
        "TWICE = first ; a comment\n"
        "Twice = second\n"
        "; Commented = hidden\n"
        "CompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_string"),
                ElementsAre("plugin: ReadItem_string Twice -> true 5, guard intact",
                            "plugin: ReadItem_string Commented -> false, guard intact"));
}

struct IntCase {
    const char* text;
    const char* pluginLine;  // after "plugin: ReadItem_int Value -> "
    const char* hostLine;    // the host's reason, empty when there is none
};

class ReadItemInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ReadItemInt, ReadsTheLeadingIntegerAsSscanfDoes) {
    const IntCase& c = GetParam();
    const PluginRoot root;
    root.configurePlugin(std::string("ReadInts = Value\nValue = ") + c.text +
                         "\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    // The plug-in's variable holds -12345 before the call: a miss leaves it unchanged.
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_int"),
                ElementsAre(std::string("plugin: ReadItem_int Value -> ") + c.pluginLine));
    const auto reasons = root.logLinesStartingWith("host: oapiReadItem_int");
    if (std::string(c.hostLine).empty()) {
        EXPECT_THAT(reasons, IsEmpty());
    } else {
        EXPECT_THAT(reasons, ElementsAre(std::string("host: oapiReadItem_int: "
                                                     "Config/Modules/Plugin/TestPlugin.cfg: "
                                                     "Value = ") +
                                         c.text + c.hostLine));
    }
}

constexpr const char* kNoInteger =
    " does not begin with an integer, so it is not found, as in the simulator";
constexpr const char* kOutOfRange =
    " is outside the range of int, where the simulator's reading is undefined; not found";

INSTANTIATE_TEST_SUITE_P(
    Values, ReadItemInt,
    ::testing::Values(
        IntCase{"42", "true 42", ""}, IntCase{"-7", "true -7", ""}, IntCase{"+5", "true 5", ""},
        IntCase{"0", "true 0", ""}, IntCase{"007", "true 7", ""},
        IntCase{"2147483647", "true 2147483647", ""},
        IntCase{"-2147483648", "true -2147483648", ""},
        IntCase{"2147483648", "false -12345", kOutOfRange},
        IntCase{"-2147483649", "false -12345", kOutOfRange},
        IntCase{"99999999999999999999999", "false -12345", kOutOfRange},
        IntCase{"1x", "true 1", " reads as 1; the rest is ignored, as in the simulator"},
        IntCase{"1 2", "true 1", " reads as 1; the rest is ignored, as in the simulator"},
        IntCase{"-3.5", "true -3", " reads as -3; the rest is ignored, as in the simulator"},
        IntCase{"0x10", "true 0", " reads as 0; the rest is ignored, as in the simulator"},
        IntCase{"x", "false -12345", kNoInteger}, IntCase{"--5", "false -12345", kNoInteger},
        IntCase{"+-5", "false -12345", kNoInteger}, IntCase{"+", "false -12345", kNoInteger},
        IntCase{".5", "false -12345", kNoInteger}));

TEST(ReadItemInt, MissingAndEmptyItemsAnswerFalseSilently) {
    const PluginRoot root;
    root.configurePlugin("ReadInts = Absent Blank\nBlank =\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_int"),
                ElementsAre("plugin: ReadItem_int Absent -> false -12345",
                            "plugin: ReadItem_int Blank -> false -12345"));
    EXPECT_THAT(root.logLinesStartingWith("host: oapiReadItem_int"), IsEmpty());
}

TEST(ItemFiles, AMissingFileGivesAHandleThatReadsNothing) {
    const PluginRoot root;
    const auto outcome = root.run({"--frames", "1"});
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_THAT(root.logLinesStartingWith("plugin: no configuration"), IsEmpty());
    EXPECT_THAT(root.logLinesStartingWith("host: oapi"),
                ElementsAre("host: oapiOpenFile: Config/Modules/Plugin/TestPlugin.cfg not found; "
                            "the simulator hands out a handle all the same, and every item read "
                            "through it is not found"));
}

}  // namespace
}  // namespace aeroquin::host::test
