#include "host/world/World.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <utility>

#include "host/world/AirData.h"
#include "tests/host/world/TestWorld.h"
#include "tests/support/TempRoot.h"

namespace aeroquin::host {
namespace {

using testsupport::TempRoot;

const std::filesystem::path examples = AEROQUIN_EXAMPLES_DIR;

TEST(World, LoadsTheDemo) {
    World world = World::load(examples / "demo", "Default");
    ASSERT_NE(world.body(), nullptr);
    EXPECT_EQ(world.body()->name(), "Earth");
    EXPECT_EQ(world.body()->meanRadius(), 6.37101e6);
    EXPECT_EQ(world.body()->rotationPeriod(), 86164.10132);
    EXPECT_DOUBLE_EQ(world.body()->gm(), 6.67259e-11 * 5.973698968e24);
    ASSERT_NE(world.body()->atmosphere(), nullptr);
    const AtmosphereParams& atm = world.body()->atmosphere()->params();
    EXPECT_EQ(atm.pressure0Pa, 101325.0);
    EXPECT_EQ(atm.model, AtmosphereModel::J71G);
    EXPECT_EQ(atm.density0KgM3, 1.2247);
    EXPECT_EQ(atm.gasConstant, 286.91);
    EXPECT_EQ(atm.gamma, 1.4);
    EXPECT_EQ(atm.altLimitM, 2.5e6);
    EXPECT_EQ(world.stepSize(), 0.02);

    ASSERT_EQ(world.vessels().size(), 1u);
    Vessel* glider = world.findVessel("GL-01");
    ASSERT_NE(glider, nullptr);
    EXPECT_EQ(glider->className(), "DeltaWing");
    EXPECT_EQ(glider->state().body, world.body());
    EXPECT_TRUE(glider->landed());
    EXPECT_EQ(world.findVessel("gl-01"), nullptr);
    double lng = 1.0;
    double lat = 1.0;
    double rad = 0.0;
    glider->frames().equPos(lng, lat, rad);
    EXPECT_NEAR(lng, 0.0, 1e-15);
    EXPECT_NEAR(lat, 0.0, 1e-15);
    // Its centre of gravity stands LandedHeight above the runway, in the standard's air there.
    EXPECT_NEAR(rad, 6.37101e6 + 1.8, 1e-6);
    EXPECT_NEAR(airAt(glider->state()).temperatureK, 288.15 - 0.0065 * 1.8, 1e-4);
    EXPECT_NEAR(airAt(glider->state()).densityKgM3, 1.225, 1e-3);
}

TEST(World, MoonHasNoAir) {
    const World world = World::load(examples / "demo", "Moon");
    EXPECT_EQ(world.body()->atmosphere(), nullptr);
    EXPECT_EQ(airAt(world.vessels()[0].state()).densityKgM3, 0.0);
}

TEST(World, FlatProbeFliesInStillAirAndKeepsItsAddress) {
    World world = World::load(examples / "flat", "Default");
    Vessel* probe = world.findVessel("P1");
    ASSERT_NE(probe, nullptr);
    const Body* body = world.body();
    EXPECT_FALSE(probe->landed());
    EXPECT_NEAR(airDataAt(probe->state()).altitudeM, 20000.0, 1e-9);
    EXPECT_NEAR(airDataAt(probe->state()).airspeed, 0.0, 1e-12);
    EXPECT_NEAR(body->gm(), 6.25e12, 1.0);

    World moved = std::move(world);
    EXPECT_EQ(moved.findVessel("P1"), probe);
    EXPECT_EQ(moved.body(), body);
    EXPECT_TRUE(moved.step(0.02).empty());
    EXPECT_DOUBLE_EQ(moved.time(), 0.02);
    EXPECT_DOUBLE_EQ(probe->state().time, 0.02);
}

TEST(World, ReportsTouchDowns) {
    TempRoot root;
    root.write("Config/Flat.cfg",
               "Size = 1e6\nMass = 1e23\nSidRotPeriod = 1e30\nAtmosphere = None\n");
    root.write("Config/Vessels/Ball.cfg",
               "Mass = 1\nReferenceArea = 1\nDragElements = Hull\nHull.Factor = 1\n");
    root.write("Scenarios/Drop.scn",
               "Body = Flat\nVessels = B:Ball C:Ball\nB.Status = Flying\nB.Altitude = 1\n");
    World world = World::load(root.path(), "Drop");
    std::vector<std::string> touched;
    for (int i = 0; i < 100 && touched.empty(); ++i) {
        touched = world.step(0.02);
    }
    EXPECT_EQ(touched, std::vector<std::string>{"B"});
    EXPECT_TRUE(world.findVessel("B")->landed());
}

TEST(World, PlacesVesselsAsTheScenarioSays) {
    TempRoot root;
    root.write("Config/Ball.cfg",
               "Size = 1e6\nMass = 1e23\nSidRotPeriod = 1e5\nAtmosphere = None\n");
    root.write("Config/Vessels/Ball.cfg",
               "Mass = 1\nReferenceArea = 1\nDragElements = Hull\nHull.Factor = 1\n");
    root.write("Scenarios/Place.scn",
               "Body = Ball\nStepSize = 0.5\nVessels = A:Ball\tB:Ball\n"
               "A.Status = flying\nA.Altitude = 5000\nA.Longitude = 30\nA.Latitude = -45\n"
               "A.Attitude = 10 20 30\nB.Latitude = 90\n");
    World world = World::load(root.path(), "Place");
    EXPECT_EQ(world.stepSize(), 0.5);
    const Vessel& a = world.vessels()[0];
    double lng = 0.0;
    double lat = 0.0;
    double rad = 0.0;
    a.frames().equPos(lng, lat, rad);
    EXPECT_NEAR(lng, std::numbers::pi / 6.0, 1e-12);
    EXPECT_NEAR(lat, -std::numbers::pi / 4.0, 1e-12);
    EXPECT_NEAR(rad, 1.005e6, 1e-6);
    EXPECT_NEAR(a.state().attitudeAnglesRad.x, std::numbers::pi / 18.0, 1e-15);
    EXPECT_NEAR(a.state().attitudeAnglesRad.z, std::numbers::pi / 6.0, 1e-15);
    EXPECT_FALSE(a.landed());
    EXPECT_TRUE(world.vessels()[1].landed());
    world.vessels()[1].frames().equPos(lng, lat, rad);
    EXPECT_NEAR(lat, std::numbers::pi / 2.0, 1e-12);
}

struct BadRoot {
    const char* scenario;
    const char* body;
    const char* message;
    const char* controlled = nullptr;  // the class Controlled's control surfaces, when given
};

class WorldErrors : public ::testing::TestWithParam<BadRoot> {};

TEST_P(WorldErrors, NameTheFileAndLine) {
    TempRoot root;
    root.write("Config/Earth.cfg", GetParam().body);
    root.write("Config/Vessels/DeltaWing.cfg",
               "Mass = 100\nReferenceArea = 2\nDragElements = Hull\nHull.Factor = 1\n");
    root.write("Config/Vessels/Winged.cfg", "Mass = 100\nReferenceArea = 2\nAeroTable = W.csv\n");
    root.write("Config/Vessels/Escaping.cfg",
               "Mass = 100\nReferenceArea = 2\nAeroTable = ../../Scenarios/T.scn\n");
    root.write("Config/Vessels/Sub/Winged.cfg",
               "Mass = 100\nReferenceArea = 2\nAeroTable = W.csv\n");
    root.write("Scenarios/T.scn", GetParam().scenario);
    root.write("Config/Vessels/Bare.cfg",
               "Mass = 100\nReferenceArea = 2\nDragElements = Hull\nHull.Factor = 1\n"
               "ControlSurfaces = E\nE.Type = Elevator\nE.Area = 1\nE.dCl = 1\n");
    if (GetParam().controlled != nullptr) {
        root.write("Config/Vessels/Controlled.cfg",
                   std::string("Mass = 100\nAirfoils = Wing\nWing.Lift = Vertical\nWing.Chord = 1\n"
                               "Wing.Area = 8\nWing.Table = C.csv\n") +
                       GetParam().controlled);
        root.write("Config/Vessels/C.csv",
                   "mach,aoa,cl,cd\n0,-90,0,1\n0,90,0,1\n9,-90,0,1\n9,90,0,1\n");
    }
    try {
        (void)World::load(root.path(), "T");
        FAIL() << "no error";
    } catch (const HostFileError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

constexpr const char* goodEarth =
    "Size = 6.37101e6\nMass = 5.973698968e24\nSidRotPeriod = 86164.10132\nAtmosphere = US1976\n"
    "AtmGasConstant = 286.91\nAtmGamma = 1.4\nAtmPressure0 = 101325\nAtmDensity0 = 1.225\n";

INSTANTIATE_TEST_SUITE_P(
    Messages, WorldErrors,
    ::testing::Values(
        BadRoot{"Body = Earth\n\nVessels = A:DeltaWing B:Nope\n", goodEarth,
                "Scenarios/T.scn:3: vessel class Nope: Config/Vessels/Nope.cfg not found"},
        BadRoot{"Vessels = A:DeltaWing\nBody = Mars\n", goodEarth,
                "Scenarios/T.scn:2: body Mars: Config/Mars.cfg not found"},
        BadRoot{"Vessels = A:DeltaWing\n", goodEarth, "Scenarios/T.scn: Body missing"},
        BadRoot{"Body = ../Earth\n", goodEarth,
                "Scenarios/T.scn:1: Body must name a file of Config without its extension"},
        BadRoot{"Body = None\nVessels = A:DeltaWing\nA.Status = Landed\n", goodEarth,
                "Scenarios/T.scn:3: A.Status Landed needs a body"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.Status = Hovering\n", goodEarth,
                "Scenarios/T.scn:3: A.Status must be one of Landed, Flying"},
        BadRoot{"Body = Earth\nVessels = A-DeltaWing\n", goodEarth,
                "Scenarios/T.scn:2: Vessels: \"A-DeltaWing\" must be name:class"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing A:DeltaWing\n", goodEarth,
                "Scenarios/T.scn:2: Vessels: A is named twice"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.Attitude = 1 2\n", goodEarth,
                "Scenarios/T.scn:3: A.Attitude must be three numbers (deg)"},
        BadRoot{"Body = Earth\nStepSize = 0\n", goodEarth,
                "Scenarios/T.scn:2: StepSize must be positive"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.Latitude = 91\n", goodEarth,
                "Scenarios/T.scn:3: A.Latitude must lie within -90 and 90"},
        BadRoot{"Body = Earth\n", "Size = 6.37101e6\nMass = heavy\n",
                "Config/Earth.cfg:2: Mass must be a number"},
        BadRoot{"Body = Earth\n", "Size = -1\n", "Config/Earth.cfg:1: Size must be positive"},
        BadRoot{"Body = Earth\n", "Size = 1\nMass = 1\nSidRotPeriod = 1\n",
                "Config/Earth.cfg: Atmosphere missing"},
        BadRoot{"Body = Earth\n",
                "Size = 1\nMass = 1\nSidRotPeriod = 1\nAtmosphere = Isothermal\n"
                "AtmGasConstant = 287\nAtmPressure0 = 1\nAtmDensity0 = 1\n",
                "Config/Earth.cfg: AtmGamma missing"},
        BadRoot{"Body = Earth\nVessels = W:Winged\n", goodEarth,
                "Config/Vessels/Winged.cfg:3: AeroTable Config/Vessels/W.csv not found"},
        BadRoot{"Body = Earth\nVessels = E:Escaping\n", goodEarth,
                "Config/Vessels/Escaping.cfg:3: AeroTable must name a file beside the class file"},
        BadRoot{"Body = Earth\n", "Size = 1\nMass = 1\nSidRotPeriod = 1e-320\n",
                "Config/Earth.cfg:3: SidRotPeriod must be positive"},
        BadRoot{"Body = Earth\nVessels = W:Sub/Winged\n", goodEarth,
                "Config/Vessels/Sub/Winged.cfg:3: AeroTable Config/Vessels/Sub/W.csv not found"},
        BadRoot{"Body = Earth\nVessels = A:Sub/../DeltaWing\n", goodEarth,
                "Scenarios/T.scn:2: Vessels: \"A:Sub/../DeltaWing\" must be name:class"},
        BadRoot{"Body = Earth\nVessels = A:Sub//Winged\n", goodEarth,
                "Scenarios/T.scn:2: Vessels: \"A:Sub//Winged\" must be name:class"},
        BadRoot{"Body = Earth\nVessels = A:/Sub/Winged\n", goodEarth,
                "Scenarios/T.scn:2: Vessels: \"A:/Sub/Winged\" must be name:class"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.AttachedTo = A\n", goodEarth,
                "Scenarios/T.scn:3: A.AttachedTo: a vessel cannot hang on itself"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.AttachedTo = a\n", goodEarth,
                "Scenarios/T.scn:3: A.AttachedTo: a is no vessel of Vessels"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing B:DeltaWing C:DeltaWing\n"
                "C.AttachedTo = A\nB.AttachedTo = C\nA.AttachedTo = B\n",
                goodEarth, "Scenarios/T.scn:5: A.AttachedTo: A would hang on itself through B"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.DeletedAfterFrame = 0\n", goodEarth,
                "Scenarios/T.scn:3: A.DeletedAfterFrame must be a whole number of at least 1"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.DeletedAfterFrame = 2.5\n", goodEarth,
                "Scenarios/T.scn:3: A.DeletedAfterFrame must be a whole number of at least 1"},
        BadRoot{"Body = Earth\nVessels = A:DeltaWing\nA.Holds = Elevator 0.3 Canard 1\n", goodEarth,
                "Scenarios/T.scn:3: A.Holds must be pairs of a control type (Elevator, Rudder, "
                "Aileron, Flap, ElevatorTrim, RudderTrim) and a level"},
        BadRoot{"Body = Earth\nVessels = A:Controlled\n", goodEarth,
                "Config/Vessels/Controlled.cfg:8: E.Type must be one of Elevator, Rudder, Aileron, "
                "Flap, ElevatorTrim, RudderTrim",
                "ControlSurfaces = E\nE.Type = Canard\nE.Area = 1\nE.dCl = 1\n"},
        BadRoot{"Body = Earth\nVessels = A:Controlled\n", goodEarth,
                "Config/Vessels/Controlled.cfg:10: E.dCl must lie within -100 and 100",
                "ControlSurfaces = E\nE.Type = elevator\nE.Area = 1\nE.dCl = -1e3\n"},
        BadRoot{"Body = Earth\nVessels = A:Controlled\n", goodEarth,
                "Config/Vessels/Controlled.cfg:7: ControlSurfaces names wing, which is an airfoil "
                "or drag element too",
                "ControlSurfaces = wing\n"},
        BadRoot{"Body = Earth\nVessels = A:Bare\n", goodEarth,
                "Config/Vessels/Bare.cfg:5: control surfaces need an airfoil: the simulator's "
                "model of a vessel without airfoils ignores them"}));

TEST(World, AnAttachedVesselRidesItsParentWithoutLoadsUntilTheParentIsDeleted) {
    const TempRoot root("flat");
    testsupport::writeAttachedPair(root, 2);
    World world = World::load(root.path(), "Pair");
    Vessel* parent = world.findVessel("P1");
    Vessel* child = world.findVessel("C1");
    EXPECT_EQ(child->className(), "Sub/TestWing");
    // Flying into the still air at 100 m/s along the nose.
    parent->setFree(parent->state().position, parent->state().velocity + Vec3{0.0, 0.0, 100.0}, {},
                    {});
    world.step(0.02);
    EXPECT_GT(parent->loads().aero.drag, 0.0);
    EXPECT_EQ(child->state().position, parent->state().position);
    EXPECT_EQ(child->state().velocity, parent->state().velocity);
    EXPECT_EQ(child->loads().aero.lift, 0.0);
    EXPECT_EQ(child->loads().aero.drag, 0.0);

    EXPECT_TRUE(world.deleteVessels(1).empty());
    EXPECT_EQ(world.deleteVessels(2), std::vector<std::string>{"P1"});
    EXPECT_TRUE(parent->deleted());
    EXPECT_EQ(world.findVessel("P1"), nullptr);
    EXPECT_FALSE(world.attachments()[0].attached);
    // The parent stays where it was; the child flies on by itself, in its own air.
    world.step(0.02);
    EXPECT_EQ(parent->state().time, 0.02);
    EXPECT_GT(child->loads().aero.drag, 0.0);
}

// A's own pre-step holds the elevator at 0.3; the module sets both rudders directly. A's hold
// turns A's direct set into a ramp (rudder delay 1 s, elevator 0.5 s); B's acts at once. The
// deflections move the force, not the lift.
TEST(World, AVesselsOwnSetWithoutTheFlagTurnsAModulesDirectSetIntoARamp) {
    const TempRoot root("flat");
    root.write("Config/Vessels/Tailed.cfg",
               "Mass = 1000\nReferenceArea = 10\nAeroTable = Probe.csv\nControlSurfaces = E R\n"
               "E.Type = Elevator\nE.Area = 1\nE.dCl = 1\nE.Position = 0 0 -5\nE.Delay = 0.5\n"
               "R.Type = Rudder\nR.Area = 1\nR.dCl = 1\nR.Position = 0 1 -5\n");
    root.write("Scenarios/Held.scn",
               "Body = Flat\nVessels = A:Tailed B:Tailed\nA.Status = Flying\n"
               "B.Status = Flying\nA.Holds = elevator 0.3\n");
    World world = World::load(root.path(), "Held");
    Vessel& a = world.vessels()[0];
    Vessel& b = world.vessels()[1];
    for (Vessel* v : {&a, &b}) {
        v->setFree(v->state().position, v->state().velocity + Vec3{0.0, 0.0, 100.0}, {}, {});
        v->controls().set(ControlType::Rudder, 1.0, true);
    }
    world.step(0.1);
    EXPECT_EQ(b.controls().level(ControlType::Rudder), 1.0);
    EXPECT_NEAR(a.controls().level(ControlType::Rudder), 0.1, 1e-15);
    EXPECT_NEAR(a.controls().level(ControlType::Elevator), 0.2, 1e-15);
    EXPECT_EQ(a.loads().aero.lift, b.loads().aero.lift);
    EXPECT_NE(a.loads().aero.force, b.loads().aero.force);
    world.step(0.1);
    EXPECT_NEAR(a.controls().level(ControlType::Elevator), 0.3, 1e-15);
    EXPECT_NEAR(a.controls().level(ControlType::Rudder), 0.2, 1e-15);
}

TEST(World, EmptySpaceHasNoBodyNoGravityNoAir) {
    TempRoot root;
    root.write("Config/Vessels/Ball.cfg",
               "Mass = 1\nReferenceArea = 1\nDragElements = Hull\nHull.Factor = 1\n");
    root.write("Scenarios/Void.scn", "Body = None\nVessels = V:Ball\n");
    World world = World::load(root.path(), "Void");
    EXPECT_EQ(world.body(), nullptr);
    Vessel& v = world.vessels()[0];
    EXPECT_EQ(v.state().body, nullptr);
    EXPECT_FALSE(v.landed());
    world.step(1.0);
    EXPECT_EQ(v.state().position, (Vec3{}));
    EXPECT_EQ(airAt(v.state()).densityKgM3, 0.0);
    EXPECT_EQ(airAt(v.state()).temperatureK, 0.0);
}

}  // namespace
}  // namespace aeroquin::host
