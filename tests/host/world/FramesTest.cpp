#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "host/world/Attitude.h"
#include "host/world/Body.h"
#include "host/world/Vessel.h"

namespace aeroquin::host {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double earthRadius = 6.37101e6;
constexpr double earthPeriod = 86164.10132;
constexpr double earthTilt = 0.4090928023;

Body earth(double obliquity = earthTilt) {
    return Body("Earth", earthRadius, 5.973698968e24, earthPeriod, obliquity, std::nullopt);
}

void expectNear(const Vec3& a, const Vec3& b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

double determinant(const Mat3& r) {
    return dot(r.column(0), cross(r.column(1), r.column(2)));
}

void expectRotation(const Mat3& r) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(dot(r.column(i), r.column(j)), i == j ? 1.0 : 0.0, 1e-12);
        }
    }
    EXPECT_NEAR(determinant(r), 1.0, 1e-12);
}

TEST(Attitude, TurnsAboutGlobalXThenYThenZ) {
    // About x by 90 deg takes y to z; about z by 90 deg then leaves z alone.
    expectNear(attitudeMatrix({pi / 2, 0.0, pi / 2}) * Vec3{0, 1, 0}, {0, 0, 1}, 1e-15);
    // About y by 90 deg takes z to x; about z by 90 deg then takes x to y.
    expectNear(attitudeMatrix({0.0, pi / 2, pi / 2}) * Vec3{0, 0, 1}, {0, 1, 0}, 1e-15);
    expectNear(attitudeMatrix({0.0, 0.0, pi / 2}) * Vec3{1, 0, 0}, {0, 1, 0}, 1e-15);
}

TEST(Attitude, AnglesComeBackFromTheMatrix) {
    for (const Vec3 angles : {Vec3{0.1, 0.2, 0.3}, Vec3{-2.5, 1.2, 3.0}, Vec3{3.1, -1.5, -0.7}}) {
        const Mat3 r = attitudeMatrix(angles);
        expectRotation(r);
        expectNear(attitudeAngles(r), angles, 1e-12);
    }
}

TEST(Attitude, RotationAboutAnAxisMatchesTheElementaryOnes) {
    const Mat3 a = rotationAbout({0.0, 0.0, 0.7});
    const Mat3 b = rotationZ(0.7);
    for (int c = 0; c < 3; ++c) {
        expectNear(a.column(c), b.column(c), 1e-15);
    }
    expectNear(rotationAbout({0.4, 0.0, 0.0}) * Vec3{0, 1, 0}, rotationX(0.4) * Vec3{0, 1, 0},
               1e-15);
    expectRotation(rotationAbout({0.3, -1.1, 0.5}));
}

TEST(Body, NorthPoleIsTiltedYAndTheSurfaceTurnsEast) {
    const Body body = earth();
    const double omega = 2.0 * pi / earthPeriod;
    for (const double t : {0.0, 1000.0, earthPeriod / 4.0, 12345.6}) {
        expectRotation(body.rotation(t));
        expectNear(body.rotation(t).column(1), {0.0, std::cos(earthTilt), std::sin(earthTilt)},
                   1e-15);
    }
    expectNear(body.rotation(0.0).column(0), {1, 0, 0}, 0.0);
    // A quarter day later longitude 0 has turned from +x to the +z side.
    expectNear(body.rotation(earthPeriod / 4.0) * Vec3{1, 0, 0},
               {0.0, -std::sin(earthTilt), std::cos(earthTilt)}, 1e-12);
    // Equator speed 2 pi R / P = 464.581 m/s at longitude 0, t = 0, along the east direction
    // (0, -sin e, cos e) that the quarter turn above shows.
    expectNear(body.surfaceVelocity({earthRadius, 0, 0}),
               464.58137217990793 * Vec3{0.0, -std::sin(earthTilt), std::cos(earthTilt)}, 1e-9);
    expectNear(body.angularVelocity(), omega * Vec3{0.0, std::cos(earthTilt), std::sin(earthTilt)},
               1e-20);
}

std::shared_ptr<const VesselClass> plainClass() {
    auto c = std::make_shared<VesselClass>();
    c->name = "Plain";
    c->mass = 1000.0;
    return c;
}

struct Placement {
    double longitude;
    double latitude;
    double time;
    Vec3 attitude;
};

class HorizonFrame : public ::testing::TestWithParam<Placement> {};

// East, up and north as the vessel reports them, in the global frame.
Vec3 horizonAxis(const Vessel& v, Vec3 axis) {
    return v.frames().globalRot(v.frames().horizonInvRot(axis));
}

TEST_P(HorizonFrame, IsOrthonormalAndEastFollowsTheSurface) {
    const Body body = earth();
    const auto& p = GetParam();
    Vessel vessel("V", plainClass(), &body, p.time);
    vessel.placeFlying(p.longitude, p.latitude, 20000.0, p.attitude);

    Mat3 horizonToVessel;
    Mat3 vesselToGlobal;
    for (int i = 0; i < 3; ++i) {
        Vec3 unit;
        (i == 0 ? unit.x : i == 1 ? unit.y : unit.z) = 1.0;
        const Vec3 h = vessel.frames().horizonInvRot(unit);
        const Vec3 g = vessel.frames().globalRot(unit);
        for (int r = 0; r < 3; ++r) {
            horizonToVessel.m[r][i] = r == 0 ? h.x : r == 1 ? h.y : h.z;
            vesselToGlobal.m[r][i] = r == 0 ? g.x : r == 1 ? g.y : g.z;
        }
    }
    expectRotation(horizonToVessel);
    expectRotation(vesselToGlobal);

    const Vec3 east = horizonAxis(vessel, {1, 0, 0});
    const Vec3 up = horizonAxis(vessel, {0, 1, 0});
    const Vec3 north = horizonAxis(vessel, {0, 0, 1});
    expectNear(up, normalised(vessel.state().position), 1e-12);
    // The ground beneath moves east at omega R cos(latitude), with nothing north or up.
    const Vec3 ground = body.surfaceVelocity(earthRadius * normalised(vessel.state().position));
    const double speed = 2.0 * pi * earthRadius / earthPeriod * std::cos(p.latitude);
    EXPECT_GT(dot(ground, east), 0.0);
    EXPECT_NEAR(dot(ground, east), speed, 1e-9);
    EXPECT_NEAR(dot(ground, north), 0.0, 1e-9);
    EXPECT_NEAR(dot(ground, up), 0.0, 1e-9);
    // North leans towards the pole.
    EXPECT_GT(dot(north, body.rotation(p.time).column(1)), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Places, HorizonFrame,
                         ::testing::Values(Placement{0.0, 0.0, 0.0, {}},
                                           Placement{0.0, 0.0, 0.0, {0.3, -0.2, 1.0}},
                                           Placement{1.0, 0.5, 0.0, {}},
                                           Placement{-2.0, -1.2, 5000.0, {1.0, 2.0, 3.0}},
                                           Placement{3.0, 1.4, 40000.0, {-0.5, 0.1, -2.9}},
                                           Placement{0.2, -0.3, 86164.0, {0.0, 1.5, 0.0}}));

struct EquCase {
    Vec3 position;
    double time;
    double longitude;
    double latitude;
};

class EquPos : public ::testing::TestWithParam<EquCase> {};

TEST_P(EquPos, GivesTheBodyFixedPosition) {
    const Body body = earth();
    const auto& c = GetParam();
    Vessel vessel("V", plainClass(), &body, c.time);
    vessel.setFree(c.position, {}, {}, {});
    double lng = 0.0;
    double lat = 0.0;
    double rad = 0.0;
    vessel.frames().equPos(lng, lat, rad);
    EXPECT_NEAR(lng, c.longitude, 1e-12);
    EXPECT_NEAR(lat, c.latitude, 1e-12);
    EXPECT_NEAR(rad, length(c.position), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    KnownPositions, EquPos,
    ::testing::Values(
        EquCase{{earthRadius + 20000.0, 0, 0}, 0.0, 0.0, 0.0},
        // A quarter day on, the point in space lies 90 deg west on the equator.
        EquCase{{earthRadius + 20000.0, 0, 0}, earthPeriod / 4.0, -pi / 2, 0.0},
        // Global +y is the pole tilted back by the obliquity: latitude 90 deg - tilt, 90 W.
        EquCase{{0, earthRadius, 0}, 0.0, -pi / 2, pi / 2 - earthTilt},
        // An eighth of a day on, 45 deg west.
        EquCase{{7.0e6, 0, 0}, earthPeriod / 8.0, -pi / 4, 0.0}));

}  // namespace
}  // namespace aeroquin::host
