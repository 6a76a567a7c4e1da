// The vessel binding and flight condition run in-process against the real host's interface
// and simulated world, whose own view of the vessel (position, Mach, angle of attack) is the
// measure.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>

#include "host/interface/HostContext.h"
#include "host/world/AeroTable.h"
#include "host/world/AirData.h"
#include "host/world/Vessel.h"
#include "host/world/World.h"
#include "module/config/Configuration.h"
#include "module/sweep/Sweeper.h"
#include "module/vessel/VesselManager.h"
#include "tests/support/TempRoot.h"

namespace {

using aeroquin::Configuration;
using aeroquin::Sweeper;
using aeroquin::VesselManager;
using aeroquin::host::airDataAt;
using aeroquin::host::HostContext;
using aeroquin::host::HostSettings;
using aeroquin::host::World;
using aeroquin::testsupport::TempRoot;

constexpr double kDegree = std::numbers::pi / 180.0;

class VesselOnHostTest : public ::testing::Test {
  protected:
    // Sets up the host on a copy of examples/<example> and a one-point sweep at (mach, aoa).
    void start(const std::string& example, const std::string& vessel, double mach, double aoa) {
        root_ = std::make_unique<TempRoot>(example);
        HostSettings settings;
        settings.root = root_->path();
        settings.screen = false;
        host_ = std::make_unique<HostContext>(settings);
        host_->setWorld(World::load(settings.root, "Default"));
        configuration_.vesselName = vessel;
        configuration_.aoaIntervals = {aoa, aoa + 1.0};
        configuration_.aoaIncrements = {0};
        configuration_.machIntervals = {mach, mach + 1.0};
        configuration_.machIncrements = {0};
        sweeper_.build(configuration_);
        simVessel_ = host_->world()->findVessel(vessel);
        ASSERT_NE(simVessel_, nullptr);
    }

    void TearDown() override {
        manager_.reset();  // forgets the vessel while the host still runs
        host_.reset();
    }

    std::unique_ptr<TempRoot> root_;
    std::unique_ptr<HostContext> host_;
    Configuration configuration_;
    Sweeper sweeper_;
    std::unique_ptr<VesselManager> manager_ = std::make_unique<VesselManager>();
    aeroquin::host::Vessel* simVessel_ = nullptr;
};

// Binding leaves the vessel alone; the first point puts it 20 km up in free flight.
TEST_F(VesselOnHostTest, FirstPointPutsALandedVesselTwentyKilometresUpInFreeFlight) {
    start("demo", "GL-01", 0.5, 0.0);
    ASSERT_TRUE(simVessel_->landed());
    manager_->bind(configuration_);
    EXPECT_TRUE(simVessel_->landed());
    manager_->restorePosition();
    EXPECT_FALSE(simVessel_->landed());
    EXPECT_EQ(simVessel_->state().position.x, 6.37101e6 + 20000.0);
    EXPECT_EQ(simVessel_->state().position.y, 0.0);
    EXPECT_EQ(simVessel_->state().position.z, 0.0);
    EXPECT_NEAR(airDataAt(simVessel_->state()).altitudeM, 20000.0, 1e-6);
    // Landed, the record held the 1.8 m height above the runway where a free one spins.
    EXPECT_EQ(simVessel_->state().angularVelocity, (aeroquin::host::Vec3{}));
}

TEST_F(VesselOnHostTest, AtMachZeroTheVesselTurnsWithTheAtmosphere) {
    start("demo", "GL-01", 0.0, 0.0);
    manager_->bind(configuration_);
    manager_->applyTestPoint(sweeper_);
    // The surface speed is taken at the vessel's own radius: no airflow is left over.
    EXPECT_NEAR(airDataAt(simVessel_->state()).airspeed, 0.0, 1e-9);
}

struct Condition {
    double aoa;          // deg
    double attitude[3];  // deg, about x, y, z
};

void PrintTo(const Condition& c, std::ostream* out) {
    *out << "AOA " << c.aoa << " deg, attitude " << c.attitude[0] << ' ' << c.attitude[1] << ' '
         << c.attitude[2];
}

class StillAirTest : public VesselOnHostTest, public ::testing::WithParamInterface<Condition> {};

// On a body that does not turn, the host sees exactly the commanded condition whatever the
// vessel's attitude.
TEST_P(StillAirTest, HostSeesTheCommandedMachAndAngleOfAttack) {
    const Condition& c = GetParam();
    start("flat", "P1", 0.8, c.aoa);
    simVessel_->setFree(simVessel_->state().position, simVessel_->state().velocity,
                        {c.attitude[0] * kDegree, c.attitude[1] * kDegree, c.attitude[2] * kDegree},
                        {});
    const auto attitude = simVessel_->state().attitudeAnglesRad;

    manager_->bind(configuration_);
    manager_->applyTestPoint(sweeper_);
    EXPECT_NEAR(airDataAt(simVessel_->state()).angleOfAttackRad, c.aoa * kDegree, 1e-9);
    EXPECT_NEAR(airDataAt(simVessel_->state()).mach, 0.8, 1e-9);
    // Speed of sound on this body: sqrt(1.44 * 250 J/(kg K) * 288.16 K) = 322.0832190599194 m/s.
    EXPECT_NEAR(manager_->measure(sweeper_).airspeed, 0.8 * 322.0832190599194, 1e-9);
    EXPECT_EQ(simVessel_->state().attitudeAnglesRad.x, attitude.x);
    EXPECT_EQ(simVessel_->state().attitudeAnglesRad.y, attitude.y);
    EXPECT_EQ(simVessel_->state().attitudeAnglesRad.z, attitude.z);
}

INSTANTIATE_TEST_SUITE_P(Attitudes, StillAirTest,
                         ::testing::Values(Condition{0.0, {0, 0, 0}}, Condition{90.0, {0, 0, 0}},
                                           Condition{-10.0, {0, 0, 0}},
                                           Condition{0.0, {30, -20, 45}},
                                           Condition{90.0, {30, -20, 45}},
                                           Condition{-10.0, {-75, 10, 160}}));

// On the turning, tilted Earth the host sees exactly the commanded condition too, from a landed
// start and whatever the attitude.
TEST_P(StillAirTest, OnTheTurningEarthTheHostSeesTheCommand) {
    const Condition& c = GetParam();
    start("demo", "GL-01", 0.5, c.aoa);
    manager_->bind(configuration_);
    simVessel_->setFree(simVessel_->state().position, simVessel_->state().velocity,
                        {c.attitude[0] * kDegree, c.attitude[1] * kDegree, c.attitude[2] * kDegree},
                        {});

    manager_->applyTestPoint(sweeper_);
    // US Standard Atmosphere 1976: 216.65 K at 20 km; the body's R and gamma.
    const double commanded = 0.5 * std::sqrt(1.4 * 286.91 * 216.65);
    EXPECT_NEAR(manager_->measure(sweeper_).airspeed, commanded, 1e-3);
    EXPECT_NEAR(airDataAt(simVessel_->state()).airspeed, commanded, 1e-6);
    EXPECT_NEAR(airDataAt(simVessel_->state()).angleOfAttackRad, c.aoa * kDegree, 1e-9);

    // One step later the row holds the class table's signed coefficients times its 60 m^2;
    // q is read after the step, a few metres lower.
    host_->world()->step(0.02);
    const auto sample = manager_->measure(sweeper_);
    const auto table = aeroquin::host::AeroTable::load(
                           root_->path() / "Config/Vessels/DeltaWing.csv", "DeltaWing.csv")
                           .at(0.5, c.aoa);
    EXPECT_NEAR(sample.clS, 60.0 * table.cl, 2e-3 * std::abs(60.0 * table.cl) + 1e-9);
    EXPECT_NEAR(sample.cdS, 60.0 * table.cd, 2e-3 * 60.0 * table.cd);
}

}  // namespace
