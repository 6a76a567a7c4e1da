#include "host/world/Vessel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>

#include "host/world/AirData.h"
#include "host/world/Attitude.h"
#include "tests/host/world/TestWorld.h"

namespace aeroquin::host {
namespace {

using testsupport::flatBody;
using testsupport::probeClass;

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;

// A vessel 20 km up with the given airspeed (vessel frame) and attitude.
Vessel flying(const Body& body, const Vec3& airspeed, const Vec3& attitude = {},
              std::shared_ptr<const VesselClass> vesselClass = probeClass()) {
    Vessel v("P1", std::move(vesselClass), &body);
    v.placeFlying(0.0, 0.0, 20000.0, attitude);
    v.setFree(v.state().position, v.state().velocity + v.frames().globalRot(airspeed),
              v.state().attitudeAnglesRad, {});
    return v;
}

Vec3 atAoa(double speed, double aoaDeg) {
    return {0.0, -speed * std::sin(aoaDeg * degree), speed * std::cos(aoaDeg * degree)};
}

struct ForceCase {
    Vec3 attitude;
    double aoaDeg;
    double lift;  // cl q S by hand
    double drag;  // cd q S by hand
};

class Forces : public ::testing::TestWithParam<ForceCase> {};

// 150 m/s is Mach 0.4657181471230094; rho(20 km) = 1.6 e^-2 = 0.21653645317858;
// q = 2436.0350982590.
TEST_P(Forces, MatchTheTableTimesQS) {
    const Body body = flatBody();
    const auto& c = GetParam();
    Vessel v = flying(body, atAoa(150.0, c.aoaDeg), c.attitude);
    const AirData air = airDataAt(v.state());
    EXPECT_NEAR(air.mach, 0.4657181471230094, 1e-12);
    EXPECT_NEAR(air.angleOfAttackRad, c.aoaDeg * degree, 1e-12);
    EXPECT_NEAR(air.dynamicPressurePa, 2436.035098259029, 1e-8);
    EXPECT_NEAR(airAt(v.state()).densityKgM3, 0.21653645317858033, 1e-15);
    EXPECT_DOUBLE_EQ(airAt(v.state()).temperatureK, 288.16);
    v.step(0.02);
    EXPECT_NEAR(v.loads().aero.lift, c.lift, std::abs(c.lift) * 1e-12 + 1e-9);
    EXPECT_NEAR(v.loads().aero.drag, c.drag, c.drag * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(HandValues, Forces,
                         ::testing::Values(
                             // cl = 0.1, cd = 0.1 + 0.05 M: lift 0.1 q 10, drag cd q 10.
                             ForceCase{{}, 10.0, 2436.035098259029, 3003.2879744029356},
                             ForceCase{
                                 {0.4, -1.1, 2.5}, 10.0, 2436.035098259029, 3003.2879744029356},
                             // A negative angle gives a negative lift: cl = -0.05.
                             ForceCase{{}, -5.0, -1218.0175491295145, 3003.2879744029356},
                             ForceCase{{1.0, 0.2, -0.3}, 0.0, 0.0, 3003.2879744029356}));

TEST(Forces, ActAcrossAndAgainstTheAirflow) {
    const Body body = flatBody();
    const Vec3 attitude{0.4, -1.1, 2.5};
    Vessel v = flying(body, atAoa(150.0, 10.0), attitude);
    const Vec3 v0 = v.state().velocity;
    const Vec3 r0 = v.state().position;
    const double dt = 0.02;
    v.step(dt);
    // Gravity: 6.25e12 / (1.02e6)^2 = 6.0073048827 m/s^2 towards the centre (-x).
    const Vec3 gravity{-6.007304882737409, 0.0, 0.0};
    const Vec3 aero = 1000.0 * ((v.state().velocity - v0) / dt - gravity);
    // Expected, vessel frame: lift along (0, cos a, sin a), drag along -(0, -sin a, cos a).
    const double a = 10.0 * degree;
    const Vec3 local = 2436.035098259029 * Vec3{0.0, std::cos(a), std::sin(a)} +
                       3003.2879744029356 * Vec3{0.0, std::sin(a), -std::cos(a)};
    const Vec3 expected = v.frames().globalRot(local);
    EXPECT_NEAR(aero.x, expected.x, 0.05);  // N; gravity changes a little over the step
    EXPECT_NEAR(aero.y, expected.y, 0.05);
    EXPECT_NEAR(aero.z, expected.z, 0.05);
    // As in the simulator, the step after a state was set moves the position by gravity alone.
    const Vec3 fall = v.state().position - r0 - dt * v0;
    EXPECT_NEAR(length(fall - 0.5 * dt * dt * gravity), 0.0, 1e-9);
}

// A lifting surface behind the centre of gravity turns the nose into the wind; one ahead of it
// turns the nose away.
TEST(Forces, MomentsTurnTheVesselTheWayPhysicsHasIt) {
    const Body body = flatBody();
    for (const double tailZ : {-4.0, 4.0}) {
        auto tailed = std::make_shared<VesselClass>(*probeClass());
        tailed->airfoils.front().centreOfPressure = {0.0, 0.0, tailZ};
        Vessel v = flying(body, atAoa(150.0, 10.0), {}, tailed);
        for (int i = 0; i < 10; ++i) {
            v.step(0.01);
        }
        if (tailZ < 0.0) {
            EXPECT_LT(airDataAt(v.state()).angleOfAttackRad, 9.5 * degree);
        } else {
            EXPECT_GT(airDataAt(v.state()).angleOfAttackRad, 10.5 * degree);
        }
    }
}

TEST(Forces, NoneWithoutTableAboveTheAirOrWhenLanded) {
    const Body body = flatBody();
    Vessel noTable = flying(body, atAoa(150.0, 10.0), {}, probeClass(false));
    noTable.step(0.02);
    EXPECT_EQ(noTable.loads().aero.lift, 0.0);
    EXPECT_EQ(noTable.loads().aero.drag, 0.0);

    Vessel high("High", probeClass(), &body);
    high.placeFlying(0.0, 0.0, 150000.0, {});
    high.setFree(high.state().position, high.state().velocity + Vec3{0.0, 0.0, 300.0}, {}, {});
    EXPECT_EQ(airAt(high.state()).densityKgM3, 0.0);
    high.step(0.02);
    EXPECT_EQ(high.loads().aero.lift, 0.0);
    EXPECT_EQ(high.loads().aero.drag, 0.0);

    Vessel landed = flying(body, atAoa(150.0, 10.0));
    landed.step(0.02);
    EXPECT_NE(landed.loads().aero.lift, 0.0);
    landed.placeLanded(0.0, 0.0, {});
    landed.step(0.02);
    EXPECT_EQ(landed.loads().aero.lift, 0.0);
    EXPECT_EQ(landed.loads().aero.drag, 0.0);
}

TEST(Motion, FreeFallFollowsGravity) {
    const Body body = flatBody();
    Vessel v("P1", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    const double x0 = v.state().position.x;
    v.step(0.1);
    // Still air: no force but gravity, 6.0073 m/s^2; x = x0 - g t^2 / 2, v = -g t.
    EXPECT_NEAR(v.state().position.x, x0 - 0.5 * 6.007304882737409 * 0.01, 1e-9);
    // Gravity grows by 6e-8 over the 3 cm fallen; the step averages both ends.
    EXPECT_NEAR(v.state().velocity.x, -0.6007304882737409, 5e-8);
    EXPECT_EQ(v.loads().aero.lift, 0.0);
}

TEST(Motion, TouchesDownAtTheMeanRadius) {
    const Body body = flatBody();
    Vessel v("P1", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 10.0, {});
    bool touched = false;
    for (int i = 0; i < 200 && !touched; ++i) {
        touched = v.step(0.02);
    }
    EXPECT_TRUE(touched);
    EXPECT_TRUE(v.landed());
    EXPECT_NEAR(length(v.state().position), 1.0e6, 1e-6);
}

TEST(Motion, AngularVelocityTurnsTheAttitude) {
    const Body body = flatBody();
    Vessel v("P1", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    // About the nose.
    v.setFree(v.state().position, v.state().velocity, v.state().attitudeAnglesRad, {0.0, 0.0, 0.5});
    for (int i = 0; i < 10; ++i) {
        v.step(0.1);
    }
    // Half a radian about z from the identity, in the simulator's sense: +z rolls the right wing
    // down, which its bank angle counts negative.
    EXPECT_NEAR(v.state().attitudeAnglesRad.x, 0.0, 1e-12);
    EXPECT_NEAR(v.state().attitudeAnglesRad.y, 0.0, 1e-12);
    EXPECT_NEAR(v.state().attitudeAnglesRad.z, -0.5, 1e-12);
}

// The simulator's senses, measured in its Linux build with rates of 20 deg/s for one 0.02 s step:
// +x raises the angle of attack (the nose goes up); +y raises the sideslip atan2(v_x, v_z) (the
// nose turns left, the air comes from the right); +z at a positive angle of attack raises it too
// (the right wing goes down). The vessel has no airfoil, so only the rotation moves the angles;
// each moves by about the rate times the step.
TEST(Rotation, EachAxisTurnsTheNoseTheSimulatorsWay) {
    const Body body = flatBody();
    auto bare = std::make_shared<VesselClass>(*probeClass());
    bare->airfoils.clear();
    const double w = 20.0 * degree;
    const double dt = 0.02;
    const auto after = [&](const Vec3& rotation, double aoaDeg) {
        Vessel v = flying(body, atAoa(150.0, aoaDeg), {}, bare);
        v.setFree(v.state().position, v.state().velocity, v.state().attitudeAnglesRad, rotation);
        v.step(dt);
        const Vec3 air = airspeedVector(v.state());
        return std::pair{std::atan2(-air.y, air.z) - aoaDeg * degree, std::atan2(air.x, air.z)};
    };
    // Against the same step without rotation: the planet turns the air under the vessel too.
    EXPECT_NEAR(after({w, 0.0, 0.0}, 0.0).first - after({}, 0.0).first, w * dt, 1e-5);
    EXPECT_NEAR(after({0.0, w, 0.0}, 0.0).second - after({}, 0.0).second, w * dt, 1e-5);
    EXPECT_NEAR(after({0.0, 0.0, w}, 4.0).second - after({}, 4.0).second,
                w * dt * std::sin(4.0 * degree), 1e-5);
}

TEST(Landed, RidesTheRotatingSurface) {
    const double tilt = 0.4090928023;
    const double radius = 6.37101e6;
    const double period = 86164.10132;
    const Body earth("Earth", radius, 5.973698968e24, period, tilt, std::nullopt);
    Vessel v("V", probeClass(false), &earth);
    v.placeLanded(0.0, 0.0, {0.2, 0.3, -0.4});
    const Vec3 noseBefore = v.frames().horizonInvRot({0.0, 0.0, 1.0});
    for (int i = 0; i < 100; ++i) {
        v.step(period / 400.0);
    }
    // A quarter day: longitude 0 has turned to (0, -sin e, cos e) R.
    EXPECT_NEAR(v.state().position.x, 0.0, 1e-6);
    EXPECT_NEAR(v.state().position.y, -radius * std::sin(tilt), 1e-6);
    EXPECT_NEAR(v.state().position.z, radius * std::cos(tilt), 1e-6);
    double lng = 1.0;
    double lat = 1.0;
    double rad = 0.0;
    v.frames().equPos(lng, lat, rad);
    EXPECT_NEAR(lng, 0.0, 1e-12);
    EXPECT_NEAR(lat, 0.0, 1e-12);
    EXPECT_NEAR(rad, radius, 1e-6);
    // It moves with the ground (464.58 m/s east) and so has no airspeed.
    EXPECT_NEAR(length(v.state().velocity), 2.0 * pi * radius / period, 1e-9);
    EXPECT_NEAR(airDataAt(v.state()).airspeed, 0.0, 1e-9);
    // And keeps its attitude relative to the local horizon.
    const Vec3 noseAfter = v.frames().horizonInvRot({0.0, 0.0, 1.0});
    EXPECT_NEAR(noseAfter.x, noseBefore.x, 1e-12);
    EXPECT_NEAR(noseAfter.y, noseBefore.y, 1e-12);
    EXPECT_NEAR(noseAfter.z, noseBefore.z, 1e-12);
    EXPECT_TRUE(v.landed());
}

}  // namespace
}  // namespace aeroquin::host

namespace aeroquin::host {
namespace {

using testsupport::probeClass;

struct HeadingCase {
    Vec3 attitude;
    double heading;
};

class Heading : public ::testing::TestWithParam<HeadingCase> {};

// At longitude 0, latitude 0, t = 0 with no tilt: east is global +z, north global +y.
TEST_P(Heading, IsTheNoseDirectionFromNorthTowardsEast) {
    const Body body("B", 1.0e6, 1.0e23, 1.0e5, 0.0, std::nullopt);
    Vessel v("V", probeClass(false), &body);
    v.placeLanded(0.0, 0.0, GetParam().attitude);
    EXPECT_NEAR(v.frames().headingRad(), GetParam().heading, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Compass, Heading,
    ::testing::Values(HeadingCase{{-pi / 2, 0.0, 0.0}, 0.0},      // nose along +y: north
                      HeadingCase{{0.0, 0.0, 0.0}, pi / 2},       // nose along +z: east
                      HeadingCase{{pi / 2, 0.0, 0.0}, pi},        // nose along -y: south
                      HeadingCase{{0.0, pi, 0.0}, 3.0 * pi / 2},  // nose along -z: west
                      // Nose straight up (+x): the -y axis, here east, gives the heading.
                      HeadingCase{
                          attitudeAngles(Mat3::fromColumns({0.0, -1.0, 0.0}, {0.0, 0.0, -1.0},
                                                           {1.0, 0.0, 0.0})),
                          pi / 2}));

}  // namespace
}  // namespace aeroquin::host

namespace aeroquin::host {
namespace {

// The simulator's rotation damping: torque -min(q' C_y r, I m / dt) w, q' at the airspeed plus
// 30 m/s. At 150 m/s 20 km over the flat body q' = 0.5 * 1.6 e^-2 * 180^2 = 3507.8905 Pa, so with
// C_y = 12.5 m^2, I = 1 m^2, m = 1000 kg and dt = 0.02 s the limit I m / dt is 50000 N m s.
struct DampingCase {
    double resistance;
    double omegaAfter;  // rad/s, from 0.5 about x
};

void PrintTo(const DampingCase& c, std::ostream* os) {
    *os << "RotResistance " << c.resistance;
}

class RotationDrag : public ::testing::TestWithParam<DampingCase> {};

TEST_P(RotationDrag, IsTheSimulatorsLimitedTorque) {
    const Body body = flatBody();
    auto damped = std::make_shared<VesselClass>(*testsupport::probeClass());
    damped->crossSectionsM2 = {1.0, 12.5, 1.0};
    damped->rotationDrag = {GetParam().resistance, GetParam().resistance, GetParam().resistance};
    Vessel v("P1", damped, &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    v.setFree(v.state().position, v.state().velocity + Vec3{0.0, 0.0, 150.0},
              v.state().attitudeAnglesRad, {0.5, 0.0, 0.0});
    v.step(0.02);
    EXPECT_NEAR(v.state().angularVelocity.x, GetParam().omegaAfter, 1e-8);
    // The damping is the simulator's whole torque here, and what GetAngularMoment reports.
    EXPECT_NEAR(v.loads().angularMomentNm.x, (GetParam().omegaAfter - 0.5) * 1000.0 / 0.02, 1e-3);
    EXPECT_EQ(v.state().angularVelocity.y, 0.0);
    EXPECT_EQ(v.state().angularVelocity.z, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    HandValues, RotationDrag,
    ::testing::Values(DampingCase{0.0, 0.5},
                      // 3507.8905 * 12.5 * 0.2 = 8769.73 N m s: w' = -4.38486 rad/s^2.
                      DampingCase{0.2, 0.5 - 0.02 * 0.5 * 0.2 * 12.5 * 3507.8904986929935 / 1000.0},
                      // Beyond the limit: the rotation stops within the step, and no more.
                      DampingCase{10.0, 0.0}));

// The torque GetAngularMoment reports, summed as the simulator sums it: each force F at r adds
// F x r, an airfoil +cm q S c about x. At 150 m/s and AOA 0 (q = 2436.035098259029 Pa) a tail
// 4 m behind the centre of gravity (cl 0.5, cm -0.1, S 2 m^2, c 1 m) adds -4 cl q S + cm q S c,
// a drag element of 0.3 m^2 1 m above it +0.3 q: -3.9 q in all, nose-down.
TEST(AngularMoment, IsTheSimulatorsSumByHand) {
    const Body body = flatBody();
    auto tailed = std::make_shared<VesselClass>(*testsupport::probeClass(false));
    std::string table = "mach,aoa,cl,cm,cd\n";
    for (const char* point : {"0,-180", "0,180", "10,-180", "10,180"}) {
        table += std::string(point) + ",0.5,-0.1,0.02\n";
    }
    tailed->airfoils.push_back(Airfoil{
        "Tail",
        LiftAxis::Vertical,
        {0.0, 0.0, -4.0},
        1.0,
        2.0,
        0.0,
        CoefficientSource(std::make_shared<const AeroTable>(AeroTable::fromText(table, "T")))});
    tailed->dragElements.push_back(DragElement{"Top", {0.0, 1.0, 0.0}, 0.3});
    Vessel v = flying(body, atAoa(150.0, 0.0), {}, tailed);
    v.step(0.02);
    EXPECT_NEAR(v.loads().angularMomentNm.x, -3.9 * 2436.035098259029, 1e-6);
    EXPECT_NEAR(v.loads().angularMomentNm.y, 0.0, 1e-9);
    EXPECT_NEAR(v.loads().angularMomentNm.z, 0.0, 1e-9);
}

// Out of the air only inertia turns a vessel. Euler's equations as the simulator writes them for
// its left-handed frame, I_z w_z' + (I_x - I_y) w_x w_y = 0: with I = (1, 2, 3) m^2 and
// w = (0.1, 0.1, 0) rad/s, w_z' = +1/300 rad/s^2 (one sub-step: the midpoint's w_z is 0).
TEST(Rotation, TheGyroscopicTermFollowsEulersEquations) {
    const Body body = flatBody();
    auto spinning = std::make_shared<VesselClass>(*testsupport::probeClass());
    spinning->inertiaM2 = {1.0, 2.0, 3.0};
    Vessel v("P1", spinning, &body);
    v.placeFlying(0.0, 0.0, 150000.0, {});  // above the air
    v.setFree(v.state().position, v.state().velocity, v.state().attitudeAnglesRad, {0.1, 0.1, 0.0});
    v.step(0.01);
    EXPECT_NEAR(v.state().angularVelocity.z, 0.01 / 300.0, 1e-15);
    EXPECT_NEAR(v.state().angularVelocity.x, 0.1, 1e-15);
    EXPECT_NEAR(v.state().angularVelocity.y, 0.1, 1e-15);
}

// The simulator's midpoint step: a torque turns the vessel in the step it acts, the attitude
// turning at the midpoint's rate, whose first half takes the last step's angular acceleration.
// A force added acts in its step alone. Force (0, m, 0) N at the nose (0, 0, 1) m: F x r pitches
// the nose up at 1/I_x rad/s^2 per unit mass, m/s^2.
TEST(Rotation, AddedForceTurnsAtTheMidpointRateForOneStep) {
    const Body body = flatBody();
    Vessel v("P1", testsupport::probeClass(), &body);
    Vessel still("P2", testsupport::probeClass(), &body);
    for (Vessel* each : {&v, &still}) {
        each->placeFlying(0.0, 0.0, 150000.0, {});
        each->setFree(each->state().position, each->state().velocity, {}, {});
    }
    const double m = v.vesselClass().mass;
    const double alpha = 1.0 / v.vesselClass().inertiaM2.x;  // rad/s^2
    const double h = 0.01;
    const Vec3 up = v.state().attitude.column(1);
    v.addForce({0.0, m, 0.0}, {0.0, 0.0, 1.0});
    v.step(h);
    still.step(h);
    EXPECT_NEAR(v.loads().angularMomentNm.x, m, 1e-9);
    EXPECT_NEAR(v.state().angularVelocity.x, h * alpha, 1e-15);
    // The start's angular acceleration after a state set is the kept one: 0.
    EXPECT_NEAR(dot(v.state().attitude.column(2), up), 0.0, 1e-15);
    EXPECT_NEAR(dot(v.state().velocity - still.state().velocity, up), h, 1e-12);
    v.addForce({0.0, m, 0.0}, {0.0, 0.0, 1.0});
    v.step(h);
    still.step(h);
    EXPECT_NEAR(v.state().angularVelocity.x, 2.0 * h * alpha, 1e-15);
    // Turned at h alpha + (h / 2) alpha: the nose up by 1.5 h^2 alpha.
    EXPECT_NEAR(dot(v.state().attitude.column(2), up), 1.5 * h * h * alpha, 1e-12);
    v.step(h);
    still.step(h);
    EXPECT_NEAR(v.state().angularVelocity.x, 2.0 * h * alpha, 1e-15);
    EXPECT_EQ(v.loads().angularMomentNm.x, 0.0);
    EXPECT_NEAR(dot(v.state().velocity - still.state().velocity, up), 2.0 * h, 1e-6);
}

// The angular velocity is the vessel's own: a vessel turned away from the global axes that spins
// about its nose keeps its nose where it points.
TEST(Rotation, AngularVelocityActsInTheVesselFrame) {
    const Body body = flatBody();
    Vessel v("P1", testsupport::probeClass(), &body);
    v.placeFlying(0.0, 0.0, 150000.0, {0.3, -0.7, 1.1});
    v.setFree(v.state().position, v.state().velocity, v.state().attitudeAnglesRad, {0.0, 0.0, 0.5});
    const Vec3 nose = v.state().attitude.column(2);
    for (int i = 0; i < 10; ++i) {
        v.step(0.1);
    }
    const Vec3 after = v.state().attitude.column(2);
    EXPECT_NEAR(after.x, nose.x, 1e-12);
    EXPECT_NEAR(after.y, nose.y, 1e-12);
    EXPECT_NEAR(after.z, nose.z, 1e-12);
    // ... and has turned half a radian about it: the right wing moved.
    EXPECT_NEAR(dot(v.state().attitude.column(0), nose), 0.0, 1e-12);
    EXPECT_GT(length(v.state().attitude.column(0) - attitudeMatrix({0.3, -0.7, 1.1}).column(0)),
              0.4);
}

// Landed as the simulator lands a vessel: y along the local vertical, nose to the heading.
TEST(Landed, StandsUprightWithItsNoseToTheHeading) {
    const Body earth("Earth", 6.37101e6, 5.973698968e24, 86164.10132, 0.4090928023, std::nullopt);
    for (const double heading : {0.0, 0.5 * pi, 3.5}) {
        for (const double latitude : {0.0, 0.7}) {
            Vessel v("V", testsupport::probeClass(false), &earth);
            v.placeUpright(0.3, latitude, heading);
            const Vec3 up = v.frames().horizonInvRot({0.0, 1.0, 0.0});
            EXPECT_NEAR(up.x, 0.0, 1e-12);
            EXPECT_NEAR(up.y, 1.0, 1e-12);
            EXPECT_NEAR(up.z, 0.0, 1e-12);
            EXPECT_NEAR(std::remainder(v.frames().headingRad() - heading, 2.0 * pi), 0.0, 1e-12);
            EXPECT_TRUE(v.landed());
        }
    }
}

}  // namespace
}  // namespace aeroquin::host
