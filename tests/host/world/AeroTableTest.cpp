#include "host/world/AeroTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/support/HostFileError.h"

namespace aeroquin::host {
namespace {

// cl: 0 at (0, 0), 1 at (0, 10), 2 at (2, 0), 5 at (2, 10); cd = cl / 10 + 0.01.
constexpr const char* square =
    "# two by two\n"
    "mach,aoa,cl,cd\n"
    "2,10,5,0.51\n"
    "0,0,0,0.01\n"
    "2,0,2,0.21\n"
    "0,10,1,0.11\n";

struct Point {
    double mach;
    double aoa;
    double cl;
    double cd;
};

class Bilinear : public ::testing::TestWithParam<Point> {};

TEST_P(Bilinear, InterpolatesAndHoldsTheEdges) {
    const AeroTable table = AeroTable::fromText(square, "t.csv");
    const auto& p = GetParam();
    const AeroCoefficients c = table.at(p.mach, p.aoa);
    EXPECT_NEAR(c.cl, p.cl, 1e-12);
    EXPECT_NEAR(c.cd, p.cd, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    HandValues, Bilinear,
    ::testing::Values(Point{0, 0, 0, 0.01}, Point{2, 10, 5, 0.51}, Point{0, 10, 1, 0.11},
                      Point{1, 5, 2, 0.21},  // the mean of the four corners
                      // aoa a quarter in: 0.25 at Mach 0, 2.75 at Mach 2; Mach a quarter in.
                      Point{0.5, 2.5, 0.875, 0.0975}, Point{1, 0, 1, 0.11},
                      // Held beyond each edge and corner.
                      Point{-1, 5, 0.5, 0.06}, Point{7, 5, 3.5, 0.36}, Point{1, -40, 1, 0.11},
                      Point{1, 90, 3, 0.31}, Point{-3, -90, 0, 0.01}, Point{9, 90, 5, 0.51}));

TEST(AeroTable, GridOnThreeByThreeAndNaNInput) {
    const AeroTable table = AeroTable::fromText(
        "mach,aoa,cl,cd\n"
        "0,-10,-1,0\n0,0,0,0\n0,10,1,0\n"
        "1,-10,-2,1\n1,0,0,1\n1,10,2,1\n"
        "3,-10,-4,3\n3,0,0,3\n3,10,4,3\n",
        "t.csv");
    EXPECT_EQ(table.machs(), (std::vector<double>{0, 1, 3}));
    EXPECT_EQ(table.aoas(), (std::vector<double>{-10, 0, 10}));
    // Mach 2 is halfway between 1 and 3; AOA 5 halfway between 0 and 10.
    EXPECT_NEAR(table.at(2.0, 5.0).cl, 1.5, 1e-12);
    EXPECT_NEAR(table.at(2.0, 5.0).cd, 2.0, 1e-12);
    EXPECT_NEAR(table.at(0.5, -5.0).cl, -0.75, 1e-12);
    EXPECT_TRUE(std::isnan(table.at(std::numeric_limits<double>::quiet_NaN(), 0.0).cl));
}

TEST(AeroTable, ToleratesCrLfBlanksHeaderCaseAndAByteOrderMark) {
    const AeroTable table = AeroTable::fromText(
        "\r\n  # note\r\n Mach , AOA,CL ,cd\r\n0, 0,0,0\r\n0,10,1,1\r\n"
        "\r\n1,0,0,0\r\n1,10,1,1\r\n",
        "t.csv");
    EXPECT_NEAR(table.at(0.5, 5.0).cl, 0.5, 1e-12);
    // As a spreadsheet saves "CSV UTF-8".
    const AeroTable marked = AeroTable::fromText(
        "\xEF\xBB\xBFmach,aoa,cl,cd\n0,0,0,0\n0,10,1,1\n1,0,0,0\n1,10,1,1\n", "w.csv");
    EXPECT_NEAR(marked.at(0.5, 5.0).cl, 0.5, 1e-12);
}

struct ErrorCase {
    const char* text;
    const char* message;
};

class TableErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TableErrors, NameFileAndLine) {
    try {
        (void)AeroTable::fromText(GetParam().text, "Config/Vessels/T.csv");
        FAIL() << "no error";
    } catch (const HostFileError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, TableErrors,
    ::testing::Values(
        ErrorCase{"mach,aoa,cl,cd\n0,0,1,1\n0,10,1,1\n1,0,1,1\n",
                  "Config/Vessels/T.csv:4: no point for Mach 1, AOA 10: the grid has a hole"},
        ErrorCase{"mach,aoa,cl,cd\n0,0,1,1\n0,10,1,1\n1,0,1,1\n1,10,1,1\n1,10,2,2\n",
                  "Config/Vessels/T.csv:6: duplicate point Mach 1, AOA 10 (first on line 5)"},
        ErrorCase{"mach,aoa,cl,cd\n0,0,x,1\n", "Config/Vessels/T.csv:2: cl must be a number"},
        ErrorCase{"mach,aoa,cl,cd\n0,nan,1,1\n", "Config/Vessels/T.csv:2: aoa must be finite"},
        ErrorCase{"mach,aoa,cl,cd\n0,0,1,-inf\n", "Config/Vessels/T.csv:2: cd must be finite"},
        ErrorCase{"mach,aoa,cl,cd\n0,0,1\n",
                  "Config/Vessels/T.csv:2: 4 values mach,aoa,cl,cd expected"},
        ErrorCase{"# c\nmach,aoa,cl,cd\n0,0,1,1\n0,10,1,1\n",
                  "Config/Vessels/T.csv:2: the grid needs at least two Mach values and two AOA "
                  "values"},
        ErrorCase{"mach,aoa,cl,cd\n",
                  "Config/Vessels/T.csv:1: the grid needs at least two Mach values and two AOA "
                  "values"},
        ErrorCase{"mach,aoa,cl,cm,cd\n0,0,1,1\n",
                  "Config/Vessels/T.csv:2: 5 values mach,aoa,cl,cm,cd expected"},
        ErrorCase{"mach,aoa,cl,cm,cd\n0,0,1,inf,1\n", "Config/Vessels/T.csv:2: cm must be finite"},
        ErrorCase{"0,0,1,1\n",
                  "Config/Vessels/T.csv:1: header line mach,aoa,cl,cd or "
                  "mach,aoa,cl,cm,cd expected"},
        ErrorCase{"# only a comment\n",
                  "Config/Vessels/T.csv: header line mach,aoa,cl,cd or "
                  "mach,aoa,cl,cm,cd missing"}));

TEST(AeroTable, MomentColumnIsInterpolatedAndDefaultsToZero) {
    const AeroTable withMoment = AeroTable::fromText(
        "mach,aoa,cl,cm,cd\n0,0,0,0.1,0.01\n0,10,1,-0.3,0.05\n1,0,0,0.1,0.02\n1,10,1,-0.3,0.06\n",
        "T");
    const AeroCoefficients c = withMoment.at(0.5, 5.0);
    EXPECT_DOUBLE_EQ(c.cl, 0.5);
    EXPECT_DOUBLE_EQ(c.cm, -0.1);
    EXPECT_DOUBLE_EQ(c.cd, 0.035);
    const AeroTable without =
        AeroTable::fromText("mach,aoa,cl,cd\n0,0,0,1\n0,10,1,1\n1,0,0,1\n1,10,1,1\n", "T");
    EXPECT_EQ(without.at(0.5, 5.0).cm, 0.0);
}

TEST(AeroTable, DemoTableLoads) {
    const AeroTable table = AeroTable::load(
        std::string(AEROQUIN_EXAMPLES_DIR) + "/demo/Config/Vessels/DeltaWing.csv", "DeltaWing.csv");
    EXPECT_EQ(table.machs().size(), 16u);
    EXPECT_EQ(table.aoas().size(), 13u);
    // Row "0.5,10,0.5431,0.1078" of the file.
    EXPECT_DOUBLE_EQ(table.at(0.5, 10.0).cl, 0.5431);
    EXPECT_DOUBLE_EQ(table.at(0.5, 10.0).cd, 0.1078);
}

}  // namespace
}  // namespace aeroquin::host
