// The sweep over the Mach x AOA grid: building, visiting order, cursor and texts.
#include "module/sweep/Sweeper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "module/config/Configuration.h"
#include "tests/module/sweep/SweepAxes.h"

namespace {

using aeroquin::Configuration;
using aeroquin::Sweeper;

using aeroquin::testsupport::configurationOf;

Configuration workedExample() {
    return configurationOf({0.5, 1, 2}, {5, 4}, {-10, 0, 30}, {5, 3});
}

TEST(SweeperTest, FreshSweeperIsEmptyAndHasNoCurrentPoint) {
    const Sweeper sweeper;
    EXPECT_FALSE(sweeper.finished());
    EXPECT_EQ(sweeper.aoaIndex(), 0u);
    EXPECT_EQ(sweeper.machIndex(), 0u);
    EXPECT_TRUE(sweeper.aoaPoints().empty());
    EXPECT_TRUE(sweeper.machPoints().empty());
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 0, AOA vector size: 0, Current indexes - Mach: 0 AOA: 0");
    EXPECT_THROW(static_cast<void>(sweeper.currentMach()), std::out_of_range);
    EXPECT_THROW(static_cast<void>(sweeper.currentAoaDeg()), std::out_of_range);
    EXPECT_THROW(static_cast<void>(sweeper.statusText()), std::out_of_range);
}

TEST(SweeperTest, WorkedExampleBuildsBothAxesAndStartsOnTheFirstPoint) {
    Sweeper sweeper;
    sweeper.build(workedExample());
    EXPECT_EQ(sweeper.aoaPoints(), (std::vector<double>{-10, -8, -6, -4, -2, 0, 10, 20, 30}));
    EXPECT_EQ(sweeper.machPoints(),
              (std::vector<double>{0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.25, 1.5, 1.75, 2.0}));
    EXPECT_FALSE(sweeper.finished());
    EXPECT_EQ(sweeper.currentMach(), 0.5);
    EXPECT_EQ(sweeper.currentAoaDeg(), -10.0);
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.5, AOA: -10");
    EXPECT_EQ(
        sweeper.describe(),
        "Sweeper: Mach vector size: 10, AOA vector size: 9, Current indexes - Mach: 0 AOA: 0");
}

TEST(SweeperTest, WorkedExampleVisitsNinetyPointsThenFinishes) {
    Sweeper sweeper;
    sweeper.build(workedExample());
    int points = 1;
    while (sweeper.advance()) {
        ++points;
    }
    EXPECT_EQ(points, 90);
    EXPECT_TRUE(sweeper.finished());
    EXPECT_EQ(sweeper.machIndex(), 10u);
    EXPECT_EQ(sweeper.aoaIndex(), 9u);
    EXPECT_EQ(
        sweeper.describe(),
        "Sweeper: Mach vector size: 10, AOA vector size: 9, Current indexes - Mach: 10 AOA: 9");
    EXPECT_EQ(sweeper.statusText(), "Capture completed");
    EXPECT_THROW(static_cast<void>(sweeper.currentMach()), std::out_of_range);
    EXPECT_THROW(static_cast<void>(sweeper.currentAoaDeg()), std::out_of_range);
}

TEST(SweeperTest, TwoByThreeVisitsMachOuterAoaInner) {
    Sweeper sweeper;
    sweeper.build(configurationOf({1, 2}, {1}, {0, 10, 20}, {1, 1}));
    std::vector<std::pair<double, double>> visited;
    std::vector<bool> results;
    for (int frame = 0; frame < 6; ++frame) {
        visited.emplace_back(sweeper.currentMach(), sweeper.currentAoaDeg());
        results.push_back(sweeper.advance());
    }
    const std::vector<std::pair<double, double>> expected{{1, 0}, {1, 10}, {1, 20},
                                                          {2, 0}, {2, 10}, {2, 20}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(results, (std::vector<bool>{true, true, true, true, true, false}));
    EXPECT_TRUE(sweeper.finished());
    EXPECT_EQ(sweeper.machIndex(), 2u);
    EXPECT_EQ(sweeper.aoaIndex(), 3u);
}

// Mach outermost, then the sideslip, the AOA innermost; the description and the status name the
// third axis.
TEST(SweeperTest, SideslipAxisLiesBetweenMachAndAoa) {
    Configuration configuration = configurationOf({1, 2}, {1}, {0, 10}, {1});
    configuration.sideslipIntervals = {-5, 5};
    configuration.sideslipIncrements = {1};
    Sweeper sweeper;
    sweeper.build(configuration);
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 2, AOA vector size: 2, Sideslip vector size: 2, Current "
              "indexes - Mach: 0 AOA: 0 Sideslip: 0");
    EXPECT_EQ(sweeper.statusText(), "Mach: 1, AOA: 0, Sideslip: -5");
    std::vector<std::vector<double>> visited;
    do {
        visited.push_back(
            {sweeper.currentMach(), sweeper.currentSideslipDeg(), sweeper.currentAoaDeg()});
    } while (sweeper.advance());
    const std::vector<std::vector<double>> expected{{1, -5, 0}, {1, -5, 10}, {1, 5, 0}, {1, 5, 10},
                                                    {2, -5, 0}, {2, -5, 10}, {2, 5, 0}, {2, 5, 10}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(sweeper.totalPoints(), 8U);
}

// The control level is an axis of its own, outside the sideslip and the AOA, inside Mach.
TEST(SweeperTest, ControlAxisLiesOutsideTheSideslip) {
    Configuration configuration = configurationOf({0.5, 1}, {0}, {0, 10}, {1});
    configuration.sideslipIntervals = {-5, 5};
    configuration.sideslipIncrements = {1};
    configuration.controlSurface = AIRCTRL_ELEVATOR;
    configuration.controlIntervals = {-1, 1};
    configuration.controlIncrements = {1};
    Sweeper sweeper;
    sweeper.build(configuration);
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 1, AOA vector size: 2, Sideslip vector size: 2, Control "
              "vector size: 2, Current indexes - Mach: 0 AOA: 0 Sideslip: 0 Control: 0");
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.5, AOA: 0, Sideslip: -5, Control: -1");
    std::vector<std::vector<double>> visited;
    do {
        visited.push_back(
            {sweeper.currentControlLevel(), sweeper.currentSideslipDeg(), sweeper.currentAoaDeg()});
    } while (sweeper.advance());
    const std::vector<std::vector<double>> expected{{-1, -5, 0}, {-1, -5, 10}, {-1, 5, 0},
                                                    {-1, 5, 10}, {1, -5, 0},   {1, -5, 10},
                                                    {1, 5, 0},   {1, 5, 10}};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(sweeper.totalPoints(), 8U);
}

// The rate axis lies inside the sideslip: its values about the pitch, then the roll, then the yaw
// axis, one rate at a time; its size counts all three. The fixture's middle axes hold no 0.
TEST(SweeperTest, RateAxisSweepsPitchRollYawInsideTheSideslip) {
    Configuration configuration = configurationOf({0.5, 1}, {0}, {2, 4}, {1});
    configuration.sideslipIntervals = {-5, 5};
    configuration.sideslipIncrements = {1};
    configuration.rateIntervals = {-10, 20};
    configuration.rateIncrements = {1};
    Sweeper sweeper;
    sweeper.build(configuration);
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 1, AOA vector size: 2, Sideslip vector size: 2, Rate "
              "vector size: 6, Current indexes - Mach: 0 AOA: 0 Sideslip: 0 Rate: 0");
    EXPECT_EQ(sweeper.totalPoints(), 24U);
    std::vector<std::vector<double>> visited;
    std::vector<std::string> texts;
    do {
        const auto rates = sweeper.currentRatesDegPerS();
        visited.push_back({sweeper.currentSideslipDeg(), rates.pitch, rates.roll, rates.yaw,
                           sweeper.currentAoaDeg()});
        texts.push_back(sweeper.statusText());
    } while (sweeper.advance());
    ASSERT_EQ(visited.size(), 24U);
    EXPECT_EQ(visited[0], (std::vector<double>{-5, -10, 0, 0, 2}));
    EXPECT_EQ(visited[1], (std::vector<double>{-5, -10, 0, 0, 4}));
    EXPECT_EQ(visited[2], (std::vector<double>{-5, 20, 0, 0, 2}));
    EXPECT_EQ(visited[4], (std::vector<double>{-5, 0, -10, 0, 2}));
    EXPECT_EQ(visited[11], (std::vector<double>{-5, 0, 0, 20, 4}));
    EXPECT_EQ(visited[12], (std::vector<double>{5, -10, 0, 0, 2}));
    EXPECT_EQ(texts[0], "Mach: 0.5, AOA: 2, Sideslip: -5, Pitch rate: -10");
    EXPECT_EQ(texts[5], "Mach: 0.5, AOA: 4, Sideslip: -5, Roll rate: -10");
    EXPECT_EQ(texts[23], "Mach: 0.5, AOA: 4, Sideslip: 5, Yaw rate: 20");
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 1, AOA vector size: 2, Sideslip vector size: 2, Rate "
              "vector size: 6, Current indexes - Mach: 1 AOA: 2 Sideslip: 1 Rate: 5");
}

TEST(SweeperTest, OneByOneFinishesOnTheFirstAdvance) {
    Sweeper sweeper;
    sweeper.build(configurationOf({0.8, 1}, {0}, {5, 10}, {0}));
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.8, AOA: 5");
    EXPECT_FALSE(sweeper.advance());
    EXPECT_TRUE(sweeper.finished());
    EXPECT_EQ(sweeper.statusText(), "Capture completed");
    EXPECT_EQ(sweeper.describe(),
              "Sweeper: Mach vector size: 1, AOA vector size: 1, Current indexes - Mach: 1 AOA: 1");
}

TEST(SweeperTest, AdvanceAfterTheEndChangesNothing) {
    Sweeper sweeper;
    sweeper.build(configurationOf({1, 2}, {0}, {0, 10}, {1}));
    EXPECT_TRUE(sweeper.advance());
    EXPECT_FALSE(sweeper.advance());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(sweeper.advance());
        EXPECT_TRUE(sweeper.finished());
        EXPECT_EQ(sweeper.machIndex(), 1u);
        EXPECT_EQ(sweeper.aoaIndex(), 2u);
    }
    EXPECT_EQ(sweeper.statusText(), "Capture completed");
}

TEST(SweeperTest, StatusTextUsesSixSignificantDigits) {
    Sweeper sweeper;
    // Mach 0.3, 0.5, 0.7000000000000001, 0.9000000000000001; AOA -10, 0.
    sweeper.build(configurationOf({0.3, 0.9}, {3}, {-10, 0}, {1}));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(sweeper.advance());
    }
    ASSERT_EQ(sweeper.currentMach(), 0.7000000000000001);
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.7, AOA: -10");
    ASSERT_TRUE(sweeper.advance());
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.7, AOA: 0");
    ASSERT_TRUE(sweeper.advance());
    EXPECT_EQ(sweeper.statusText(), "Mach: 0.9, AOA: -10");
}

TEST(SweeperTest, StatusTextOfLargeAndSmallValues) {
    Sweeper sweeper;
    sweeper.build(configurationOf({1234567, 2000000}, {0}, {-0.0001234567, 1}, {0}));
    EXPECT_EQ(sweeper.statusText(), "Mach: 1.23457e+06, AOA: -0.000123457");
}

TEST(SweeperTest, InvalidAxisIsLeftEmptyWithoutAnError) {
    Sweeper sweeper;
    sweeper.build(configurationOf({2, 1}, {4}, {-10, 0, 30}, {5, 3}));
    EXPECT_EQ(sweeper.aoaPoints().size(), 9u);
    EXPECT_TRUE(sweeper.machPoints().empty());
    EXPECT_THROW(static_cast<void>(sweeper.currentMach()), std::out_of_range);
    EXPECT_THROW(static_cast<void>(sweeper.statusText()), std::out_of_range);
    EXPECT_EQ(sweeper.currentAoaDeg(), -10.0);
}

TEST(SweeperTest, AoaCountWrittenMinusOneEndsInALengthErrorNamingTheAxis) {
    Sweeper sweeper;
    try {
        sweeper.build(configurationOf({0.5, 1}, {1}, {0, 10}, {4294967295u}));
        FAIL() << "nothing thrown";
    } catch (const std::length_error& error) {
        EXPECT_STREQ(error.what(),
                     "Sweeper: AOA axis of 4294967296 points exceeds the limit of 16777216 points");
    }
    EXPECT_TRUE(sweeper.aoaPoints().empty());
    EXPECT_TRUE(sweeper.machPoints().empty());
}

TEST(SweeperTest, MachAxisAboveTheCeilingFailsAfterTheAoaAxisIsBuilt) {
    Sweeper sweeper;
    try {
        sweeper.build(configurationOf({0.5, 1, 2}, {16777215u, 1}, {0, 10}, {2}));
        FAIL() << "nothing thrown";
    } catch (const std::length_error& error) {
        EXPECT_STREQ(error.what(),
                     "Sweeper: Mach axis of 16777217 points exceeds the limit of 16777216 points");
    }
    EXPECT_EQ(sweeper.aoaPoints(), (std::vector<double>{0, 5, 10}));
    EXPECT_TRUE(sweeper.machPoints().empty());
}

// The sideslip and control axes reach each bound and 0 exactly; Mach and AOA keep the arithmetic
// lower + j * step, whose residue the first two cases show.
struct ExactCase {
    std::vector<double> bounds;
    std::uint32_t steps;
    std::size_t index;  // of the point that must be exact
    double value;
};

TEST(SweeperTest, SideslipAndControlAxesHitTheirBoundsAndZeroExactly) {
    EXPECT_EQ(aeroquin::testsupport::sweepOf(configurationOf({0.5, 1}, {1}, {-0.9, 0.9}, {6}))
                  .aoaPoints()
                  .at(3),
              -0.9 + 3.0 * (1.8 / 6.0));
    for (const ExactCase& c : std::vector<ExactCase>{{{-0.8, 1}, 7, 7, 1.0},
                                                     {{0.2, 1}, 11, 11, 1.0},
                                                     {{-0.7, 1}, 13, 13, 1.0},
                                                     {{-0.9, 0.9}, 6, 3, 0.0},
                                                     {{-15, 15}, 22, 11, 0.0}}) {
        Configuration configuration = configurationOf({0.5, 1}, {1}, {0, 1}, {1});
        configuration.sideslipIntervals = c.bounds;
        configuration.sideslipIncrements = {c.steps};
        configuration.controlSurface = AIRCTRL_RUDDER;
        configuration.controlIntervals = c.bounds;
        configuration.controlIncrements = {c.steps};
        const Sweeper sweeper = aeroquin::testsupport::sweepOf(configuration);
        EXPECT_EQ(sweeper.sideslipPoints().at(c.index), c.value) << c.bounds.front();
        EXPECT_EQ(sweeper.controlPoints().at(c.index), c.value) << c.bounds.front();
        EXPECT_FALSE(std::signbit(sweeper.controlPoints().at(c.index)));
    }
}

TEST(SweeperTest, SweepBeyondTheLimitEndsInALengthErrorWhereTheCountWouldOverflow) {
    // 65537^3 > 2^48; four axes of 2^24 would wrap the count to 0.
    Configuration configuration = configurationOf({0, 1}, {65536}, {0, 1}, {65536});
    configuration.sideslipIntervals = {-1, 1};
    configuration.sideslipIncrements = {65536};
    Sweeper sweeper;
    try {
        sweeper.build(configuration);
        FAIL() << "nothing thrown";
    } catch (const std::length_error& error) {
        EXPECT_STREQ(error.what(),
                     "Sweeper: the axes make more than 281474976710656 points, the limit of one "
                     "sweep");
    }
    configuration = configurationOf({0, 1}, {65535}, {0, 1}, {65535});
    configuration.sideslipIntervals = {-1, 1};
    configuration.sideslipIncrements = {65535};
    EXPECT_EQ(aeroquin::testsupport::sweepOf(configuration).totalPoints(), std::uint64_t{1} << 48)
        << "the limit itself";
}

}  // namespace
