// Expanding one axis into its test values. Expected values are lower + j * step in double
// precision, worked out independently of this code (Python floats give the same doubles).
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "module/sweep/Sweeper.h"

namespace {

using aeroquin::Sweeper;

struct AxisCase {
    std::string name;
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
    std::vector<double> points;
};

void PrintTo(const AxisCase& c, std::ostream* out) {
    *out << c.name;
}

class BuildAxisTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(BuildAxisTest, GivesEveryPointExactly) {
    const AxisCase& c = GetParam();
    std::vector<double> points{42.0, 43.0};  // replaced
    ASSERT_TRUE(Sweeper::buildAxis(points, c.intervals, c.increments));
    ASSERT_EQ(points.size(), c.points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i], c.points[i]) << "point " << i;
    }
    // Reserved once for the exact count.
    EXPECT_EQ(points.capacity(), c.points.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildAxisTest,
    ::testing::Values(
        AxisCase{"OneInterval", {0, 10}, {2}, {0, 5, 10}},
        AxisCase{"MoreStepsThanWidth",
                 {0, 1},
                 {10},
                 {0.0, 0.1, 0.2, 0.30000000000000004, 0.4, 0.5, 0.6000000000000001,
                  0.7000000000000001, 0.8, 0.9, 1.0}},
        AxisCase{"LastPointNeedNotBeTheBound",
                 {0.3, 0.9},
                 {3},
                 {0.3, 0.5, 0.7000000000000001, 0.9000000000000001}},
        AxisCase{"FirstIntervalWithoutSteps", {0, 10, 20}, {0, 2}, {0, 15, 20}},
        AxisCase{"LastIntervalWithoutSteps", {0, 10, 20}, {2, 0}, {0, 5, 10}},
        AxisCase{"OnlyIntervalWithoutSteps", {0, 10}, {0}, {0}},
        AxisCase{"NegativeBounds", {-10, 0}, {5}, {-10, -8, -6, -4, -2, 0}},
        AxisCase{"WorkedExampleAoa", {-10, 0, 30}, {5, 3}, {-10, -8, -6, -4, -2, 0, 10, 20, 30}},
        AxisCase{"WorkedExampleMach",
                 {0.5, 1, 2},
                 {5, 4},
                 {0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.25, 1.5, 1.75, 2.0}}),
    [](const ::testing::TestParamInfo<AxisCase>& testInfo) { return testInfo.param.name; });

struct InvalidCase {
    std::string name;
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
};

void PrintTo(const InvalidCase& c, std::ostream* out) {
    *out << c.name;
}

class BuildInvalidAxisTest : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(BuildInvalidAxisTest, ReturnsFalseAndLeavesThePointsAlone) {
    const InvalidCase& c = GetParam();
    std::vector<double> points{42.0};
    EXPECT_FALSE(Sweeper::buildAxis(points, c.intervals, c.increments));
    EXPECT_EQ(points, std::vector<double>{42.0});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildInvalidAxisTest,
    ::testing::Values(InvalidCase{"Empty", {}, {}}, InvalidCase{"SingleBound", {5}, {}},
                      InvalidCase{"EqualBounds", {0, 10, 10}, {2, 2}},
                      InvalidCase{"CountMismatch", {0, 10}, {2, 2}},
                      InvalidCase{"Descending", {10, 0}, {1}},
                      // Validity is decided before the size, so no length error here.
                      InvalidCase{"DescendingAndHuge", {10, 0}, {4294967295u}}),
    [](const ::testing::TestParamInfo<InvalidCase>& testInfo) { return testInfo.param.name; });

struct CeilingCase {
    std::string name;
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
    std::string message;
};

void PrintTo(const CeilingCase& c, std::ostream* out) {
    *out << c.name;
}

class BuildAxisCeilingTest : public ::testing::TestWithParam<CeilingCase> {};

TEST_P(BuildAxisCeilingTest, RaisesALengthErrorBeforeTouchingThePoints) {
    const CeilingCase& c = GetParam();
    std::vector<double> points{42.0};
    try {
        static_cast<void>(Sweeper::buildAxis(points, c.intervals, c.increments));
        FAIL() << "nothing thrown";
    } catch (const std::length_error& error) {
        EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(points, std::vector<double>{42.0});
}

// 400 intervals of 4294967295 steps: 1 + 400 * 4294967295 = 1717986918001 points.
std::vector<double> ascending(std::size_t count) {
    std::vector<double> bounds;
    for (std::size_t i = 0; i < count; ++i) {
        bounds.push_back(static_cast<double>(i));
    }
    return bounds;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildAxisCeilingTest,
    ::testing::Values(
        CeilingCase{"CountWrittenMinusOne",
                    {0, 10},
                    {4294967295u},
                    "Sweeper: axis of 4294967296 points exceeds the limit of 16777216 points"},
        CeilingCase{"OneAboveTheCeiling",
                    {0, 10},
                    {16777216u},
                    "Sweeper: axis of 16777217 points exceeds the limit of 16777216 points"},
        CeilingCase{"SumAboveTheCeiling",
                    {0, 10, 20},
                    {8388608u, 8388608u},
                    "Sweeper: axis of 16777217 points exceeds the limit of 16777216 points"},
        CeilingCase{"SumBeyond32Bits",
                    {0, 10, 20},
                    {4294967295u, 4294967295u},
                    "Sweeper: axis of 8589934591 points exceeds the limit of 16777216 points"},
        CeilingCase{"ManyLargestCounts", ascending(401),
                    std::vector<std::uint32_t>(400, 4294967295u),
                    "Sweeper: axis of 1717986918001 points exceeds the limit of 16777216 points"}),
    [](const ::testing::TestParamInfo<CeilingCase>& testInfo) { return testInfo.param.name; });

TEST(BuildAxisTest, ExactlyTheCeilingIsBuilt) {
    std::vector<double> points;
    ASSERT_TRUE(Sweeper::buildAxis(points, {0, 16777215}, {16777215u}));
    ASSERT_EQ(points.size(), 16777216u);
    EXPECT_EQ(points.front(), 0.0);
    EXPECT_EQ(points[12345], 12345.0);
    EXPECT_EQ(points.back(), 16777215.0);
}

}  // namespace
