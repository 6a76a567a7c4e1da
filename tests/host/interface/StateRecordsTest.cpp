// The simulator's state records read from and applied to a vessel of the world.
#include "host/interface/StateRecords.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/interface/SimulatorVectors.h"
#include "host/world/AirData.h"
#include "tests/host/world/TestWorld.h"

namespace aeroquin::host {
namespace {

using testsupport::flatBody;
using testsupport::probeClass;

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Status, WrittenBackUnchangedLeavesTheAttitudeBitIdentical) {
    const Body earth("Earth", 6.37101e6, 5.973698968e24, 86164.10132, 0.4090928023, std::nullopt);
    Vessel v("V", probeClass(false), &earth);
    UnmodelledState kept;
    v.placeLanded(0.3, 0.2, {0.1234567, -0.7654321, 2.2222222});
    v.step(7.3);  // landed: the attitude now comes from turning with the body
    VESSELSTATUS2 before{};
    before.version = 2;
    ASSERT_TRUE(readStatusEx(v, kept, before));

    // The module's frame: position reset and free flight, then a new velocity.
    VESSELSTATUS2 ex = before;
    ex.status = 0;
    ex.vrot = VECTOR3{{0.0, 0.0, 0.0}};  // landed, it held the height above ground
    ex.rpos = toSimulator({6.39101e6, 0.0, 0.0});
    ASSERT_TRUE(applyStatusEx(v, kept, ex));
    VESSELSTATUS s{};
    readStatus(v, kept, s);
    s.rvel = toSimulator({1.0, 2.0, 3.0});
    applyStatus(v, kept, s);

    VESSELSTATUS2 after{};
    after.version = 2;
    ASSERT_TRUE(readStatusEx(v, kept, after));
    EXPECT_TRUE(sameBits(after.arot, before.arot));
    EXPECT_TRUE(sameBits(after.vrot, ex.vrot));
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(fromSimulator(after.rpos), (Vec3{6.39101e6, 0.0, 0.0}));
    EXPECT_EQ(fromSimulator(after.rvel), (Vec3{1.0, 2.0, 3.0}));
    // A free step with no spin keeps it too.
    v.step(0.02);
    VESSELSTATUS2 stepped{};
    stepped.version = 2;
    ASSERT_TRUE(readStatusEx(v, kept, stepped));
    EXPECT_TRUE(sameBits(stepped.arot, before.arot));
}

TEST(Status, ExtendedRecordNeedsVersionTwo) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    UnmodelledState kept;
    VESSELSTATUS2 s;
    std::memset(&s, 0xA5, sizeof s);
    s.version = 1;
    VESSELSTATUS2 copy = s;
    EXPECT_FALSE(readStatusEx(v, kept, s));
    EXPECT_EQ(std::memcmp(&s, &copy, sizeof s), 0);
    EXPECT_FALSE(applyStatusEx(v, kept, s));
}

TEST(Status, FieldsNotModelledComeBackAsSet) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    UnmodelledState kept;
    VESSELSTATUS s{};
    readStatus(v, kept, s);
    EXPECT_EQ(s.rbody, static_cast<const void*>(&body));
    s.fuel = 0.5;
    s.eng_main = 0.25;
    s.port = 3;
    s.vdata[2].y = 9.0;
    s.fdata[9] = -1.0;
    s.flag[4] = 7;
    applyStatus(v, kept, s);
    VESSELSTATUS back{};
    readStatus(v, kept, back);
    EXPECT_EQ(back.fuel, 0.5);
    EXPECT_EQ(back.eng_main, 0.25);
    EXPECT_EQ(back.port, 3);
    EXPECT_EQ(back.vdata[2].y, 9.0);
    EXPECT_EQ(back.fdata[9], -1.0);
    EXPECT_EQ(back.flag[4], 7u);

    VESSELSTATUS2 ex{};
    ex.version = 2;
    ASSERT_TRUE(readStatusEx(v, kept, ex));
    ex.xpdr = 42;
    ex.flag = 3;
    ASSERT_TRUE(applyStatusEx(v, kept, ex));
    VESSELSTATUS2 exBack{};
    exBack.version = 2;
    VESSELSTATUS2::FUELSPEC callerList{};
    exBack.fuel = &callerList;
    exBack.nfuel = 1;
    ASSERT_TRUE(readStatusEx(v, kept, exBack));
    EXPECT_EQ(exBack.xpdr, 42u);
    EXPECT_EQ(exBack.flag, 3u);
    EXPECT_EQ(exBack.port, 3);
    EXPECT_EQ(exBack.fuel, &callerList);  // the caller's lists are left alone
    EXPECT_EQ(exBack.nfuel, 1u);
}

TEST(Status, AppliesAtOnce) {
    const Body body = flatBody();
    Vessel v("V", probeClass(), &body);
    UnmodelledState kept;
    v.placeFlying(0.0, 0.0, 20000.0, {});
    VESSELSTATUS s{};
    readStatus(v, kept, s);
    s.rpos = toSimulator({1.01e6, 0.0, 0.0});  // 10 km: rho = 1.6 / e
    applyStatus(v, kept, s);
    EXPECT_NEAR(airAt(v.state()).densityKgM3, 0.58860710587430773, 1e-14);
    s.status = 1;
    applyStatus(v, kept, s);
    EXPECT_TRUE(v.landed());
    EXPECT_NEAR(airDataAt(v.state()).airspeed, 0.0, 1e-12);
}

TEST(Status, LandedRecordHoldsTheHeightAndTheAttitudeAgainstTheSurface) {
    const Body earth("Earth", 6.37101e6, 5.973698968e24, 86164.10132, 0.4090928023, std::nullopt);
    Vessel v("V", probeClass(false), &earth);
    UnmodelledState kept;
    v.placeLanded(0.3, 0.2, {0.1, -0.2, 0.3});
    v.step(1000.0);  // turned with the body
    VESSELSTATUS2 s{};
    s.version = 2;
    ASSERT_TRUE(readStatusEx(v, kept, s));
    EXPECT_EQ(s.status, 1);
    EXPECT_NEAR(s.vrot.x, 0.0, 1e-6);  // the probe class stands on the ground itself
    // Against the body-fixed frame the attitude does not change while the body turns.
    const Vec3 againstSurface = fromSimulator(s.arot);
    v.step(1000.0);
    ASSERT_TRUE(readStatusEx(v, kept, s));
    EXPECT_NEAR(s.arot.x, againstSurface.x, 1e-12);
    EXPECT_NEAR(s.arot.y, againstSurface.y, 1e-12);
    EXPECT_NEAR(s.arot.z, againstSurface.z, 1e-12);
    // Applied back as landed it stays where it was.
    const Vec3 position = v.state().position;
    ASSERT_TRUE(applyStatusEx(v, kept, s));
    EXPECT_TRUE(v.landed());
    EXPECT_NEAR(length(v.state().position - position), 0.0, 1e-6);
    EXPECT_EQ(v.state().angularVelocity, Vec3{});
}

}  // namespace
}  // namespace aeroquin::host
