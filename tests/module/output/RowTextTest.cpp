#include "module/output/RowText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace aeroquin {
namespace {

struct TextCase {
    CaptureSample sample;
    std::string text;
    bool moments = false;  // a capture with ReportMoments = 1
};

ReportColumns columnsOf(bool moments) {
    Configuration configuration;
    configuration.reportMoments = moments;
    return ReportColumns(configuration);
}

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.text;
}

class CaptureSampleTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CaptureSampleTextTest, OneNumberPerColumnInGeneralNotation) {
    EXPECT_EQ(rowText(GetParam().sample, columnsOf(GetParam().moments)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CaptureSampleTextTest,
    ::testing::Values(TextCase{{0.8, 5.0, 12345.678, 250.5, 2.5, 0.25, {}},
                               "0.8; 5; 12345.7; 250.5; 2.5; 0.25; 10"},
                      TextCase{{0.8, 4.0, 45393.6, 272.235, 12.3456789, 0.98765, {}},
                               "0.8; 4; 45393.6; 272.235; 12.3457; 0.98765; 12.5001"},
                      TextCase{{1234567.0, 0.00001234, 100000.0, 999999.0, 0.0001, 1.0, {}},
                               "1.23457e+06; 1.234e-05; 100000; 999999; 0.0001; 1; 0.0001"},
                      TextCase{{0.5, -5.0, 1.0, 2.0, -3.0, 1.5, {}}, "0.5; -5; 1; 2; -3; 1.5; -2"},
                      TextCase{{1.0, 2.0, 3.0, 4.0, 2.5, 0.0, {}}, "1; 2; 3; 4; 2.5; 0; inf"},
                      TextCase{{1.0, 2.0, 3.0, 4.0, -2.5, 0.0, {}}, "1; 2; 3; 4; -2.5; 0; -inf"},
                      // With the pitching moment: an eighth number; without, none.
                      TextCase{{0.5, -5.0, 1.0, 2.0, -3.0, 1.5, -0.0123456789},
                               "0.5; -5; 1; 2; -3; 1.5; -2; -0.0123457",
                               true},
                      TextCase{{0.5, -5.0, 1.0, 2.0, -3.0, 1.5, -0.0123456789},
                               "0.5; -5; 1; 2; -3; 1.5; -2"}));

// The sign that the library prints for a NaN depends on how it arose; only "nan" is fixed.
TEST(CaptureSampleText, NotANumberValuesAreWrittenAsNan) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string text = rowText(CaptureSample{2.0, 3.0, 0.0, 0.0, nan, nan, {}});
    EXPECT_EQ(text.rfind("2; 3; 0; 0; ", 0), 0u) << text;
    EXPECT_EQ(text.find("inf"), std::string::npos) << text;
    int nans = 0;
    for (auto at = text.find("nan"); at != std::string::npos; at = text.find("nan", at + 1)) {
        ++nans;
    }
    EXPECT_EQ(nans, 3) << text;
}

TEST(CaptureSampleText, ZeroOverZeroRatioIsNan) {
    const std::string text = rowText(CaptureSample{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, {}});
    EXPECT_EQ(text.rfind("0; 0; 0; 0; 0; 0; ", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "nan") << text;
}

constexpr std::array<double, 12> kDecades{1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7,
                                          1e-6,  1e-5,  1e-4,  1e-3, 1e-2, 1e-1};

// The text is defined as what a fresh output stream writes; check that on every kind of double:
// random bit patterns (subnormals, huge, tiny, NaN payloads), rounding edges and specials.
TEST(CaptureSampleText, EqualsWhatAFreshStreamWrites) {
    const auto streamed = [](const CaptureSample& s) {
        std::ostringstream text;
        text << s.mach << "; " << s.aoa << "; " << s.dynamicPressure << "; " << s.airspeed << "; "
             << s.clS << "; " << s.cdS << "; " << s.clS / s.cdS;
        return text.str();
    };
    std::vector<double> values{0.0,
                               -0.0,
                               999999.5,
                               999999.4,
                               9.999995e-5,
                               9.99995e-5,
                               0.0001,
                               1e6,
                               -1e-300,
                               4.9e-324,
                               1.7976931348623157e308,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(value);
        values.push_back(static_cast<double>(bits % 20000001) / 1000.0 - 10000.0);
        // Seven digits ending in 5, from 1e-5 to 1e6: halfway cases in decimal, just off them in
        // binary; and plain values over the same decades.
        const double decade = kDecades[bits % kDecades.size()];
        values.push_back(static_cast<double>((bits / 7 % 900000) * 10 + 1000005) * decade);
        values.push_back(static_cast<double>(bits / 13 % 100000000) * 1e-7 * decade * 10.0);
    }
    for (std::size_t i = 0; i + 6 <= values.size(); i += 3) {
        const CaptureSample sample{
            values[i], values[i + 1], values[i + 2], values[i + 3], values[i + 4], values[i + 5],
            {}};
        ASSERT_EQ(rowText(sample), streamed(sample));
    }
}

// One RowText over a sweep-like run: columns that repeat are copied, those that change are made
// again, and values equal but not the same bits (-0 and 0, NaNs of either sign) are told apart.
TEST(RowText, KeptColumnsGiveTheTextOfAFreshRow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<CaptureSample> rows{
        {0.5, -10.0, 20706.1, 161.042, -1.0, 1.25, {}},
        {0.5, -9.97998, 20706.1, 161.042, -0.9, 1.25, {}},
        {0.5, -0.0, 20706.1, 161.042, 0.0, 1.25, {}},
        {0.5, 0.0, 20706.1, 161.042, -0.0, 1.25, {}},
        {0.5, 0.0, 0.0, 161.042, nan, nan, {}},
        {0.5, 0.0, 0.0, 161.042, -nan, nan, {}},
        {0.5, 0.0, 0.0, 161.042, inf, -inf, {}},
        {1.5, 10.0, 186355.0, 483.127, 1.0, 1.25, {}},
        {1.5, 10.0, 186355.0, 483.127, 1.0, 1.25, {}},
        {1.5, 1e-300, 186355.0, 4e300, 1.0, 1e-5, {}},
    };
    RowText kept;
    std::string text;
    for (const CaptureSample& row : rows) {
        kept.write(row, ReportColumns(), text);
        EXPECT_EQ(text, rowText(row));
    }
    EXPECT_EQ(text, "1.5; 1e-300; 186355; 4e+300; 1; 1e-05; 100000");
}

}  // namespace
}  // namespace aeroquin
