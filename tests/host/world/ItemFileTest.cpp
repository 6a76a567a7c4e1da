#include "host/support/ItemFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "host/support/ParseNumber.h"
#include "tests/support/TempRoot.h"

namespace aeroquin::host {
namespace {

struct FindCase {
    const char* text;
    const char* key;
    std::optional<std::string> value;
};

class ItemFileFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(ItemFileFind, FindsTheValueTheRulesGive) {
    const auto& c = GetParam();
    EXPECT_EQ(ItemFile::fromText(c.text, "t.cfg").find(c.key), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ItemFileFind,
    ::testing::Values(
        FindCase{"Size = 5\n", "size", "5"}, FindCase{"size = 5\n", "SIZE", "5"},
        FindCase{"A = 1\nA = 2\n", "A", "1"},
        // The first match wins even when it is empty, and empty counts as missing.
        FindCase{"A =\nA = 2\n", "A", std::nullopt}, FindCase{"A = \t \n", "A", std::nullopt},
        FindCase{"A = 1 ; a remark\n", "A", "1"}, FindCase{"; A = 3\nB = 4\n", "A", std::nullopt},
        FindCase{"B = x;y\n", "B", "x"}, FindCase{"A = 1\r\nB = two words \r\n", "B", "two words"},
        FindCase{"A = 1\r\n", "A", "1"}, FindCase{"Path = a=b = c\n", "Path", "a=b = c"},
        FindCase{"  Vessel Name\t=\tX  \n", "vessel name", "X"},
        FindCase{"no equals sign\nA = 1", "A", "1"}, FindCase{"A = 1", "B", std::nullopt},
        FindCase{"\xEF\xBB\xBFVesselName = GL-01\n", "VesselName", "GL-01"},
        // END_PARSE, in any case and once the comment and the blanks are gone, ends the search.
        FindCase{"A = 1\nEND_PARSE\nB = 2\n", "B", std::nullopt},
        FindCase{" \tEnd_Parse ; the rest\nA = 1\n", "A", std::nullopt},
        FindCase{"END_PARSE = 1\nA = 2\n", "A", "2"},
        FindCase{"Name = Gr\xC3\xB6\xC3\x9F"
                 "e \xE2\x9C\x93\n",
                 "name",
                 "Gr\xC3\xB6\xC3\x9F"
                 "e \xE2\x9C\x93"},
        FindCase{"Gr\xC3\xB6\xC3\x9F"
                 "e = 1\n",
                 "GR\xC3\xB6\xC3\x9F"
                 "E",
                 "1"},
        // Only ASCII letters fold: an upper-case O-umlaut is another key.
        FindCase{"Gr\xC3\xB6\xC3\x9F"
                 "e = 1\n",
                 "Gr\xC3\x96\xC3\x9F"
                 "e",
                 std::nullopt}));

TEST(ItemFile, LineOfNamesTheFirstMatchingLine) {
    const auto items = ItemFile::fromText("; head\n\nA = 1\nB =\nA = 2\n", "t.cfg");
    EXPECT_EQ(items.lineOf("a"), 3);
    EXPECT_EQ(items.lineOf("B"), 4);
    EXPECT_EQ(items.lineOf("C"), 0);
}

TEST(ItemFile, ReadsNumbersAndChoices) {
    const auto items = ItemFile::fromText(
        "Size = 6.37101e6\nTilt = +0.5\nAtmosphere = us1976\nCount = 12 ", "t.cfg");
    EXPECT_EQ(items.requireNumber("Size"), 6.37101e6);
    EXPECT_EQ(items.requireNumber("Tilt"), 0.5);
    EXPECT_EQ(items.requireNumber("Count"), 12.0);
    EXPECT_EQ(items.optionalNumber("Missing", 7.0), 7.0);
    EXPECT_EQ(items.requireChoice("Atmosphere", {"US1976", "Isothermal", "None"}), 0u);
    EXPECT_EQ(items.optionalChoice("Status", {"Landed", "Flying"}, 1), 1u);
}

struct ErrorCase {
    const char* text;
    const char* expected;
};

class ItemFileErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ItemFileErrors, NameFileLineAndItem) {
    const auto items = ItemFile::fromText(GetParam().text, "Config/Earth.cfg");
    try {
        (void)items.requireNumber("Size");
        (void)items.requireChoice("Atmosphere", {"US1976", "Isothermal", "None"});
        FAIL() << "no error";
    } catch (const HostFileError& e) {
        EXPECT_STREQ(e.what(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ItemFileErrors,
    ::testing::Values(
        ErrorCase{"Mass = 1\n\n; x\nSize = big\n", "Config/Earth.cfg:4: Size must be a number"},
        ErrorCase{"Mass = 1\n", "Config/Earth.cfg: Size missing"},
        ErrorCase{"Mass = 1\nSize =\n", "Config/Earth.cfg:2: Size missing"},
        ErrorCase{"Size = inf\n", "Config/Earth.cfg:1: Size must be finite"},
        ErrorCase{"Size = nan\n", "Config/Earth.cfg:1: Size must be finite"},
        ErrorCase{"Size = 1,5\n", "Config/Earth.cfg:1: Size must be a number"},
        ErrorCase{"Size = 0x10\n", "Config/Earth.cfg:1: Size must be a number"},
        ErrorCase{"Size = 1 2\n", "Config/Earth.cfg:1: Size must be a number"},
        ErrorCase{"Size = 1\nAtmosphere = Air\n",
                  "Config/Earth.cfg:2: Atmosphere must be one of US1976, Isothermal, None"}));

// That such a line ends the search is the host's API's test (ItemFileApiTest); here: where it is,
// and that the host's own files refuse it.
TEST(ItemFile, ALineOf512CharactersIsFoundAndRefusedInAHostFile) {
    // 511 and 512 characters, the CR of a CRLF line end not counted.
    const std::string text =
        "A = " + std::string(507, 'a') + "\r\nB = 1\nC = " + std::string(508, 'c') + "\nD = 2\n";
    const auto items = ItemFile::fromText(text, "t.cfg");
    ASSERT_TRUE(items.longLine());
    EXPECT_EQ(items.longLine()->line, 3);
    EXPECT_EQ(items.longLine()->length, 512u);
    EXPECT_FALSE(ItemFile::fromText("END_PARSE\n" + text, "t.cfg").longLine());

    // In a host file it is an error.
    const testsupport::TempRoot root;
    root.write("Config/Earth.cfg", text);
    try {
        (void)ItemFile::load(root.path() / "Config/Earth.cfg", "Config/Earth.cfg");
        FAIL() << "no error";
    } catch (const HostFileError& e) {
        EXPECT_STREQ(e.what(),
                     "Config/Earth.cfg:3: a line of 512 characters; lines must be shorter than "
                     "512 characters, or they end the reading");
    }
}

TEST(ItemFile, UnreadableFileIsAnError) {
    try {
        (void)ItemFile::load("/nonexistent/aeroquin/x.cfg", "Config/x.cfg");
        FAIL() << "no error";
    } catch (const HostFileError& e) {
        EXPECT_STREQ(e.what(), "Config/x.cfg: cannot be read");
    }
}

TEST(ParseNumber, AcceptsOnlyWholeNumbers) {
    EXPECT_EQ(parseNumber(" -3.25 "), -3.25);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("1e-3"), 0.001);
    EXPECT_EQ(parseNumber(""), std::nullopt);
    EXPECT_EQ(parseNumber("+-1"), std::nullopt);
    EXPECT_EQ(parseNumber("3m"), std::nullopt);
    EXPECT_EQ(parseNumberList("1 -2\t3.5"), (std::vector<double>{1.0, -2.0, 3.5}));
    EXPECT_EQ(parseNumberList("1 x 3"), std::nullopt);
}

TEST(ScanInteger, ReadsWhatSscanfPercentDReads) {
    std::size_t used = 0;
    EXPECT_EQ(scanInteger(" \t-12abc", &used), -12);
    EXPECT_EQ(used, 5u);
    EXPECT_EQ(scanInteger("+7 8"), 7);
    EXPECT_EQ(scanInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
    EXPECT_EQ(scanInteger("9223372036854775808"), std::numeric_limits<long long>::max());
    EXPECT_EQ(scanInteger("-99999999999999999999"), std::numeric_limits<long long>::min());
    EXPECT_EQ(scanInteger("- 1"), std::nullopt);
    EXPECT_EQ(scanInteger(""), std::nullopt);
}

}  // namespace
}  // namespace aeroquin::host

namespace aeroquin::host {
namespace {

// A host file that cannot be read is named with the reason, not always "not found".
TEST(WhyNotAFile, NamesTheActualReason) {
    const testsupport::TempRoot root;
    root.write("Modules/Lib.so", "x");
    root.write("Modules/Dir.so/.keep", "");
    EXPECT_EQ(whyNotAFile(root.path() / "Modules/Lib.so"), "");
    EXPECT_EQ(whyNotAFile(root.path() / "Modules/Gone.so"), "not found");
    EXPECT_EQ(whyNotAFile(root.path() / "Modules/Lib.so/inside"), "not found");
    EXPECT_EQ(whyNotAFile(root.path() / "Modules/Dir.so"), "is a directory");
    EXPECT_EQ(whyNotAFile(root.path() / std::string(300, 'n')), "File name too long");
}

}  // namespace
}  // namespace aeroquin::host
