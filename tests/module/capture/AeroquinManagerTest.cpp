// The capture manager's frame cycle, status texts and log lines against the recording fake.
#include "module/capture/AeroquinManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/process/StatusWatch.h"
#include "module/capture/AeroquinModule.h"
#include "tests/fakes/RecordingHost.h"
#include "tests/support/ModuleConfiguration.h"

namespace {

using aeroquin::testsupport::RecordingHost;
using Lines = std::vector<std::string>;

const char* const kConfigPath = "Modules\\Plugin\\Aeroquin.cfg";

// 2 AOA values (0, 10) x 2 Mach values (0.5, 1): four points.
const std::string kTwoByTwo = aeroquin::testsupport::ModuleConfiguration{}.text();

const char* const kTwoByTwoDescription =
    "Vessel Name:Probe - Save Directory: Reports - Report name style: 0 - AOA Intervals: <0, "
    "10> - AOA Increments: <1> - Mach Intervals: <0.5, 1> - Mach Increments: <1>";

class AeroquinManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host().reset();
        aeroquin::testsupport::FakeVessel& probe = aeroquin::testsupport::addStandardVessel(host());
        probe.className = "Glider";
        // T = 250 K, R = 287, gamma = 1.4: speed of sound sqrt(100450) m/s.
        probe.temperature = 250.0;
        probe.density = 0.08;
        probe.lift = 1000.0;
        probe.drag = 100.0;
        host().itemFiles[kConfigPath] = kTwoByTwo;
    }

    static RecordingHost& host() { return RecordingHost::get(); }

    static void frame(aeroquin::AeroquinManager& manager) {
        manager.preStep(0.0, 0.02, 51544.5);
        manager.postStep(0.02, 0.02, 51544.5);
    }

    static const Lines& report() { return host().writtenFiles.at("Reports\\Glider.csv"); }
};

// The host judges a run by the module's log lines: its watcher, fed the module's own lines as
// the host feeds them (frame 0 at the start, then one frame each), sees the sweep's size, the
// start in frame 1 and the completion in frame 4, the last point's.
TEST_F(AeroquinManagerTest, TheHostsWatcherUnderstandsTheModulesTexts) {
    aeroquin::host::StatusWatch watch;
    std::size_t seen = 0;
    const auto feed = [&](std::uint64_t frame) {
        watch.setFrame(frame);
        for (; seen < host().log.size(); ++seen) {
            watch.observe(host().log[seen]);
        }
    };
    aeroquin::AeroquinManager manager(2);
    feed(0);
    for (std::uint64_t f = 1; f <= 4; ++f) {
        manager.preStep(0.0, 0.02, 51544.5);
        feed(f);
        manager.postStep(0.02, 0.02, 51544.5);
        feed(f);
    }
    EXPECT_EQ(watch.totalPoints(), std::optional<std::uint64_t>(4));
    EXPECT_TRUE(watch.startedInFrameOne());
    EXPECT_TRUE(watch.completed());
    EXPECT_EQ(watch.pointsMeasured(4), 4U);
}

TEST_F(AeroquinManagerTest, WholeCaptureRunsOnePointPerFrameAndShowsTheLastRowBeforeTheEnd) {
    Lines statusAfterFrame;
    {
        aeroquin::AeroquinManager manager(2);
        EXPECT_EQ(host().log, (Lines{"Aeroquin - Manager created", kTwoByTwoDescription,
                                     "Sweeper: Mach vector size: 2, AOA vector size: 2, Current "
                                     "indexes - Mach: 0 AOA: 0"}));
        // Header written at construction, no rows yet.
        ASSERT_EQ(report().size(), 5U);

        for (int i = 1; i <= 4; ++i) {
            frame(manager);
            EXPECT_EQ(report().size(), 5U + static_cast<std::size_t>(i)) << "frame " << i;
        }
        EXPECT_TRUE(host().openFiles.empty()) << "report closed when the sweep finished";
        EXPECT_EQ(host().log.back(), "Capture completed") << "in the last point's frame";

        // Later frames: nothing at all reaches the host.
        const std::size_t callsBefore = host().calls.size();
        frame(manager);
        frame(manager);
        EXPECT_EQ(host().calls.size(), callsBefore);
    }
    ASSERT_GE(host().log.size(), 8U);
    const Lines shown(host().log.begin() + 3, host().log.end());
    ASSERT_EQ(shown.size(), 7U);
    EXPECT_EQ(shown[0], "Aeroquin - Manager initialized ok");
    // The status texts of samples 1 to 4 are the report's rows 1 to 4.
    for (std::size_t row = 0; row < 4; ++row) {
        EXPECT_EQ(shown[1 + row], report()[5 + row]);
    }
    EXPECT_EQ(shown[5], "Capture completed");
    EXPECT_EQ(shown[6], "Aeroquin - Manager destroyed");
    EXPECT_EQ(host().count("oapiCloseFile"), 2) << "configuration, report";

    // Rows in sweep order: Mach outer, AOA inner.
    EXPECT_EQ(report()[5].substr(0, 8), "0.5; 0; ");
    EXPECT_EQ(report()[6].substr(0, 9), "0.5; 10; ");
    EXPECT_EQ(report()[7].substr(0, 6), "1; 0; ");
    EXPECT_EQ(report()[8].substr(0, 7), "1; 10; ");

    // The annotation got every shown text, and was deleted at the end.
    ASSERT_EQ(host().annotations.size(), 1U);
    EXPECT_EQ(host().annotations[0].textSets, 6);
    EXPECT_EQ(host().annotations[0].text, "Capture completed");
    EXPECT_EQ(host().deletedAnnotations.size(), 1U);
}

TEST_F(AeroquinManagerTest, MissingConfigurationLogsItsMessageOnceAtTheFirstPreStep) {
    host().itemFiles.clear();
    {
        aeroquin::AeroquinManager manager(2);
        EXPECT_EQ(host().log, (Lines{"Aeroquin - Manager created"}));
        frame(manager);
        frame(manager);
        frame(manager);
    }
    EXPECT_EQ(host().log,
              (Lines{"Aeroquin - Manager created",
                     "Configuration Error - File Modules\\Plugin\\Aeroquin.cfg not found",
                     "Aeroquin - Manager destroyed"}));
    EXPECT_EQ(host().count("oapiGetVesselByName"), 0);
    EXPECT_TRUE(host().writtenFiles.empty());
}

TEST_F(AeroquinManagerTest, MissingVesselLogsTheDescriptionsThenItsMessageAndOpensNoReport) {
    host().vessels.front().name = "Other";
    {
        aeroquin::AeroquinManager manager(2);
        frame(manager);
    }
    ASSERT_EQ(host().log.size(), 5U);
    EXPECT_EQ(host().log[1], kTwoByTwoDescription);
    EXPECT_EQ(host().log[3], "Vessel Probe was not found in the simulation");
    EXPECT_EQ(host().log[4], "Aeroquin - Manager destroyed");
    EXPECT_TRUE(host().writtenFiles.empty());
}

// The simulator hands out a handle for a report it cannot create and drops its lines: the
// header that never reached the disk refuses the capture before anything is set on the vessel.
TEST_F(AeroquinManagerTest, UnwritableReportIsRefusedAndTheVesselIsLeftAsItWas) {
    host().unwritable.insert("Reports\\Glider.csv");
    {
        aeroquin::AeroquinManager manager(2);
        frame(manager);
        frame(manager);
    }
    ASSERT_EQ(host().log.size(), 5U);
    EXPECT_EQ(host().log[3], "File Reports\\Glider.csv could not be created.");
    EXPECT_EQ(host().count("VESSEL::GetLift"), 0) << "no capture without a report";
    EXPECT_EQ(host().count("VESSEL::DefSetStateEx") + host().count("VESSEL::DefSetState"), 0);
}

// A point whose condition could not be set has no row: it would carry the previous point's
// airspeed and q under this point's Mach and AOA. The end says how many are missing.
TEST_F(AeroquinManagerTest, PointsThatCouldNotBeAppliedHaveNoRowAndTheEndCountsThem) {
    aeroquin::AeroquinManager manager(2);
    frame(manager);  // point 1
    host().throwing.insert("VESSEL::GetAtmTemperature");
    manager.preStep(0.0, 0.02, 0.0);
    EXPECT_EQ(host().log.back(), "fake: VESSEL::GetAtmTemperature failed");
    host().throwing.clear();
    manager.postStep(0.0, 0.02, 0.0);
    EXPECT_EQ(report().size(), 6U) << "no row for point 2";
    frame(manager);
    frame(manager);
    EXPECT_EQ(report().size(), 8U);
    EXPECT_EQ(report()[6].substr(0, 6), "1; 0; ");
    EXPECT_EQ(host().log.back(),
              "Capture ended: 1 of 4 points could not be applied and have no row");
}

// The vessel's own pre-step may move the commanded surface: those rows carry the level used, and
// the end counts them rather than completing; the vessel gets its own levels back.
TEST_F(AeroquinManagerTest, PointsAtAnotherControlLevelAreCountedAndTheLevelGivenBack) {
    host().itemFiles[kConfigPath] =
        kTwoByTwo + "ControlSurface = Elevator\nControlIntervals = 0 1\nControlIncrements = 1\n";
    auto& probe = host().vessels.front();
    probe.controlLevels = {0.25, 0, 0, 0, 0.5, 0};
    {
        aeroquin::AeroquinManager manager(2);
        frame(manager);
        probe.ownLevels[AIRCTRL_ELEVATOR] = 0.75;  // the vessel's trim autopilot wakes up
        for (int i = 1; i < 8; ++i) {
            frame(manager);
        }
        // The fake keeps the lines written in one call as one: the counts and what was captured,
        // then what the first step held.
        ASSERT_EQ(report().size(), 6U + 8U);
        EXPECT_EQ(report()[3],
                  "Number of AOA points = 2\nNumber of Mach points = 2\nAltitude (m) = 20000\n"
                  "Mass (kg) = 1000\nInertia roll, pitch, yaw (kg m^2) = 2000 4000 5000\n"
                  "Gravity (m/s^2) = 11.0472\nControl surface = Elevator\n"
                  "Number of control levels = 2");
        EXPECT_EQ(report()[4],
                  "Controls held = Rudder 0, Aileron 0, Flap 0, ElevatorTrim 0.5, RudderTrim 0\n"
                  "Thrust held (N) = 0\nTime step (s) = 0.02");
        EXPECT_EQ(report()[5],
                  "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CY*S; Control "
                  "Level; CL*S total; CD*S total");
        // The ninth number: the level the step used.
        const auto level = [](const std::string& row) {
            std::size_t at = 0;
            for (int i = 0; i < 8; ++i) {
                at = row.find("; ", at) + 2;
            }
            return row.substr(at, row.find("; ", at) - at);
        };
        EXPECT_EQ(level(report()[6]), "0");
        EXPECT_EQ(level(report()[7]), "0.75") << "commanded 0";
        EXPECT_EQ(level(report()[10]), "0.75") << "commanded 1";
        EXPECT_EQ(host().log.back(),
                  "Capture ended: 7 of 8 points ran at another control level than commanded "
                  "(their rows say which)");
        // The end sets the elevator back directly, and once more in the next pre-step, since
        // the simulator's pass over the user's input makes the first a ramp; nothing else.
        const auto setsFrom = [](std::size_t first) {
            Lines sets;
            for (std::size_t i = first; i < host().calls.size(); ++i) {
                if (host().calls[i].name == "VESSEL::SetControlSurfaceLevel") {
                    sets.push_back(host().calls[i].args);
                }
            }
            return sets;
        };
        EXPECT_EQ(probe.controlMode, 7U);
        const std::size_t before = host().calls.size();
        frame(manager);
        frame(manager);
        EXPECT_EQ(setsFrom(before), (Lines{"0, 0.25, true"}));
    }
    EXPECT_EQ(probe.controlLevels[AIRCTRL_ELEVATORTRIM], 0.5) << "never set";
}

// A surface that the capture does not sweep moves mid-capture (a plug-in sets the rudder): every
// later row carries its force, so each such point is logged with what moved, and the capture
// does not complete.
TEST_F(AeroquinManagerTest, AnotherSurfaceMovingIsLoggedPerPointAndEndsTheCapture) {
    host().itemFiles[kConfigPath] =
        kTwoByTwo + "ControlSurface = Elevator\nControlIntervals = -1 1\nControlIncrements = 1\n";
    auto& probe = host().vessels.front();
    aeroquin::AeroquinManager manager(2);
    frame(manager);
    frame(manager);
    probe.controlLevels[AIRCTRL_RUDDER] = 0.7;
    frame(manager);
    const std::size_t row = host().log.size() - 2;
    EXPECT_EQ(host().log[row], report().back());
    EXPECT_EQ(host().log[row + 1], "Moved since the first step: Rudder 0.7 (held 0)");
    for (int i = 3; i < 8; ++i) {
        frame(manager);
    }
    EXPECT_EQ(host().log.back(),
              "Capture ended: 6 of 8 points ran with another control surface or thruster level "
              "than in the first step (the log says which)");
}

// However the capture ends early, the vessel gets the swept level and its mode back in that
// frame, not only when the manager goes.
TEST_F(AeroquinManagerTest, AStoppedCaptureGivesTheLevelBackInItsStopFrame) {
    host().itemFiles[kConfigPath] =
        kTwoByTwo + "ControlSurface = Rudder\nControlIntervals = -1 1\nControlIncrements = 1\n";
    host().addVessel("Carrier", &host().bodies.front());
    auto& probe = host().vessels.front();
    probe.controlLevels = {0, 0.125, 0, 0, 0, 0};
    aeroquin::AeroquinManager manager(2);
    frame(manager);
    EXPECT_EQ(probe.controlMode, 0U);
    probe.attachedTo = "Carrier";
    frame(manager);
    EXPECT_EQ(host().log.back(),
              "Capture stopped: vessel Probe is attached to Carrier; 1 of 8 points measured");
    EXPECT_EQ(probe.controlLevels[AIRCTRL_RUDDER], 0.125);
    EXPECT_EQ(probe.controlMode, 7U);
}

// Lines that the host took but the disk did not keep: the end says so instead of completing.
TEST_F(AeroquinManagerTest, ReportLinesLostOnTheWayEndTheCaptureWithTheirCount) {
    aeroquin::AeroquinManager manager(2);
    frame(manager);
    host().unwritable.insert("Reports\\Glider.csv");  // the disk is full from here on
    for (int i = 0; i < 3; ++i) {
        frame(manager);
    }
    EXPECT_EQ(host().log.back(),
              "Capture ended: 3 of 10 lines are missing from Reports\\Glider.csv");
}

// The simulator deletes vessels at a frame's end; the handle must not be followed afterwards.
TEST_F(AeroquinManagerTest, DeletedVesselStopsTheCaptureKeepingTheRowsSoFar) {
    {
        aeroquin::AeroquinManager manager(2);
        frame(manager);
        host().vessels.front().deleted = true;
        const std::size_t callsBefore = host().calls.size();
        frame(manager);
        const auto names = host().callNames();
        EXPECT_EQ(names[callsBefore], "oapiIsVessel");
        EXPECT_EQ(std::count(names.begin() + static_cast<std::ptrdiff_t>(callsBefore), names.end(),
                             "oapiGetVesselInterface"),
                  0)
            << "the old handle is not followed";
        EXPECT_EQ(host().log.back(),
                  "Capture stopped: vessel Probe is no longer in the simulation; 1 of 4 points "
                  "measured");
        EXPECT_TRUE(host().openFiles.empty());
        frame(manager);
    }
    EXPECT_EQ(report().size(), 6U);
    EXPECT_EQ(host().log.back(), "Aeroquin - Manager destroyed");
}

TEST_F(AeroquinManagerTest, EndingMidCaptureClosesTheReportWithTheRowsSoFar) {
    {
        aeroquin::AeroquinManager manager(2);
        frame(manager);
        frame(manager);
        EXPECT_EQ(host().openFiles.size(), 1U);
    }
    EXPECT_TRUE(host().openFiles.empty());
    EXPECT_EQ(report().size(), 7U);
    const std::size_t lines = host().log.size();
    EXPECT_EQ(host().log[lines - 2], "Capture stopped: 2 of 4 points measured");
    EXPECT_EQ(host().log[lines - 1], "Aeroquin - Manager destroyed");
    EXPECT_EQ(std::count(host().log.begin(), host().log.end(), "Capture completed"), 0);
}

// One point: its row is shown and logged, then the end, all in frame 1.
TEST_F(AeroquinManagerTest, SinglePointCaptureLogsItsRowAndCompletesInOneFrame) {
    host().itemFiles[kConfigPath] = aeroquin::testsupport::ModuleConfiguration{}
                                        .set("AoaIncrements", "0")
                                        .set("MachIncrements", "0")
                                        .text();
    aeroquin::AeroquinManager manager(2);
    frame(manager);
    ASSERT_EQ(report().size(), 6U);
    const Lines shown(host().log.end() - 3, host().log.end());
    EXPECT_EQ(shown,
              (Lines{"Aeroquin - Manager initialized ok", report()[5], "Capture completed"}));
}

TEST_F(AeroquinManagerTest, DisplayModeZeroLogsButNeverSetsAnnotationText) {
    {
        aeroquin::AeroquinManager manager(0);
        for (int i = 0; i < 5; ++i) {
            frame(manager);
        }
    }
    EXPECT_EQ(host().count("oapiAnnotationSetText"), 0);
    EXPECT_EQ(host().log[host().log.size() - 2], "Capture completed");
}

TEST(AeroquinModuleTest, EachSimulationGetsAFreshManagerAndTheDestructorEndsARunningOne) {
    RecordingHost& host = RecordingHost::get();
    host.reset();
    aeroquin::testsupport::addStandardVessel(host);
    host.itemFiles[kConfigPath] = kTwoByTwo;
    auto module = std::make_unique<aeroquin::AeroquinModule>(nullptr);

    module->clbkSimulationEnd();  // no manager: nothing happens
    EXPECT_TRUE(host.log.empty());

    for (int run = 0; run < 2; ++run) {
        module->clbkSimulationStart(oapi::Module::RENDER_WINDOW);
        module->clbkPreStep(0.0, 0.02, 0.0);
        module->clbkPostStep(0.0, 0.02, 0.0);
        module->clbkSimulationEnd();
        // Each run starts again from the first point.
        EXPECT_EQ(host.writtenFiles.at("Reports\\Glider.csv")[5].substr(0, 8), "0.5; 0; ");
        EXPECT_EQ(host.writtenFiles.at("Reports\\Glider.csv").size(), 6U);
    }
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "Aeroquin - Manager created"), 2);

    module->clbkSimulationStart(oapi::Module::RENDER_NONE);
    module->clbkPreStep(0.0, 0.02, 0.0);
    module->clbkPostStep(0.0, 0.02, 0.0);
    module.reset();
    EXPECT_EQ(host.log.back(), "Aeroquin - Manager destroyed");
    EXPECT_TRUE(host.openFiles.empty());
    // The manager went before the base class.
    EXPECT_EQ(host.callNames().back(), "oapi::Module::~Module");
}

}  // namespace
