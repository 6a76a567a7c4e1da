// The configuration's one-line description for the host log.
#include <gtest/gtest.h>

#include "module/config/Configuration.h"

namespace {

using aeroquin::Configuration;

TEST(DescribeTest, WorkedExample) {
    Configuration c;
    c.vesselName = "TestShip";
    c.saveDirectory = "Reports";
    c.reportNameStyle = 1;
    c.aoaIntervals = {-10, 0, 30};
    c.aoaIncrements = {5, 3};
    c.machIntervals = {0.5, 1, 2};
    c.machIncrements = {5, 4};
    EXPECT_EQ(c.describe(),
              "Vessel Name:TestShip - Save Directory: Reports - Report name style: 1 - AOA "
              "Intervals: <-10, 0, 30> - AOA Increments: <5, 3> - Mach Intervals: <0.5, 1, 2> - "
              "Mach Increments: <5, 4>");
    // The optional items only when given (ReportMoments = 0 is as absent).
    c.reportMoments = true;
    c.altitudeM = 1500.25;
    EXPECT_EQ(c.describe().substr(c.describe().find(" - Mach Increments")),
              " - Mach Increments: <5, 4> - Report moments: 1 - Altitude: 1500.25");
}

TEST(DescribeTest, EmptyRecord) {
    EXPECT_EQ(Configuration{}.describe(),
              "Vessel Name: - Save Directory:  - Report name style: 0 - AOA Intervals: <> - AOA "
              "Increments: <> - Mach Intervals: <> - Mach Increments: <>");
}

TEST(DescribeTest, SixSignificantDigitsAndUnsignedCounts) {
    Configuration c;
    c.vesselName = "A B";
    c.aoaIntervals = {0.7000000000000001, 1234567.0, 0.0000001, -12.345678};
    c.aoaIncrements = {4294967295u};
    c.machIntervals = {100000.0, 1000000.0};
    EXPECT_EQ(c.describe(),
              "Vessel Name:A B - Save Directory:  - Report name style: 0 - AOA Intervals: <0.7, "
              "1.23457e+06, 1e-07, -12.3457> - AOA Increments: <4294967295> - Mach Intervals: "
              "<100000, 1e+06> - Mach Increments: <>");
}

}  // namespace
