#include "module/vessel/VesselManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "module/config/ConfigurationError.h"
#include "module/output/RowText.h"
#include "tests/fakes/RecordingHost.h"
#include "tests/module/sweep/SweepAxes.h"

namespace aeroquin {
namespace {

using aeroquin::testsupport::FakeVessel;
using aeroquin::testsupport::RecordingHost;
using testsupport::configurationOf;
using testsupport::sweepOf;
using Names = std::vector<std::string>;

// Mach 2 and 3; AOA -10, 0 and 90 degrees.
Configuration standardConfiguration() {
    return configurationOf({2.0, 3.0}, {1}, {-10.0, 0.0, 90.0}, {1, 1});
}

// Hand-computed: 2 * sqrt(250 K * 1.4 * 287 J/(kg K)).
constexpr double kMach2Airspeed = 633.8769596696192;
// Hand-computed: 6.02e6 m (the anchor's distance from the centre) * 2 pi / 86400 s.
constexpr double kEquatorSpeed = 437.78675404191097;

OBJHANDLE fakeHandle(std::uintptr_t value) {
    return reinterpret_cast<OBJHANDLE>(value);
}

VECTOR3 vec(double x, double y, double z) {
    return VECTOR3{{x, y, z}};
}

void expectVector(const VECTOR3& actual, double x, double y, double z) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

void expectVectorNear(const VECTOR3& actual, double x, double y, double z, double tolerance) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

class VesselManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.reset();
        vessel = &aeroquin::testsupport::addStandardVessel(host);
        // A landed vessel somewhere else, so that the anchoring shows.
        vessel->statusEx.status = 1;
        vessel->statusEx.rpos = vec(1.0, 2.0, 3.0);
        vessel->radius = 6020000.0;  // what GetEquPos reports at the anchor
    }

    // Binds the standard vessel and forgets the calls that binding made.
    void bindStandard() {
        manager.bind(configuration);
        host.calls.clear();
    }

    RecordingHost& host = RecordingHost::get();
    FakeVessel* vessel = nullptr;
    Configuration configuration = standardConfiguration();
    VesselManager manager;
};

// ---- bind ----

// Binding only reads: a capture refused later leaves the vessel as it was. The first test point
// puts it 20 km above the mean radius in free flight.
TEST_F(VesselManagerTest, BindSetsNothingAndTheFirstPointFliesTwentyKilometresUp) {
    manager.bind(configuration);
    EXPECT_EQ(vessel->statusEx.status, 1);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselByName", "oapiGetVesselInterface", "VESSEL::AttachmentCount",
                     "VESSEL::DockCount", "VESSEL::GetSurfaceRef", "oapiGetPlanetAtmConstants",
                     "oapiGetSize"}));
    EXPECT_EQ(host.calls[0].args, "Probe");

    manager.restorePosition();
    EXPECT_EQ(vessel->statusEx.status, 0);
    expectVector(vessel->statusEx.rpos, 6020000.0, 0.0, 0.0);
}

// An attached vessel moves with its parent, and the simulator computes no aerodynamics for it; a
// docked one moves with its whole stack. Whichever point or port holds it: the free ones before
// it say nothing. Refused at binding; found at a later point, it ends the capture.
struct CaptiveCase {
    const char* name;
    int freeParentPoints;
    bool attached;
    int freePorts;
    bool docked;
    const char* state;  // captiveState()
};

void PrintTo(const CaptiveCase& c, std::ostream* out) {
    *out << c.name;
}

class CaptiveVesselTest : public VesselManagerTest,
                          public ::testing::WithParamInterface<CaptiveCase> {};

TEST_P(CaptiveVesselTest, IsRefusedAtBindingAndFoundLaterNamingTheOther) {
    const CaptiveCase& c = GetParam();
    host.addVessel("SH-15", &host.bodies.front());
    vessel->freeParentPoints = c.freeParentPoints;
    vessel->freePorts = c.freePorts;
    vessel->attachedTo = c.attached ? "SH-15" : "";
    vessel->dockedTo = c.docked ? "SH-15" : "";
    const std::string expected = std::string("Vessel Probe ") + c.state +
                                 (c.attached ? ": the simulator computes no aerodynamics for it"
                                             : ": the simulator would move and measure the whole "
                                               "stack");
    try {
        manager.bind(configuration);
        FAIL() << "bind accepted a captive vessel";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), expected);
    }
    EXPECT_EQ(host.count("VESSEL::DefSetStateEx"), 0);

    // Free at binding, captive later.
    vessel->attachedTo.clear();
    vessel->dockedTo.clear();
    VesselManager later;
    later.bind(configuration);
    EXPECT_EQ(later.captiveState(), "");
    vessel->attachedTo = c.attached ? "SH-15" : "";
    vessel->dockedTo = c.docked ? "SH-15" : "";
    EXPECT_EQ(later.captiveState(), c.state);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaptiveVesselTest,
    ::testing::Values(CaptiveCase{"Attached", 0, true, 0, false, "is attached to SH-15"},
                      CaptiveCase{"AttachedAtTheSecondPoint", 1, true, 0, false,
                                  "is attached to SH-15"},
                      CaptiveCase{"Docked", 0, false, 0, true, "is docked to SH-15"},
                      CaptiveCase{"DockedAtTheThirdPort", 0, false, 2, true, "is docked to SH-15"}),
    [](const ::testing::TestParamInfo<CaptiveCase>& param) { return param.param.name; });

TEST_F(VesselManagerTest, UnknownVesselIsRefusedByNameAndLeavesNoHandle) {
    configuration.vesselName = "Ghost Ship";
    try {
        manager.bind(configuration);
        FAIL() << "bind accepted a vessel that does not exist";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Vessel Ghost Ship was not found in the simulation");
    }
    EXPECT_EQ(host.callNames(), (Names{"oapiGetVesselByName"}));

    // No handle is held: nothing reaches the host any more.
    host.calls.clear();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    EXPECT_EQ(manager.vesselClassName(), "");
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(VesselManagerTest, VesselWithoutSurfaceIsRefusedKeepsItsHandleAndSetsNoAnchor) {
    host.failing.insert("VESSEL::GetSurfaceRef");
    try {
        manager.bind(configuration);
        FAIL() << "bind accepted a vessel without reference surface";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Vessel Probe has no reference surface");
    }
    EXPECT_EQ(host.count("VESSEL::DefSetStateEx"), 0);
    EXPECT_EQ(host.count("oapiGetSize"), 0);

    host.failing.clear();
    EXPECT_EQ(manager.vesselClassName(), "Glider");
    manager.restorePosition();
    expectVector(vessel->statusEx.rpos, 0.0, 0.0, 0.0);
}

TEST_F(VesselManagerTest, VesselWithoutInterfaceIsAcceptedQuietlyAndLeftUntouched) {
    vessel->hasInterface = false;
    EXPECT_NO_THROW(manager.bind(configuration));
    EXPECT_EQ(host.callNames(), (Names{"oapiGetVesselByName", "oapiGetVesselInterface"}));
    EXPECT_EQ(vessel->statusEx.status, 1);

    vessel->hasInterface = true;
    manager.restorePosition();
    expectVector(vessel->statusEx.rpos, 0.0, 0.0, 0.0);
}

TEST_F(VesselManagerTest, BodyWithoutAtmosphereIsRefusedBeforeAnythingIsSet) {
    host.bodies.front().hasAtmosphere = false;
    try {
        manager.bind(configuration);
        FAIL() << "bind accepted a body without atmosphere";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Vessel Probe has no atmosphere data on its reference body");
    }
    EXPECT_EQ(host.count("oapiGetSize"), 0);
    EXPECT_EQ(host.count("VESSEL::DefSetStateEx"), 0);
    EXPECT_EQ(vessel->statusEx.status, 1);
}

// ---- vesselClassName ----

TEST_F(VesselManagerTest, ClassNameComesFromTheHost) {
    vessel->className = "Delta Glider";
    bindStandard();
    EXPECT_EQ(manager.vesselClassName(), "Delta Glider");
    EXPECT_EQ(host.callNames(), (Names{"oapiGetVesselInterface", "VESSEL::GetClassNameA"}));
}

TEST_F(VesselManagerTest, ClassNameIsEmptyWithoutInterfaceOrText) {
    bindStandard();
    vessel->classNameNull = true;
    EXPECT_EQ(manager.vesselClassName(), "");
    vessel->classNameNull = false;
    vessel->hasInterface = false;
    EXPECT_EQ(manager.vesselClassName(), "");
}

// ---- applyTestPoint ----

TEST_F(VesselManagerTest, ApplyTestPointMakesTheSeventeenHostCallsInOrder) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetStatusEx", "VESSEL::DefSetStateEx",
                     "oapiGetVesselInterface", "VESSEL::GetSurfaceRef", "oapiGetPlanetAtmConstants",
                     "VESSEL::GetAtmTemperature", "oapiGetVesselInterface", "VESSEL::GetSurfaceRef",
                     "VESSEL::GetEquPos", "oapiGetPlanetPeriod", "VESSEL::HorizonInvRot",
                     "VESSEL::GlobalRot", "VESSEL::GetStatus", "VESSEL::DefSetState",
                     "oapiGetVesselInterface", "VESSEL::GetAtmDensity"}));
}

TEST_F(VesselManagerTest, FinishedSweepIsRefusedRightAfterThePositionReset) {
    bindStandard();
    Sweeper sweeper = sweepOf(configurationOf({2.0, 3.0}, {0}, {5.0, 6.0}, {0}));
    sweeper.advance();
    ASSERT_TRUE(sweeper.finished());
    vessel->statusEx.rpos = vec(7.0, 8.0, 9.0);

    try {
        manager.applyTestPoint(sweeper);
        FAIL() << "a finished sweep was applied";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "No more elements in the vector. Should not have been called");
    }
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetStatusEx", "VESSEL::DefSetStateEx"}));
    expectVector(vessel->statusEx.rpos, 6020000.0, 0.0, 0.0);
}

TEST_F(VesselManagerTest, MachIndexIsTestedBeforeAnyAtmosphereQuery) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configurationOf({}, {}, {0.0, 10.0}, {1}));
    EXPECT_THROW(manager.applyTestPoint(sweeper), std::out_of_range);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetStatusEx", "VESSEL::DefSetStateEx"}));
}

TEST_F(VesselManagerTest, AoaIndexIsTestedAfterTheTemperatureAndBeforeTheVelocity) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configurationOf({2.0, 3.0}, {1}, {}, {}));
    EXPECT_THROW(manager.applyTestPoint(sweeper), std::out_of_range);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetStatusEx", "VESSEL::DefSetStateEx",
                     "oapiGetVesselInterface", "VESSEL::GetSurfaceRef", "oapiGetPlanetAtmConstants",
                     "VESSEL::GetAtmTemperature"}));
}

TEST_F(VesselManagerTest, WithoutInterfaceEveryHostCallIsSkippedAndTheAirspeedKept) {
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);  // Mach 2
    sweeper.advance();
    sweeper.advance();
    sweeper.advance();  // Mach 3, AOA -10
    ASSERT_EQ(sweeper.currentMach(), 3.0);

    host.calls.clear();
    vessel->hasInterface = false;
    manager.applyTestPoint(sweeper);
    EXPECT_EQ(host.callNames(), (Names{"oapiGetVesselInterface", "oapiGetVesselInterface",
                                       "oapiGetVesselInterface", "oapiGetVesselInterface"}));
    EXPECT_NEAR(manager.measure(sweeper).airspeed, kMach2Airspeed, 1e-9);
}

TEST_F(VesselManagerTest, BodyThatLostItsAtmosphereRaisesInsteadOfReadingThroughNull) {
    bindStandard();
    host.bodies.front().hasAtmosphere = false;
    const Sweeper sweeper = sweepOf(configuration);
    try {
        manager.applyTestPoint(sweeper);
        FAIL() << "a test point was applied without atmosphere data";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "The vessel's reference body has no atmosphere data");
    }
    EXPECT_EQ(host.calls.back().name, "oapiGetPlanetAtmConstants");
    EXPECT_EQ(host.count("VESSEL::GetAtmTemperature"), 0);
    EXPECT_EQ(host.count("VESSEL::DefSetState"), 0);
}

TEST_F(VesselManagerTest, VesselThatLostItsSurfaceRaisesInsteadOfQueryingANullBody) {
    bindStandard();
    host.failing.insert("VESSEL::GetSurfaceRef");
    const Sweeper sweeper = sweepOf(configuration);
    try {
        manager.applyTestPoint(sweeper);
        FAIL() << "a test point was applied without reference surface";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "The vessel has no reference surface");
    }
    EXPECT_EQ(host.calls.back().name, "VESSEL::GetSurfaceRef");
    EXPECT_EQ(host.count("oapiGetPlanetAtmConstants"), 0);
}

TEST_F(VesselManagerTest, EveryTestPointStartsFromTheSameAnchor) {
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    for (int frame = 0; frame < 3; ++frame) {
        vessel->statusEx.status = 1;
        vessel->statusEx.rpos = vec(frame + 100.0, -5.0, 42.0);  // where the step left it
        manager.applyTestPoint(sweeper);
        EXPECT_EQ(vessel->statusEx.status, 0);
        expectVector(vessel->statusEx.rpos, 6020000.0, 0.0, 0.0);
        sweeper.advance();
    }
}

// Every field distinctive, so that a field written by mistake shows.
VESSELSTATUS2 distinctiveStatusEx() {
    VESSELSTATUS2 s{};
    s.version = 2;
    s.flag = 0xA5A5;
    s.rbody = fakeHandle(0x1110);
    s.base = fakeHandle(0x2220);
    s.port = 17;
    s.status = 1;
    s.rpos = vec(1.5, 2.5, 3.5);
    s.rvel = vec(4.5, 5.5, 6.5);
    s.vrot = vec(0.125, -0.25, 0.375);
    s.arot = vec(0.5, -1.25, 2.75);
    s.surf_lng = 13.5;
    s.surf_lat = 14.5;
    s.surf_hdg = 15.5;
    s.nfuel = 16;
    s.fuel = reinterpret_cast<VESSELSTATUS2::FUELSPEC*>(std::uintptr_t{0x3330});
    s.nthruster = 18;
    s.thruster = reinterpret_cast<VESSELSTATUS2::THRUSTSPEC*>(std::uintptr_t{0x4440});
    s.ndockinfo = 19;
    s.dockinfo = reinterpret_cast<VESSELSTATUS2::DOCKINFOSPEC*>(std::uintptr_t{0x5550});
    s.xpdr = 20;
    return s;
}

VESSELSTATUS distinctiveStatus() {
    VESSELSTATUS s{};
    s.rpos = vec(-1.5, -2.5, -3.5);
    s.rvel = vec(-4.5, -5.5, -6.5);
    s.vrot = vec(-0.125, 0.25, -0.375);
    s.arot = vec(-0.5, 1.25, -2.75);
    s.fuel = 0.75;
    s.eng_main = 0.625;
    s.eng_hovr = 0.375;
    s.rbody = fakeHandle(0x6660);
    s.base = fakeHandle(0x7770);
    s.port = 21;
    s.status = 1;
    for (int i = 0; i < 10; ++i) {
        s.vdata[i] = vec(100.0 + i, 200.0 + i, 300.0 + i);
        s.fdata[i] = 400.0 + i;
        s.flag[i] = static_cast<DWORD>(500 + i);
    }
    return s;
}

void expectSameVector(const VECTOR3& actual, const VECTOR3& expected) {
    expectVector(actual, expected.x, expected.y, expected.z);
}

TEST_F(VesselManagerTest, OnlyStatusPositionAndVelocityChange) {
    bindStandard();
    VESSELSTATUS2 before = distinctiveStatusEx();
    before.status = 0;
    const VESSELSTATUS beforeStatus = distinctiveStatus();
    vessel->statusEx = before;
    vessel->status = beforeStatus;

    manager.applyTestPoint(sweepOf(configuration));

    const VESSELSTATUS2& after = vessel->statusEx;
    EXPECT_EQ(after.status, 0);
    expectVector(after.rpos, 6020000.0, 0.0, 0.0);
    EXPECT_EQ(after.version, 2u);
    EXPECT_EQ(after.flag, before.flag);
    EXPECT_EQ(after.rbody, before.rbody);
    EXPECT_EQ(after.base, before.base);
    EXPECT_EQ(after.port, before.port);
    expectSameVector(after.rvel, before.rvel);
    expectSameVector(after.vrot, before.vrot);
    expectSameVector(after.arot, before.arot);
    EXPECT_EQ(after.surf_lng, before.surf_lng);
    EXPECT_EQ(after.surf_lat, before.surf_lat);
    EXPECT_EQ(after.surf_hdg, before.surf_hdg);
    EXPECT_EQ(after.nfuel, before.nfuel);
    EXPECT_EQ(after.fuel, before.fuel);
    EXPECT_EQ(after.nthruster, before.nthruster);
    EXPECT_EQ(after.thruster, before.thruster);
    EXPECT_EQ(after.ndockinfo, before.ndockinfo);
    EXPECT_EQ(after.dockinfo, before.dockinfo);
    EXPECT_EQ(after.xpdr, before.xpdr);

    const VESSELSTATUS& status = vessel->status;
    EXPECT_NE(status.rvel.z, beforeStatus.rvel.z);
    expectSameVector(status.rpos, beforeStatus.rpos);
    expectSameVector(status.vrot, beforeStatus.vrot);
    expectSameVector(status.arot, beforeStatus.arot);
    EXPECT_EQ(status.fuel, beforeStatus.fuel);
    EXPECT_EQ(status.eng_main, beforeStatus.eng_main);
    EXPECT_EQ(status.eng_hovr, beforeStatus.eng_hovr);
    EXPECT_EQ(status.rbody, beforeStatus.rbody);
    EXPECT_EQ(status.base, beforeStatus.base);
    EXPECT_EQ(status.port, beforeStatus.port);
    EXPECT_EQ(status.status, beforeStatus.status);
    for (int i = 0; i < 10; ++i) {
        expectSameVector(status.vdata[i], beforeStatus.vdata[i]);
        EXPECT_EQ(status.fdata[i], beforeStatus.fdata[i]);
        EXPECT_EQ(status.flag[i], beforeStatus.flag[i]);
    }
}

TEST_F(VesselManagerTest, LandedRecordGivesUpItsHeightRatherThanSpinTheVessel) {
    // Landed, the simulator reports the height above ground in vrot.x.
    VESSELSTATUS2 landed = distinctiveStatusEx();
    landed.vrot = vec(2.5, 0.0, 0.0);
    vessel->statusEx = landed;
    manager.bind(configuration);
    manager.restorePosition();

    EXPECT_EQ(vessel->statusEx.status, 0);
    expectVector(vessel->statusEx.vrot, 0.0, 0.0, 0.0);
    expectSameVector(vessel->statusEx.arot, landed.arot);
}

// The air-relative velocity alone: a body that does not turn, and frames that coincide.
struct AngleCase {
    int sweepStep;  // advances from the first point (Mach 2, AOA -10)
    double x, y, z;
};

void PrintTo(const AngleCase& c, std::ostream* out) {
    *out << "sweep step " << c.sweepStep;
}

class AngleOfAttackTest : public VesselManagerTest,
                          public ::testing::WithParamInterface<AngleCase> {};

TEST_P(AngleOfAttackTest, AirRelativeVelocityInTheVesselFrame) {
    host.bodies.front().period = std::numeric_limits<double>::infinity();
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    for (int i = 0; i < GetParam().sweepStep; ++i) {
        sweeper.advance();
    }
    manager.applyTestPoint(sweeper);
    expectVectorNear(vessel->status.rvel, GetParam().x, GetParam().y, GetParam().z, 1e-9);
}

// Hand-computed with v = 633.8769596696192 m/s: sin 10 deg = 0.17364817766693033,
// cos 10 deg = 0.984807753012208; cos(pi/2) in doubles is 6.123233995736766e-17.
INSTANTIATE_TEST_SUITE_P(Angles, AngleOfAttackTest,
                         ::testing::Values(AngleCase{0, 0.0, 110.07157891168366, 624.2469443384476},
                                           AngleCase{1, 0.0, 0.0, kMach2Airspeed},
                                           AngleCase{2, 0.0, -kMach2Airspeed,
                                                     3.881376948563275e-14}));

// With a sideslip axis the simulator's own projected angles, atan2(-v_y, v_z) and the opposite
// of its slip angle, atan2(v_x, v_z), are the commanded ones, at the commanded airspeed.
TEST_F(VesselManagerTest, SideslipAndAngleOfAttackAreTheSimulatorsProjectedAngles) {
    host.bodies.front().period = std::numeric_limits<double>::infinity();
    configuration = configurationOf({2.0, 3.0}, {0}, {-10.0, 0.0, 35.0}, {1, 1});
    configuration.sideslipIntervals = {-10.0, 0.0, 5.0};
    configuration.sideslipIncrements = {1, 1};
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    constexpr double kDegree = std::numbers::pi / 180.0;
    int points = 0;
    do {
        manager.applyTestPoint(sweeper);
        const VECTOR3& v = vessel->status.rvel;
        EXPECT_NEAR(std::atan2(-v.y, v.z), sweeper.currentAoaDeg() * kDegree, 1e-14);
        EXPECT_NEAR(std::atan2(v.x, v.z), sweeper.currentSideslipDeg() * kDegree, 1e-14);
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), kMach2Airspeed, 1e-9);
        ++points;
    } while (sweeper.advance());
    EXPECT_EQ(points, 9);
}

TEST_F(VesselManagerTest, NinetyDegreesLeavesTheTinyCosineInTheLongitudinalAxis) {
    host.bodies.front().period = std::numeric_limits<double>::infinity();
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    sweeper.advance();
    sweeper.advance();
    manager.applyTestPoint(sweeper);
    EXPECT_GT(vessel->status.rvel.z, 0.0);
    EXPECT_LT(vessel->status.rvel.z, 1e-13);
}

TEST_F(VesselManagerTest, SurfaceAndAirVelocityAreAddedInTheVesselFrameThenTurnedGlobal) {
    // Horizon east becomes vessel y; vessel (x, y, z) becomes global (y, z, x).
    vessel->horizonToVessel = aeroquin::testsupport::Matrix3{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};
    vessel->vesselToGlobal = aeroquin::testsupport::Matrix3{{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    sweeper.advance();  // Mach 2, AOA 0
    manager.applyTestPoint(sweeper);

    // Vessel frame (0, e, v) -> global (e, v, 0).
    expectVectorNear(vessel->status.rvel, kEquatorSpeed, kMach2Airspeed, 0.0, 1e-9);
}

TEST_F(VesselManagerTest, AtMachZeroTheVesselCoRotatesWithTheAtmosphere) {
    configuration = configurationOf({0.0, 1.0}, {1}, {5.0, 6.0}, {1});
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    expectVectorNear(vessel->status.rvel, kEquatorSpeed, 0.0, 0.0, 1e-9);
    EXPECT_EQ(manager.measure(sweeper).airspeed, 0.0);
}

TEST_F(VesselManagerTest, AirspeedIsMachTimesTheLocalSpeedOfSound) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    const double airspeed = manager.measure(sweeper).airspeed;
    EXPECT_NEAR(airspeed, 633.88, 0.005);
    EXPECT_NEAR(airspeed, kMach2Airspeed, 1e-9);
}

// ---- measure ----

TEST_F(VesselManagerTest, MeasureReadsLiftThenDrag) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    host.calls.clear();
    (void)manager.measure(sweeper);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetLift", "VESSEL::GetDrag"}));
}

// With moments: each point starts without rotation (damping would add to the torque), the
// moment is read after the forces and divided by their q, and the point flies at the configured
// altitude.
TEST_F(VesselManagerTest, MomentsStopTheRotationAndAreReadAfterTheForces) {
    configuration.reportMoments = true;
    configuration.altitudeM = 1500.0;
    vessel->statusEx.status = 0;
    vessel->statusEx.vrot = vec(0.1, -0.2, 0.3);
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    expectVector(vessel->statusEx.rpos, 6001500.0, 0.0, 0.0);
    expectVector(vessel->statusEx.vrot, 0.0, 0.0, 0.0);
    expectVector(vessel->status.vrot, 0.0, 0.0, 0.0);
    vessel->angularMoment = vec(-2009.0, 5.0, 7.0);
    host.calls.clear();
    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(host.callNames(), (Names{"oapiGetVesselInterface", "VESSEL::GetLift",
                                       "VESSEL::GetDrag", "VESSEL::GetAngularMoment"}));
    // q of the forces, from the fake's air: rho v^2 / 2 at Mach 2.
    const double q = 0.5 * vessel->density * kMach2Airspeed * kMach2Airspeed;
    EXPECT_NEAR(sample.cmSc, -2009.0 / q, 1e-12 * 2009.0 / q);
}

// With a sideslip axis: the side force from the linear moment, and the rolling and yawing moments
// in body axes from the simulator's left-handed torque sum, all over the forces' own q.
TEST_F(VesselManagerTest, LateralColumnsAreBodyAxesOfTheSimulatorsSums) {
    configuration.reportMoments = true;
    configuration.sideslipIntervals = {-5.0, 5.0};
    configuration.sideslipIncrements = {1};
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    vessel->angularMoment = vec(-2009.0, 5.0, 7.0);
    vessel->linearMoment = vec(-11.0, 300.0, -40.0);
    host.calls.clear();
    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(host.callNames(),
              (Names{"oapiGetVesselInterface", "VESSEL::GetLift", "VESSEL::GetDrag",
                     "VESSEL::GetAngularMoment", "VESSEL::GetLinearMoment"}));
    const double q = 0.5 * vessel->density * kMach2Airspeed * kMach2Airspeed;
    const double tolerance = 1e-12 * 2009.0 / q;
    EXPECT_EQ(sample.sideslip, -5.0);
    EXPECT_NEAR(sample.cmSc, -2009.0 / q, tolerance);
    EXPECT_NEAR(sample.cyS, -11.0 / q, tolerance);
    EXPECT_NEAR(sample.clSb, 7.0 / q, tolerance);
    EXPECT_NEAR(sample.cnSb, -5.0 / q, tolerance);
}

// With a control axis: binding only reads the swept level and the mode; the first point turns the
// mode off and each point sets its level directly; the row carries the level read back and the
// whole force along the simulator's lift and drag directions, at a sideslip too; the end gives
// back only what the capture changed, the swept level directly.
TEST_F(VesselManagerTest, ControlAxisSetsEachLevelDirectlyAndGivesBackOnlyWhatItChanged) {
    host.bodies.front().period = std::numeric_limits<double>::infinity();
    configuration = configurationOf({2.0, 3.0}, {0}, {10.0, 20.0}, {1});
    configuration.sideslipIntervals = {-20.0, 30.0};
    configuration.sideslipIncrements = {1};
    configuration.controlSurface = AIRCTRL_RUDDER;
    configuration.controlIntervals = {-0.5, 0.5};
    configuration.controlIncrements = {1};
    vessel->controlLevels = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    vessel->controlMode = 5;
    manager.bind(configuration);
    EXPECT_EQ(host.count("VESSEL::SetADCtrlMode"), 0);
    EXPECT_EQ(host.count("VESSEL::SetControlSurfaceLevel"), 0);
    EXPECT_EQ(host.count("VESSEL::GetControlSurfaceLevel"), 1);
    manager.restoreControls();
    EXPECT_EQ(host.count("VESSEL::SetControlSurfaceLevel"), 0) << "nothing taken yet";

    Sweeper sweeper = sweepOf(configuration);
    sweeper.advance();  // AOA 20, sideslip -20
    sweeper.advance();  // AOA 10, sideslip 30
    manager.applyTestPoint(sweeper);
    EXPECT_EQ(vessel->controlMode, 0U);
    const auto set = std::find_if(host.calls.begin(), host.calls.end(), [](const auto& call) {
        return call.name == "VESSEL::SetControlSurfaceLevel";
    });
    ASSERT_NE(set, host.calls.end());
    EXPECT_EQ(set->args, "1, -0.5, true");
    // The airspeed u = (sin b cos a, -sin a cos b, cos a cos b) / n: lift along
    // unit(0, u_z, -u_y), drag along -u; 1000 N of lift, 50 N of drag, 3 N across both.
    const double a = 10.0 * std::numbers::pi / 180.0;
    const double b = 30.0 * std::numbers::pi / 180.0;
    const double n = std::hypot(std::sin(b) * std::cos(a), std::cos(b));
    const VECTOR3 u = vec(std::sin(b) * std::cos(a) / n, -std::sin(a) * std::cos(b) / n,
                          std::cos(a) * std::cos(b) / n);
    const double m = std::hypot(u.y, u.z);
    const VECTOR3 lift = vec(0.0, u.z / m, -u.y / m);
    const VECTOR3 side =
        vec(lift.y * u.z - lift.z * u.y, lift.z * u.x - lift.x * u.z, lift.x * u.y - lift.y * u.x);
    vessel->linearMoment = vec(1000.0 * lift.x - 50.0 * u.x + 3.0 * side.x,
                               1000.0 * lift.y - 50.0 * u.y + 3.0 * side.y,
                               1000.0 * lift.z - 50.0 * u.z + 3.0 * side.z);
    const CaptureSample sample = manager.measure(sweeper);
    const double q = 0.5 * vessel->density * kMach2Airspeed * kMach2Airspeed;
    EXPECT_EQ(sample.controlLevel, -0.5);
    EXPECT_NEAR(sample.clTotalS, 1000.0 / q, 1e-12);
    EXPECT_NEAR(sample.cdTotalS, 50.0 / q, 1e-12);

    host.calls.clear();
    manager.restoreControls();
    manager.restoreControls();
    EXPECT_EQ(host.callNames(), (Names{"oapiIsVessel", "oapiGetVesselInterface",
                                       "VESSEL::SetControlSurfaceLevel", "VESSEL::SetADCtrlMode"}))
        << "once";
    EXPECT_EQ(host.calls[2].args, "1, 0.2, true");
    EXPECT_EQ(vessel->controlLevels, (std::array<double, 6>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
    EXPECT_EQ(vessel->controlMode, 5U);

    // Once more in the next pre-step, directly, then never again.
    vessel->controlLevels = {};
    host.calls.clear();
    manager.settleControls();
    manager.settleControls();
    EXPECT_EQ(host.count("VESSEL::SetControlSurfaceLevel"), 1);
    EXPECT_EQ(vessel->controlLevels, (std::array<double, 6>{0, 0.2, 0, 0, 0, 0}));
}

// Every surface not swept and every thruster is held where the first step had it; later points
// name what moved. Without a column of the force or torque sums nothing is read.
TEST_F(VesselManagerTest, SurfacesAndThrustersNotSweptAreWatchedFromTheFirstStep) {
    configuration.controlSurface = AIRCTRL_ELEVATOR;
    configuration.controlIntervals = {-1.0, 1.0};
    configuration.controlIncrements = {2};
    vessel->thrusterLevels = {0.0, 0.25};
    vessel->thrust = vec(0.0, 3.0, 4.0);
    bindStandard();
    vessel->controlLevels = {0.9, 0.0, 0.0, 0.0, 0.3, 0.0};
    EXPECT_EQ(manager.controlsMoved(), "");
    const auto& held = manager.controls().held();
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(held->levels, (std::array<double, 6>{0.9, 0.0, 0.0, 0.0, 0.3, 0.0}));
    EXPECT_EQ(held->thrusterLevels, (std::vector<double>{0.0, 0.25}));
    EXPECT_EQ(held->thrustN, 5.0);

    vessel->controlLevels = {-1.0, 0.0, 0.0, 0.0, 0.3, 0.0};
    EXPECT_EQ(manager.controlsMoved(), "") << "the swept elevator moves by design";
    vessel->controlLevels = {-1.0, 0.7, 0.0, 0.0, 1.0, 0.0};
    vessel->thrusterLevels = {1.0, 0.25};
    EXPECT_EQ(manager.controlsMoved(),
              "Rudder 0.7 (held 0); ElevatorTrim 1 (held 0.3); thruster 0 1 (held 0)");

    configuration = configurationOf({0.5, 1.0}, {1}, {0.0, 5.0}, {1});
    configuration.altitudeM = 1000.0;
    bindStandard();
    host.calls.clear();
    EXPECT_EQ(manager.controlsMoved(), "");
    EXPECT_EQ(host.callNames(), Names{});
    EXPECT_FALSE(manager.controls().held().has_value());
}

// With a rate axis each point turns the vessel in the simulator's axes (q about x, r about -y,
// p about z, rad/s) with the rest of its state, and the row carries the rates read back.
TEST_F(VesselManagerTest, RatesTurnTheVesselInTheSimulatorsAxesAndAreReadBack) {
    configuration.reportMoments = true;
    configuration.rateIntervals = {-10.0, 20.0};
    configuration.rateIncrements = {1};
    bindStandard();
    Sweeper sweeper = sweepOf(configuration);
    const double degree = std::numbers::pi / 180.0;
    const std::vector<std::array<double, 3>> expected{{-10 * degree, 0, 0}, {20 * degree, 0, 0},
                                                      {0, 0, -10 * degree}, {0, 0, 20 * degree},
                                                      {0, 10 * degree, 0},  {0, -20 * degree, 0}};
    for (const auto& vrot : expected) {
        while (sweeper.aoaIndex() != 0) {
            sweeper.advance();
        }
        host.calls.clear();
        manager.applyTestPoint(sweeper);
        const VECTOR3& set = vessel->statusEx.vrot;
        EXPECT_NEAR(set.x, vrot[0], 1e-15);
        EXPECT_NEAR(set.y, vrot[1], 1e-15);
        EXPECT_NEAR(set.z, vrot[2], 1e-15);
        EXPECT_EQ(host.callNames().back(), "VESSEL::GetAtmDensity");
        EXPECT_EQ(host.count("VESSEL::GetAngularVel"), 1) << "read after the state is set";
        const Sweeper::Rates commanded = sweeper.currentRatesDegPerS();
        const CaptureSample sample = manager.measure(sweeper);
        EXPECT_NEAR(sample.pitchRate, commanded.pitch, 1e-12);
        EXPECT_NEAR(sample.rollRate, commanded.roll, 1e-12);
        EXPECT_NEAR(sample.yawRate, commanded.yaw, 1e-12);
        sweeper.advance();
    }
}

TEST_F(VesselManagerTest, AltitudeAtTheTopOfTheAtmosphereIsRefusedNamingTheLimit) {
    host.bodies.front().atm.altlimit = 200000.0;
    configuration.altitudeM = 200000.0;
    try {
        manager.bind(configuration);
        FAIL() << "an altitude without air was accepted";
    } catch (const aeroquin::ConfigurationError& error) {
        EXPECT_STREQ(error.what(),
                     "Configuration Error - Altitude = 200000 must be below the top of the "
                     "atmosphere, 200000 m");
    }
    configuration.altitudeM = 199999.0;
    EXPECT_NO_THROW(manager.bind(configuration));
}

TEST_F(VesselManagerTest, MeasureDividesTheForcesByTheDynamicPressureOfTheirOwnState) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);  // Mach 2, AOA -10
    // The density of the state the pre-step set, that is of the step's forces:
    // q = 0.5 * 0.1 * 633.877^2 = 20090 Pa.
    vessel->density = 0.1;
    manager.applyTestPoint(sweeper);
    // After the step: neither a new temperature nor a new density (another air layer) may
    // change the sample.
    vessel->temperature = 300.0;
    vessel->density = 0.2;
    vessel->lift = 40180.0;
    vessel->drag = 10045.0;

    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(sample.mach, 2.0);
    EXPECT_EQ(sample.aoa, -10.0);
    EXPECT_NEAR(sample.airspeed, kMach2Airspeed, 1e-9);
    EXPECT_NEAR(sample.dynamicPressure, 20090.0, 1e-8);
    EXPECT_NEAR(sample.clS, 2.0, 1e-12);
    EXPECT_NEAR(sample.cdS, 0.5, 1e-12);
}

TEST_F(VesselManagerTest, ZeroDynamicPressureGivesNonFiniteCoefficients) {
    configuration = configurationOf({0.0, 1.0}, {1}, {5.0, 6.0}, {1});
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    vessel->lift = 100.0;
    vessel->drag = 0.0;

    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(sample.dynamicPressure, 0.0);
    EXPECT_EQ(sample.clS, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(sample.cdS));
    EXPECT_EQ(rowText(sample).rfind("0; 5; 0; 0; inf; ", 0), 0u) << rowText(sample);
}

TEST_F(VesselManagerTest, ZeroDragGivesZeroCdsAndAnInfiniteRatio) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    manager.applyTestPoint(sweeper);
    vessel->lift = 40180.0;
    vessel->drag = 0.0;

    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(sample.cdS, 0.0);
    const std::string text = rowText(sample);
    EXPECT_EQ(text.substr(text.size() - 8), "; 0; inf") << text;
}

TEST_F(VesselManagerTest, NoInterfaceForTheForcesLeavesTheCoefficientsNotANumber) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    host.onCall = [this](const aeroquin::testsupport::Call& call) {
        if (call.name == "VESSEL::GetAtmDensity") {
            vessel->hasInterface = false;
        }
    };
    manager.applyTestPoint(sweeper);

    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_NEAR(sample.dynamicPressure, 20090.0, 1e-8);
    EXPECT_TRUE(std::isnan(sample.clS));
    EXPECT_TRUE(std::isnan(sample.cdS));
    EXPECT_EQ(host.count("VESSEL::GetLift"), 0);
}

TEST_F(VesselManagerTest, NoInterfaceAtAllStillGivesASample) {
    bindStandard();
    const Sweeper sweeper = sweepOf(configuration);
    vessel->hasInterface = false;
    manager.applyTestPoint(sweeper);

    const CaptureSample sample = manager.measure(sweeper);
    EXPECT_EQ(sample.mach, 2.0);
    EXPECT_EQ(sample.aoa, -10.0);
    EXPECT_EQ(sample.dynamicPressure, 0.0);
    EXPECT_TRUE(std::isnan(sample.clS));
    EXPECT_TRUE(std::isnan(sample.cdS));
}

TEST_F(VesselManagerTest, MeasureOnAFinishedSweepRaisesBeforeAnyHostCall) {
    bindStandard();
    Sweeper sweeper = sweepOf(configurationOf({2.0, 3.0}, {0}, {5.0, 6.0}, {0}));
    sweeper.advance();
    EXPECT_THROW((void)manager.measure(sweeper), std::out_of_range);
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace aeroquin
