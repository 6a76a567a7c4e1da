#include "host/world/Vessel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>

namespace aeroquin::host {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;

// The flat body of examples/flat: the simulator's configured air (288.16 K everywhere), sound at
// sqrt(1.44 * 250 * 288.16) = 322.0832190599194 m/s, scale height 10000 m, GM 6.25e12,
// practically no rotation.
Body flatBody() {
    AtmosphereParams air;
    air.model = AtmosphereModel::Isothermal;
    air.gasConstant = 250.0;
    air.gamma = 1.44;
    air.pressure0 = 100000.0;
    air.density0 = 1.6;
    air.altLimit = 100000.0;
    return Body("Flat", 1.0e6, 6.25e12 / gravitationalConstant, 1e30, 0.0, air);
}

// cl = 0.01 AOA (deg), cd = 0.1 + 0.05 Mach; 1000 kg, 10 m^2.
std::shared_ptr<const VesselClass> probeClass(bool withTable = true) {
    auto c = std::make_shared<VesselClass>();
    c->name = "Probe";
    c->mass = 1000.0;
    if (withTable) {
        c->airfoils.push_back(Airfoil{
            "Table",
            LiftAxis::Vertical,
            {},
            1.0,
            10.0,
            0.0,
            CoefficientSource(std::make_shared<const AeroTable>(AeroTable::fromText(
                "mach,aoa,cl,cd\n0,-90,-0.9,0.1\n0,90,0.9,0.1\n4,-90,-0.9,0.3\n4,90,0.9,0.3\n",
                "P")))});
    }
    return c;
}

// A vessel 20 km up with the given airspeed (vessel frame) and attitude.
Vessel flying(const Body& body, const Vec3& airspeed, const Vec3& attitude = {},
              std::shared_ptr<const VesselClass> vesselClass = probeClass()) {
    Vessel v("P1", std::move(vesselClass), &body);
    v.placeFlying(0.0, 0.0, 20000.0, attitude);
    VESSELSTATUS s{};
    v.getStatus(s);
    s.rvel = toHost(fromHost(s.rvel) + fromHost(v.globalRot(toHost(airspeed))));
    v.setStatus(s);
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
    EXPECT_NEAR(v.mach(), 0.4657181471230094, 1e-12);
    EXPECT_NEAR(v.angleOfAttack(), c.aoaDeg * degree, 1e-12);
    EXPECT_NEAR(v.dynamicPressure(), 2436.035098259029, 1e-8);
    EXPECT_NEAR(v.atmDensity(), 0.21653645317858033, 1e-15);
    EXPECT_DOUBLE_EQ(v.atmTemperature(), 288.16);
    v.step(0.02);
    EXPECT_NEAR(v.lift(), c.lift, std::abs(c.lift) * 1e-12 + 1e-9);
    EXPECT_NEAR(v.drag(), c.drag, c.drag * 1e-12);
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
    const Vec3 v0 = v.velocity();
    const Vec3 r0 = v.position();
    const double dt = 0.02;
    v.step(dt);
    // Gravity: 6.25e12 / (1.02e6)^2 = 6.0073048827 m/s^2 towards the centre (-x).
    const Vec3 gravity{-6.007304882737409, 0.0, 0.0};
    const Vec3 aero = 1000.0 * ((v.velocity() - v0) / dt - gravity);
    // Expected, vessel frame: lift along (0, cos a, sin a), drag along -(0, -sin a, cos a).
    const double a = 10.0 * degree;
    const Vec3 local = 2436.035098259029 * Vec3{0.0, std::cos(a), std::sin(a)} +
                       3003.2879744029356 * Vec3{0.0, std::sin(a), -std::cos(a)};
    const Vec3 expected = fromHost(v.globalRot(toHost(local)));
    EXPECT_NEAR(aero.x, expected.x, 0.05);  // N; gravity changes a little over the step
    EXPECT_NEAR(aero.y, expected.y, 0.05);
    EXPECT_NEAR(aero.z, expected.z, 0.05);
    EXPECT_NEAR(length(v.position() - r0 - dt * v0),
                0.5 * dt * dt * length(aero / 1000.0 + gravity), 1e-6);
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
            EXPECT_LT(v.angleOfAttack(), 9.5 * degree);
        } else {
            EXPECT_GT(v.angleOfAttack(), 10.5 * degree);
        }
    }
}

TEST(Forces, NoneWithoutTableAboveTheAirOrWhenLanded) {
    const Body body = flatBody();
    Vessel noTable = flying(body, atAoa(150.0, 10.0), {}, probeClass(false));
    noTable.step(0.02);
    EXPECT_EQ(noTable.lift(), 0.0);
    EXPECT_EQ(noTable.drag(), 0.0);

    Vessel high("High", probeClass(), &body);
    high.placeFlying(0.0, 0.0, 150000.0, {});
    VESSELSTATUS s{};
    high.getStatus(s);
    s.rvel.z += 300.0;
    high.setStatus(s);
    EXPECT_EQ(high.atmDensity(), 0.0);
    high.step(0.02);
    EXPECT_EQ(high.lift(), 0.0);
    EXPECT_EQ(high.drag(), 0.0);

    Vessel landed = flying(body, atAoa(150.0, 10.0));
    landed.step(0.02);
    EXPECT_NE(landed.lift(), 0.0);
    landed.placeLanded(0.0, 0.0, {});
    landed.step(0.02);
    EXPECT_EQ(landed.lift(), 0.0);
    EXPECT_EQ(landed.drag(), 0.0);
}

TEST(Motion, FreeFallFollowsGravity) {
    const Body body = flatBody();
    Vessel v("P1", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    const double x0 = v.position().x;
    v.step(0.1);
    // Still air: no force but gravity, 6.0073 m/s^2; x = x0 - g t^2 / 2, v = -g t.
    EXPECT_NEAR(v.position().x, x0 - 0.5 * 6.007304882737409 * 0.01, 1e-9);
    // Gravity grows by 6e-8 over the 3 cm fallen; the step averages both ends.
    EXPECT_NEAR(v.velocity().x, -0.6007304882737409, 5e-8);
    EXPECT_EQ(v.lift(), 0.0);
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
    EXPECT_NEAR(length(v.position()), 1.0e6, 1e-6);
}

TEST(Motion, AngularVelocityTurnsTheAttitude) {
    const Body body = flatBody();
    Vessel v("P1", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    VESSELSTATUS s{};
    v.getStatus(s);
    s.vrot.z = 0.5;  // rad/s about the nose
    v.setStatus(s);
    for (int i = 0; i < 10; ++i) {
        v.step(0.1);
    }
    // Half a radian about z from the identity.
    EXPECT_NEAR(v.attitudeAngles().x, 0.0, 1e-12);
    EXPECT_NEAR(v.attitudeAngles().y, 0.0, 1e-12);
    EXPECT_NEAR(v.attitudeAngles().z, 0.5, 1e-12);
}

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Status, WrittenBackUnchangedLeavesTheAttitudeBitIdentical) {
    const Body earth("Earth", 6.37101e6, 5.973698968e24, 86164.10132, 0.4090928023, std::nullopt);
    Vessel v("V", probeClass(false), &earth);
    v.placeLanded(0.3, 0.2, {0.1234567, -0.7654321, 2.2222222});
    v.step(7.3);  // landed: the attitude now comes from turning with the body
    VESSELSTATUS2 before{};
    before.version = 2;
    ASSERT_TRUE(v.getStatusEx(before));

    // The module's frame: position reset and free flight, then a new velocity.
    VESSELSTATUS2 ex = before;
    ex.status = 0;
    ex.vrot = VECTOR3{{0.0, 0.0, 0.0}};  // landed, it held the height above ground
    ex.rpos = toHost({6.39101e6, 0.0, 0.0});
    ASSERT_TRUE(v.setStatusEx(ex));
    VESSELSTATUS s{};
    v.getStatus(s);
    s.rvel = toHost({1.0, 2.0, 3.0});
    v.setStatus(s);

    VESSELSTATUS2 after{};
    after.version = 2;
    ASSERT_TRUE(v.getStatusEx(after));
    EXPECT_TRUE(sameBits(after.arot, before.arot));
    EXPECT_TRUE(sameBits(after.vrot, ex.vrot));
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(fromHost(after.rpos), (Vec3{6.39101e6, 0.0, 0.0}));
    EXPECT_EQ(fromHost(after.rvel), (Vec3{1.0, 2.0, 3.0}));
    // A free step with no spin keeps it too.
    v.step(0.02);
    VESSELSTATUS2 stepped{};
    stepped.version = 2;
    ASSERT_TRUE(v.getStatusEx(stepped));
    EXPECT_TRUE(sameBits(stepped.arot, before.arot));
}

TEST(Status, ExtendedRecordNeedsVersionTwo) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    VESSELSTATUS2 s;
    std::memset(&s, 0xA5, sizeof s);
    s.version = 1;
    VESSELSTATUS2 copy = s;
    EXPECT_FALSE(v.getStatusEx(s));
    EXPECT_EQ(std::memcmp(&s, &copy, sizeof s), 0);
    EXPECT_FALSE(v.setStatusEx(s));
}

TEST(Status, FieldsNotModelledComeBackAsSet) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    VESSELSTATUS s{};
    v.getStatus(s);
    EXPECT_EQ(s.rbody, static_cast<const void*>(&body));
    s.fuel = 0.5;
    s.eng_main = 0.25;
    s.port = 3;
    s.vdata[2].y = 9.0;
    s.fdata[9] = -1.0;
    s.flag[4] = 7;
    v.setStatus(s);
    VESSELSTATUS back{};
    v.getStatus(back);
    EXPECT_EQ(back.fuel, 0.5);
    EXPECT_EQ(back.eng_main, 0.25);
    EXPECT_EQ(back.port, 3);
    EXPECT_EQ(back.vdata[2].y, 9.0);
    EXPECT_EQ(back.fdata[9], -1.0);
    EXPECT_EQ(back.flag[4], 7u);

    VESSELSTATUS2 ex{};
    ex.version = 2;
    ASSERT_TRUE(v.getStatusEx(ex));
    ex.xpdr = 42;
    ex.flag = 3;
    ASSERT_TRUE(v.setStatusEx(ex));
    VESSELSTATUS2 exBack{};
    exBack.version = 2;
    VESSELSTATUS2::FUELSPEC callerList{};
    exBack.fuel = &callerList;
    exBack.nfuel = 1;
    ASSERT_TRUE(v.getStatusEx(exBack));
    EXPECT_EQ(exBack.xpdr, 42u);
    EXPECT_EQ(exBack.flag, 3u);
    EXPECT_EQ(exBack.port, 3);
    EXPECT_EQ(exBack.fuel, &callerList);  // the caller's lists are left alone
    EXPECT_EQ(exBack.nfuel, 1u);
}

TEST(Status, AppliesAtOnce) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    v.placeFlying(0.0, 0.0, 20000.0, {});
    VESSELSTATUS s{};
    v.getStatus(s);
    s.rpos = toHost({1.01e6, 0.0, 0.0});  // 10 km: rho = 1.6 / e
    v.setStatus(s);
    EXPECT_NEAR(v.atmDensity(), 0.58860710587430773, 1e-14);
    s.status = 1;
    v.setStatus(s);
    EXPECT_TRUE(v.landed());
    EXPECT_NEAR(v.airspeed(), 0.0, 1e-12);
}

TEST(Landed, RidesTheRotatingSurface) {
    const double tilt = 0.4090928023;
    const double radius = 6.37101e6;
    const double period = 86164.10132;
    const Body earth("Earth", radius, 5.973698968e24, period, tilt, std::nullopt);
    Vessel v("V", probeClass(false), &earth);
    v.placeLanded(0.0, 0.0, {0.2, 0.3, -0.4});
    const Vec3 noseBefore = fromHost(v.horizonInvRot(toHost({0.0, 0.0, 1.0})));
    for (int i = 0; i < 100; ++i) {
        v.step(period / 400.0);
    }
    // A quarter day: longitude 0 has turned to (0, -sin e, cos e) R.
    EXPECT_NEAR(v.position().x, 0.0, 1e-6);
    EXPECT_NEAR(v.position().y, -radius * std::sin(tilt), 1e-6);
    EXPECT_NEAR(v.position().z, radius * std::cos(tilt), 1e-6);
    double lng = 1.0;
    double lat = 1.0;
    double rad = 0.0;
    v.equPos(lng, lat, rad);
    EXPECT_NEAR(lng, 0.0, 1e-12);
    EXPECT_NEAR(lat, 0.0, 1e-12);
    EXPECT_NEAR(rad, radius, 1e-6);
    // It moves with the ground (464.58 m/s east) and so has no airspeed.
    EXPECT_NEAR(length(v.velocity()), 2.0 * pi * radius / period, 1e-9);
    EXPECT_NEAR(v.airspeed(), 0.0, 1e-9);
    // And keeps its attitude relative to the local horizon.
    const Vec3 noseAfter = fromHost(v.horizonInvRot(toHost({0.0, 0.0, 1.0})));
    EXPECT_NEAR(noseAfter.x, noseBefore.x, 1e-12);
    EXPECT_NEAR(noseAfter.y, noseBefore.y, 1e-12);
    EXPECT_NEAR(noseAfter.z, noseBefore.z, 1e-12);
    EXPECT_TRUE(v.landed());
}

}  // namespace
}  // namespace aeroquin::host

namespace aeroquin::host {
namespace {

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
    VESSELSTATUS2 s{};
    s.version = 2;
    ASSERT_TRUE(v.getStatusEx(s));
    EXPECT_NEAR(s.surf_hdg, GetParam().heading, 1e-12);
    EXPECT_NEAR(s.surf_lng, 0.0, 1e-15);
    EXPECT_NEAR(s.surf_lat, 0.0, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Compass, Heading,
    ::testing::Values(HeadingCase{{-pi / 2, 0.0, 0.0}, 0.0},        // nose along +y: north
                      HeadingCase{{0.0, 0.0, 0.0}, pi / 2},         // nose along +z: east
                      HeadingCase{{pi / 2, 0.0, 0.0}, pi},          // nose along -y: south
                      HeadingCase{{0.0, pi, 0.0}, 3.0 * pi / 2}));  // nose along -z: west

}  // namespace
}  // namespace aeroquin::host
