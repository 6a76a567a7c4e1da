// The axis rule: at least two strictly ascending bounds and one step count per interval.
#include "module/config/AxisValidation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct AxisCase {
    std::string name;
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
    bool valid;
};

void PrintTo(const AxisCase& c, std::ostream* out) {
    *out << c.name;
}

class AxisValidationTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(AxisValidationTest, Decides) {
    const AxisCase& c = GetParam();
    EXPECT_EQ(aeroquin::isValidAxis(c.intervals, c.increments), c.valid);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisValidationTest,
    ::testing::Values(AxisCase{"Empty", {}, {}, false},
                      AxisCase{"NoBoundsWithIncrements", {}, {3, 4}, false},
                      AxisCase{"SingleBound", {5}, {}, false},
                      AxisCase{"SingleBoundOneIncrement", {5}, {1}, false},
                      AxisCase{"OneInterval", {0, 10}, {2}, true},
                      AxisCase{"WorkedExample", {-10, 0, 30}, {5, 3}, true},
                      AxisCase{"EqualNeighbours", {0, 10, 10}, {2, 2}, false},
                      AxisCase{"TwoBoundsTwoIncrements", {0, 10}, {2, 2}, false},
                      AxisCase{"TwoBoundsNoIncrement", {0, 10}, {}, false},
                      AxisCase{"ZeroIncrements", {0, 10, 20}, {0, 0}, true},
                      AxisCase{"Descending", {10, 0}, {1}, false},
                      AxisCase{"DescendingLater", {0, 10, 5}, {1, 1}, false},
                      AxisCase{"NegativeBounds", {-5, -1}, {4294967295u}, true},
                      AxisCase{"NaNBound", {0, kNaN}, {1}, false},
                      AxisCase{"TinyAscent", {1.0, 1.0000000000000002}, {1}, true}),
    [](const ::testing::TestParamInfo<AxisCase>& testInfo) { return testInfo.param.name; });

}  // namespace
