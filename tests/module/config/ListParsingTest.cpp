// Whitespace-separated number lists, as the list items' value texts are parsed.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "module/config/ItemReaders.h"

namespace {

struct RealCase {
    std::string name;
    std::string text;
    bool ok;
    std::vector<double> list;  // on failure: the numbers read before it
};

void PrintTo(const RealCase& c, std::ostream* out) {
    *out << c.name;
}

class RealListTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealListTest, Parses) {
    const RealCase& c = GetParam();
    std::vector<double> list{99.0, 98.0};  // emptied first
    EXPECT_EQ(aeroquin::parseRealList(c.text, list), c.ok);
    EXPECT_EQ(list, c.list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RealListTest,
    ::testing::Values(
        RealCase{"SingleBlanks", "0 10 20", true, {0, 10, 20}},
        RealCase{"SeveralBlanks", "0   10  20", true, {0, 10, 20}},
        RealCase{"Tabs", "0\t10\t\t20", true, {0, 10, 20}},
        RealCase{"LeadingAndTrailingWhitespace", " \t 0 10 20\t  ", true, {0, 10, 20}},
        RealCase{"NewlinesAreWhitespace", "0\n10\r\n20", true, {0, 10, 20}},
        RealCase{"Empty", "", true, {}}, RealCase{"OnlyWhitespace", " \t  ", true, {}},
        RealCase{"Forms", "-10 0.5 2.5e1 2.5E-1 .5 5. +3", true, {-10, 0.5, 25, 0.25, 0.5, 5, 3}},
        RealCase{"Commas", "0,10,20", false, {0}}, RealCase{"Semicolons", "0;10;20", false, {0}},
        RealCase{"CommaAndBlank", "0, 10", false, {0}},
        RealCase{"TrailingLetters", "0 10abc", false, {0, 10}},
        RealCase{"OnlyLetters", "abc", false, {}}, RealCase{"Overflow", "1 1e999", false, {1}},
        RealCase{"NegativeOverflow", "-1e999", false, {}},
        RealCase{"LargestDouble", "1.7976931348623157e308", true, {1.7976931348623157e308}},
        RealCase{"Infinity", "inf", false, {}}, RealCase{"NotANumber", "nan", false, {}},
        RealCase{"ExponentWithoutDigits", "1e", false, {}}, RealCase{"LoneSign", "-", false, {}},
        RealCase{"Hexadecimal", "0x10", false, {0}}),
    [](const ::testing::TestParamInfo<RealCase>& testInfo) { return testInfo.param.name; });

struct CountCase {
    std::string name;
    std::string text;
    bool ok;
    std::vector<std::uint32_t> list;  // on failure: the numbers read before it
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << c.name;
}

class CountListTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountListTest, Parses) {
    const CountCase& c = GetParam();
    std::vector<std::uint32_t> list{99, 98};  // emptied first
    EXPECT_EQ(aeroquin::parseCountList(c.text, list), c.ok);
    EXPECT_EQ(list, c.list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountListTest,
    ::testing::Values(
        CountCase{"Blanks", "5  3", true, {5, 3}}, CountCase{"Tabs", "\t5\t3\t", true, {5, 3}},
        CountCase{"Zero", "0 0", true, {0, 0}}, CountCase{"Empty", "", true, {}},
        CountCase{"OnlyWhitespace", "  ", true, {}}, CountCase{"Plus", "+7", true, {7}},
        CountCase{"MinusOneWrapsToTheLargest", "-1 3", true, {4294967295u, 3}},
        CountCase{"MinusTwo", "-2", true, {4294967294u}},
        CountCase{"Largest", "4294967295", true, {4294967295u}},
        CountCase{"JustAboveTheLargest", "1 4294967296", false, {1}},
        CountCase{"NegativeJustAbove", "-4294967296", false, {}},
        CountCase{"FarAbove", "99999999999999999999", false, {}},
        CountCase{"Fraction", "5.5 4", false, {5}}, CountCase{"Exponent", "1e3", false, {1}},
        CountCase{"Commas", "5,3", false, {5}}, CountCase{"Semicolons", "5;3", false, {5}},
        CountCase{"TrailingLetters", "3x", false, {3}}),
    [](const ::testing::TestParamInfo<CountCase>& testInfo) { return testInfo.param.name; });

}  // namespace
