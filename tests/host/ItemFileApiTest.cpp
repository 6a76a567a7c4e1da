// oapiReadItem_string and oapiReadItem_int as a module sees them: the 1000-character buffer,
// integer parsing, and the item-file rules behind both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/host/TestRoot.h"

namespace aeroquin::host::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(ReadItemString, HonoursTheThousandCharacterBuffer) {
    const TestRoot root;
    // Keys match whatever their letter case; the plug-in asks for "ReadStrings".
    root.configurePlugin(
        "readstrings = Long999 Long1000 Long5000 Missing Empty Utf\n"
        "Long999 = " +
        std::string(999, 'a') + "\n" + "Long1000 = " + std::string(1000, 'b') + "\n" +
        "Long5000 = " + std::string(5000, 'c') + "\n" +
        "Empty =   \n"
        "Utf = \xC3\x9C"
        "berschall\r\n"
        "CompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_string"),
                ElementsAre("plugin: ReadItem_string Long999 -> true 999, guard intact",
                            "plugin: ReadItem_string Long1000 -> false, guard intact",
                            "plugin: ReadItem_string Long5000 -> false, guard intact",
                            "plugin: ReadItem_string Missing -> false, guard intact",
                            "plugin: ReadItem_string Empty -> false, guard intact",
                            // Two bytes for the U with umlaut, nine more; the CR is trimmed.
                            "plugin: ReadItem_string Utf -> true 11, guard intact"));
    EXPECT_THAT(
        root.logLinesStartingWith("host: oapiReadItem_string"),
        ElementsAre("host: oapiReadItem_string: Config/Modules/Plugin/TestPlugin.cfg: the value "
                    "of Long1000 has 1000 characters; at most 999 fit the caller's buffer, so "
                    "the item is refused",
                    "host: oapiReadItem_string: Config/Modules/Plugin/TestPlugin.cfg: the value "
                    "of Long5000 has 5000 characters; at most 999 fit the caller's buffer, so "
                    "the item is refused"));
}

TEST(ReadItemString, FirstMatchWinsAndCommentsAreDropped) {
    const TestRoot root;
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

TEST_P(ReadItemInt, AcceptsOnlyWholeDecimalIntegersInRange) {
    const IntCase& c = GetParam();
    const TestRoot root;
    root.configurePlugin(std::string("ReadInts = Value\nValue = ") + c.text +
                         "\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    // The plug-in's variable holds -12345 before the call: a refusal leaves it unchanged.
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

constexpr const char* kNotInteger = " is not a whole decimal integer";
constexpr const char* kOutOfRange = " is outside the range of int";

INSTANTIATE_TEST_SUITE_P(
    Values, ReadItemInt,
    ::testing::Values(
        IntCase{"42", "true 42", ""}, IntCase{"-7", "true -7", ""}, IntCase{"+5", "true 5", ""},
        IntCase{"0", "true 0", ""}, IntCase{"007", "true 7", ""},
        IntCase{"2147483647", "true 2147483647", ""},
        IntCase{"-2147483648", "true -2147483648", ""},
        IntCase{"2147483648", "false -12345", kOutOfRange},
        IntCase{"-2147483649", "false -12345", kOutOfRange},
        IntCase{"4294967296", "false -12345", kOutOfRange},
        IntCase{"12abc", "false -12345", kNotInteger}, IntCase{"1.5", "false -12345", kNotInteger},
        IntCase{"1e3", "false -12345", kNotInteger}, IntCase{"0x10", "false -12345", kNotInteger},
        IntCase{"--5", "false -12345", kNotInteger}, IntCase{"+-5", "false -12345", kNotInteger},
        IntCase{"+", "false -12345", kNotInteger}, IntCase{"1 2", "false -12345", kNotInteger},
        IntCase{"one", "false -12345", kNotInteger}));

TEST(ReadItemInt, MissingAndEmptyItemsAnswerFalseSilently) {
    const TestRoot root;
    root.configurePlugin("ReadInts = Absent Blank\nBlank =\nCompleteAtFrame = 1\n");
    ASSERT_EQ(root.run().exitStatus, 0);
    EXPECT_THAT(root.logLinesStartingWith("plugin: ReadItem_int"),
                ElementsAre("plugin: ReadItem_int Absent -> false -12345",
                            "plugin: ReadItem_int Blank -> false -12345"));
    EXPECT_THAT(root.logLinesStartingWith("host: oapiReadItem_int"), IsEmpty());
}

TEST(ItemFiles, MissingConfigurationGivesANullHandle) {
    const TestRoot root;
    const auto outcome = root.run({"--frames", "1"});
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_THAT(root.log(), HasSubstr("\nhost: oapiOpenFile: Config/Modules/Plugin/TestPlugin.cfg "
                                      "not found\nplugin: no configuration\n"));
}

}  // namespace
}  // namespace aeroquin::host::test
