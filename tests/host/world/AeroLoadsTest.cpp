// Forces and moments of airfoils, drag elements and control surfaces against values computed by
// hand.
#include "host/world/AeroLoads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace aeroquin::host {
namespace {

constexpr double degree = std::numbers::pi / 180.0;

CoefficientSource constant(double cl, double cm, double cd) {
    std::string text = "mach,aoa,cl,cm,cd\n";
    for (const char* point : {"0,-180", "0,180", "10,-180", "10,180"}) {
        text += std::string(point) + "," + std::to_string(cl) + "," + std::to_string(cm) + "," +
                std::to_string(cd) + "\n";
    }
    return CoefficientSource(std::make_shared<const AeroTable>(AeroTable::fromText(text, "T")));
}

void expectNear(const Vec3& actual, const Vec3& expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A wing ahead of the centre of gravity, a down-loaded tail behind and above it, and a drag
// element below, at 10 degrees in 100 m/s of air of density 1: q = 5000 Pa.
TEST(AeroLoads, TwoWingsAndADragElementSumAsComputedByHand) {
    const std::vector<Airfoil> airfoils{
        {"Wing", LiftAxis::Vertical, {0.0, 0.0, 0.5}, 2.0, 10.0, 8.0, constant(0.8, -0.05, 0.04)},
        {"Tail", LiftAxis::Vertical, {0.0, 0.3, -4.0}, 1.0, 2.0, 4.0, constant(-0.2, 0.0, 0.02)}};
    const std::vector<DragElement> drag{{"Gear", {0.0, -1.0, 0.0}, 0.5}};
    const Airflow airflow{
        {0.0, -100.0 * std::sin(10 * degree), 100.0 * std::cos(10 * degree)}, 1.0, 300.0};

    const AeroLoads loads = aeroLoads(airfoils, drag, {}, airflow, nullptr);

    EXPECT_NEAR(loads.lift, 5000.0 * (0.8 * 10.0 - 0.2 * 2.0), 1e-6);
    EXPECT_NEAR(loads.drag, 5000.0 * (0.04 * 10.0 + 0.02 * 2.0 + 0.5), 1e-6);
    EXPECT_EQ(loads.sideForce, 0.0);
    // 38000 N along (0, cos a, sin a) and 4700 N along (0, sin a, -cos a).
    expectNear(loads.force, {0.0, 38238.84104949848, 1970.0343121859755}, 1e-6);
    // F x r of each force, and the wing's cm q S c: -5000 N m (nose down, the wing's cm < 0).
    expectNear(loads.moment, {20310.60470912558, 0.0, 0.0}, 1e-6);
}

// S = 0 on a fin: the simulator's code takes |d_z| C_z + |d_x| C_z.
TEST(AeroLoads, FinWithoutAreaUsesTheProjectedCrossSectionOfTheSimulatorsCode) {
    const std::vector<Airfoil> fin{
        {"Fin", LiftAxis::Horizontal, {}, 1.0, 0.0, 1.5, constant(0.3, 0.0, 0.01)}};
    const Airflow airflow{
        {-100.0 * std::sin(5 * degree), 0.0, 100.0 * std::cos(5 * degree)}, 1.0, 300.0};

    const AeroLoads loads = aeroLoads(fin, {}, {3.0, 20.0, 4.0}, airflow, nullptr);

    EXPECT_NEAR(loads.sideForce, 6500.1026450364225, 1e-6);
    EXPECT_NEAR(loads.drag, 216.67008816788075, 1e-6);
    EXPECT_EQ(loads.lift, 0.0);
}

// A fin at 5 degrees of sideslip in 100 m/s of air of density 1 (q = 5000 Pa), behind and above
// the centre of gravity: side force cl q S along unit(v_z, 0, -v_x), drag along -v, and the
// moment F x r of both forces plus its own cm q S c about y.
TEST(AeroLoads, FinSideForceAndYawMomentByHand) {
    const Vec3 at{0.0, 0.8, -4.8};
    const std::vector<Airfoil> fin{
        {"Fin", LiftAxis::Horizontal, at, 0.9, 1.2, 1.5, constant(0.3, 0.1, 0.01)}};
    const double b = 5 * degree;
    const Airflow airflow{{-100.0 * std::sin(b), 0.0, 100.0 * std::cos(b)}, 1.0, 300.0};

    const AeroLoads loads = aeroLoads(fin, {}, {}, airflow, nullptr);

    const double side = 0.3 * 5000.0 * 1.2;  // N
    const double drag = 0.01 * 5000.0 * 1.2;
    const Vec3 force{side * std::cos(b) + drag * std::sin(b), 0.0,
                     side * std::sin(b) - drag * std::cos(b)};
    expectNear(loads.force, force, 1e-9);
    EXPECT_NEAR(loads.sideForce, side, 1e-9);
    const double ownMoment = 0.1 * 5000.0 * 1.2 * 0.9;  // N m about y
    expectNear(loads.moment, {-at.y * force.z, ownMoment - at.z * force.x, at.y * force.x}, 1e-9);
}

// A function airfoil gets the Reynolds number of its own chord: rho |v| / mu times the chord.
double reynoldsSeen = 0.0;
void recordReynolds(VESSEL* /*vessel*/, double /*aoa*/, double /*mach*/, double reynolds,
                    void* /*context*/, double* cl, double* cm, double* cd) {
    reynoldsSeen = reynolds;
    *cl = 0.0;
    *cm = 0.0;
    *cd = 0.0;
}

TEST(AeroLoads, FunctionsGetTheReynoldsNumberOfTheirChord) {
    const std::vector<Airfoil> wing{
        {"Wing",
         LiftAxis::Vertical,
         {},
         0.82,
         10.0,
         8.0,
         CoefficientSource(nullptr, recordReynolds, "recordReynolds", "Wing", "test")}};
    const Airflow airflow{{0.0, 0.0, 100.0}, 0.5, 300.0};
    static_cast<void>(aeroLoads(wing, {}, {}, airflow, nullptr));
    EXPECT_NEAR(reynoldsSeen, 0.5 * 100.0 / 1.7894e-5 * 0.82, 1e-6);
}

TEST(AeroLoads, NoneWithoutAirOrAirflow) {
    const std::vector<Airfoil> wing{
        {"Wing", LiftAxis::Vertical, {}, 1.0, 10.0, 8.0, constant(0.8, 0.1, 0.04)}};
    const std::vector<DragElement> drag{{"Gear", {}, 0.5}};
    for (const Airflow& airflow :
         {Airflow{{0.0, 0.0, 0.0}, 1.0, 300.0}, Airflow{{0.0, 0.0, 100.0}, 0.0, 0.0}}) {
        const AeroLoads loads = aeroLoads(wing, drag, {}, airflow, nullptr);
        EXPECT_EQ(loads.force, Vec3{});
        EXPECT_EQ(loads.moment, Vec3{});
        EXPECT_EQ(loads.drag, 0.0);
    }
}

// One surface of 0.5 m^2 and dCl 2 at r = (0, 1, -4) m in 100 m/s of air of density 1 along the
// nose (q = 5000 Pa): lift direction +y, side direction +x, drag -z. At level l its force is
// -l q S dCl = -5000 l N across the airflow (the axis says which way) and |l| q S = 2500 |l| N of
// drag; the moment is F x r. Every other type's level is 1: only the surface's own counts.
struct SurfaceCase {
    const char* name;
    ControlType type;
    ControlAxis axis;
    double level;
    Vec3 force;   // N
    Vec3 moment;  // N m
};

class SurfaceLoads : public ::testing::TestWithParam<SurfaceCase> {};

TEST_P(SurfaceLoads, AreInTheForceAndMomentButNotInLiftOrDrag) {
    const SurfaceCase& c = GetParam();
    const std::vector<ControlSurface> surfaces{{"S", c.type, 0.5, 2.0, {0.0, 1.0, -4.0}, c.axis}};
    Controls controls{surfaces, {}};
    controls.levels.fill(1.0);
    controls.levels.at(controlIndex(c.type)) = c.level;

    const AeroLoads loads =
        aeroLoads({}, {}, {}, Airflow{{0.0, 0.0, 100.0}, 1.0, 300.0}, nullptr, controls);

    expectNear(loads.force, c.force, 1e-9);
    expectNear(loads.moment, c.moment, 1e-9);
    EXPECT_EQ(loads.lift, 0.0);
    EXPECT_EQ(loads.drag, 0.0);
    EXPECT_EQ(loads.sideForce, 0.0);
}

using enum ControlType;
using enum ControlAxis;

// Elevator: pushed down at +0.4, the nose pitches up (+x); at -0.4 it drags as much. Rudder:
// pushed left at +0.4, the nose yaws right (-y) and the vessel rolls.
INSTANTIATE_TEST_SUITE_P(
    ByHand, SurfaceLoads,
    ::testing::ValuesIn(std::vector<SurfaceCase>{
        {"ElevatorXPos", Elevator, XPos, 0.4, {0.0, -2000.0, -1000.0}, {9000.0, 0.0, 0.0}},
        {"ElevatorXNeg", Elevator, XNeg, 0.4, {0.0, 2000.0, -1000.0}, {-7000.0, 0.0, 0.0}},
        {"ElevatorDown", Elevator, XPos, -0.4, {0.0, 2000.0, -1000.0}, {-7000.0, 0.0, 0.0}},
        {"RudderYPos", Rudder, YPos, 0.4, {-2000.0, 0.0, -1000.0}, {1000.0, -8000.0, -2000.0}},
        {"RudderYNeg", Rudder, YNeg, 0.4, {2000.0, 0.0, -1000.0}, {1000.0, 8000.0, 2000.0}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ControlAxis, AutoIsTheSimulatorsChoicePerType) {
    const Vec3 left{-2.0, 0.0, 0.0};
    EXPECT_EQ(resolvedAxis(ControlType::Flap, ControlAxis::Auto, left), ControlAxis::XPos);
    EXPECT_EQ(resolvedAxis(ControlType::RudderTrim, ControlAxis::Auto, left), ControlAxis::YPos);
    EXPECT_EQ(resolvedAxis(ControlType::Aileron, ControlAxis::Auto, -left), ControlAxis::XPos);
    EXPECT_EQ(resolvedAxis(ControlType::Aileron, ControlAxis::Auto, left), ControlAxis::XNeg);
    // The simulator's test is x > 0: an aileron on the centre line is XNeg.
    EXPECT_EQ(resolvedAxis(ControlType::Aileron, ControlAxis::Auto, Vec3{}), ControlAxis::XNeg);
}

// Elevator delay 0.5 s, the rest the default 1 s.
TEST(ControlLevels, ADirectSetActsAtOnceUntilAnySetWithoutItTurnsItIntoARamp) {
    ControlValues delays = ControlLevels::defaultDelays();
    delays.at(controlIndex(ControlType::Elevator)) = 0.5;
    ControlLevels levels(delays);
    const auto elevator = [&levels] { return levels.level(ControlType::Elevator); };

    levels.set(ControlType::Elevator, 0.3, true);
    EXPECT_EQ(elevator(), 0.0);  // the step sets it
    levels.apply(0.02);
    EXPECT_EQ(elevator(), 0.3);

    levels.set(ControlType::Elevator, -0.7, true);
    levels.set(ControlType::Flap, 0.1, false);  // the vessel's own call: the flag is gone
    levels.apply(0.1);
    EXPECT_NEAR(elevator(), 0.1, 1e-15);  // 0.1 s / 0.5 s of travel
    EXPECT_EQ(levels.level(ControlType::Flap), 0.1);
    levels.apply(0.1);  // the ramp goes on without another set
    EXPECT_NEAR(elevator(), -0.1, 1e-15);
    levels.apply(0.5);
    EXPECT_EQ(elevator(), -0.7);

    levels.set(ControlType::Aileron, 0.25, false);
    levels.apply(0.1);
    levels.apply(0.1);
    EXPECT_NEAR(levels.level(ControlType::Aileron), 0.2, 1e-15);
    levels.apply(0.1);
    EXPECT_EQ(levels.level(ControlType::Aileron), 0.25);
}

TEST(ControlLevels, ClampAsTheSimulatorDoes) {
    ControlLevels levels;
    levels.set(ControlType::Aileron, 3.0, true);
    levels.set(ControlType::RudderTrim, std::nan(""), true);  // std::max(-1, NaN) is -1
    levels.apply(0.02);
    EXPECT_EQ(levels.level(ControlType::Aileron), 1.0);
    EXPECT_EQ(levels.level(ControlType::RudderTrim), -1.0);
}

}  // namespace
}  // namespace aeroquin::host
