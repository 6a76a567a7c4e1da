#include "module/vessel/SurfaceVelocity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/RecordingHost.h"

namespace aeroquin {
namespace {

using aeroquin::testsupport::RecordingHost;

class SurfaceVelocityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.reset();
        vessel = &aeroquin::testsupport::addStandardVessel(host);  // R = 6e6 m, period 86400 s
        // The vessel's own distance from the centre, not the body's mean radius of 6e6 m.
        vessel->radius = 6020000.0;
    }

    VECTOR3 compute() { return surfaceVelocity(*vessel->interface, vessel->surfaceRef); }

    RecordingHost& host = RecordingHost::get();
    aeroquin::testsupport::FakeVessel* vessel = nullptr;
};

// Hand-computed: 6.02e6 m * 2 pi / 86400 s.
constexpr double kEquatorSpeed = 437.78675404191097;

TEST_F(SurfaceVelocityTest, AtTheEquatorItIsTheVesselsRadiusTimesTheRotationRate) {
    const VECTOR3 v = compute();
    EXPECT_NEAR(v.x, kEquatorSpeed, 1e-9);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 0.0);
}

TEST_F(SurfaceVelocityTest, AtTheNorthPoleItPracticallyVanishes) {
    vessel->latitude = 1.5707963267948966;
    const VECTOR3 v = compute();
    EXPECT_NEAR(v.x, 0.0, 1e-10);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 0.0);
}

TEST_F(SurfaceVelocityTest, TheEastwardVectorIsTurnedIntoTheVesselFrame) {
    // Horizon east becomes vessel z, reversed.
    vessel->horizonToVessel = aeroquin::testsupport::Matrix3{{{0, 0, 0}, {0, 0, 0}, {-1, 0, 0}}};
    const VECTOR3 v = compute();
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_NEAR(v.z, -kEquatorSpeed, 1e-9);
}

TEST_F(SurfaceVelocityTest, HostCallsInOrder) {
    (void)compute();
    EXPECT_EQ(host.callNames(),
              (std::vector<std::string>{"VESSEL::GetEquPos", "oapiGetPlanetPeriod",
                                        "VESSEL::HorizonInvRot"}));
    EXPECT_EQ(host.calls.back().args, "437.787, 0, 0");
}

}  // namespace
}  // namespace aeroquin
