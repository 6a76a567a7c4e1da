// Whole captures: the real host running the real module on temporary root folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/HostProcess.h"
#include "tests/support/ModuleConfiguration.h"

namespace {

// The host and the Aeroquin module of this build.
const aeroquin::testsupport::HostUnderTest kHost{AEROQUIN_HOST_EXE, AEROQUIN_TEST_MODULE};

using aeroquin::testsupport::configure;
using aeroquin::testsupport::hostArgs;
using aeroquin::testsupport::HostProcess;
using aeroquin::testsupport::HostResult;
using aeroquin::testsupport::kModuleConfigFile;
using aeroquin::testsupport::runHost;
using aeroquin::testsupport::TempRoot;
using Lines = std::vector<std::string>;

const char* const kPinnedClock = "2024-03-05T14:07:09";
const char* const kDemoReport = "Reports/DeltaWing_20240305_140709.csv";

// The module's own log lines: everything the host did not write itself.
Lines moduleLog(const TempRoot& root) {
    Lines lines;
    for (const std::string& line : root.lines("host.log")) {
        if (line.rfind("host: ", 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<double> numbers(const std::string& row) {
    std::vector<double> values;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, ';');) {
        values.push_back(std::stod(field));
    }
    return values;
}

// Every row is whole: seven numbers joined by "; ".
void expectWholeRows(const Lines& report) {
    for (std::size_t i = 6; i < report.size(); ++i) {
        EXPECT_EQ(std::count(report[i].begin(), report[i].end(), ';'), 6) << report[i];
        EXPECT_EQ(numbers(report[i]).size(), 7U) << report[i];
    }
}

TEST(CaptureTest, WorkedExampleWritesNinetyRowsOnePerFrameAndEndsInFrameNinety) {
    TempRoot root("demo");
    const auto result = runHost(kHost, root,
                                {"--utc", kPinnedClock, "--display", "none", "--trace",
                                 (root.path() / "trace.txt").string()});
    ASSERT_EQ(result.exitCode(), 0) << result.err;

    EXPECT_EQ(root.files("Reports"), Lines{"DeltaWing_20240305_140709.csv"});
    const Lines report = root.lines(kDemoReport);
    ASSERT_EQ(report.size(), 96U);
    EXPECT_EQ(Lines(report.begin(), report.begin() + 6),
              (Lines{"Aeroquin version: 1.0", "Vessel Class: DeltaWing",
                     "System time at simulation start: 2024/03/05::14:07:09",
                     "Number of AOA points = 9", "Number of Mach points = 10",
                     "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D"}));
    const Lines machs{"0.5", "0.6", "0.7", "0.8", "0.9", "1", "1.25", "1.5", "1.75", "2"};
    const Lines aoas{"-10", "-8", "-6", "-4", "-2", "0", "10", "20", "30"};
    std::size_t row = 6;
    for (const std::string& mach : machs) {
        for (const std::string& aoa : aoas) {
            EXPECT_EQ(report[row].rfind(mach + "; " + aoa + "; ", 0), 0U) << report[row];
            ++row;
        }
    }
    expectWholeRows(report);

    // Log: lifecycle, descriptions, then one line per change of the status text; the last
    // sample's text shows in its own frame, before the end.
    const Lines log = moduleLog(root);
    ASSERT_GE(log.size(), 7U);
    EXPECT_EQ(log[0], "Aeroquin - Manager created");
    EXPECT_EQ(log[1],
              "Vessel Name:GL-01 - Save Directory: Reports - Report name style: 1 - AOA "
              "Intervals: <-10, 0, 30> - AOA Increments: <5, 3> - Mach Intervals: <0.5, 1, 2> - "
              "Mach Increments: <5, 4>");
    EXPECT_EQ(log[2],
              "Sweeper: Mach vector size: 10, AOA vector size: 9, Current indexes - Mach: 0 AOA: "
              "0");
    EXPECT_EQ(log[3], "Aeroquin - Manager initialized ok");
    EXPECT_EQ(Lines(log.begin() + 4, log.end() - 2), Lines(report.begin() + 6, report.end()));
    EXPECT_EQ(log[log.size() - 2], "Capture completed");
    EXPECT_EQ(log.back(), "Aeroquin - Manager destroyed");

    // Trace: one row written in each post-step of frames 1 to 90; "Capture completed" logged in
    // the post-step of frame 90, the last frame.
    std::map<std::string, int> rowsIn;
    std::string section;
    std::string completedIn;
    std::string lastSection;
    for (const std::string& line : root.lines("trace.txt")) {
        if (line.rfind("# ", 0) == 0) {
            section = line.substr(2);
            lastSection = section;
        } else if (line.rfind("oapiWriteLine", 0) == 0) {
            ++rowsIn[section];
        } else if (line == "oapiWriteLog \"Capture completed\"") {
            completedIn = section;
        }
    }
    EXPECT_EQ(rowsIn["clbkSimulationStart"], 5) << "header lines 1-3, 4+5, 6";
    for (int frame = 1; frame <= 90; ++frame) {
        EXPECT_EQ(rowsIn["frame " + std::to_string(frame) + " clbkPostStep"], 1) << frame;
    }
    EXPECT_EQ(completedIn, "frame 90 clbkPostStep");
    EXPECT_EQ(lastSection, "clbkSimulationEnd");
    const std::string trace = root.read("trace.txt");
    EXPECT_EQ(trace.find("# frame 91 "), std::string::npos);
    EXPECT_EQ(trace.find("oapiAnnotationSetText"), std::string::npos) << "--display none";
}

struct StartFailure {
    std::string name;
    std::string configuration;  // empty: no configuration file at all
    std::string message;
    bool descriptionsLogged;
    std::function<void(const TempRoot&)> prepare = [](const TempRoot&) {};
};

void PrintTo(const StartFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class StartFailureTest : public ::testing::TestWithParam<StartFailure> {};

TEST_P(StartFailureTest, LogsItsMessageOnceExitsWithOneAndWritesNoReport) {
    const StartFailure& failure = GetParam();
    TempRoot root("demo");
    if (failure.configuration.empty()) {
        root.remove("Config/Modules/Plugin/Aeroquin.cfg");
    } else {
        root.write("Config/Modules/Plugin/Aeroquin.cfg", failure.configuration);
    }
    failure.prepare(root);
    const auto result = runHost(kHost, root,
                                {"--utc", kPinnedClock, "--display", "none", "--trace",
                                 (root.path() / "trace.txt").string()});

    EXPECT_EQ(result.exitCode(), 1);
    // A refused capture leaves the vessel as it was.
    EXPECT_EQ(root.read("trace.txt").find("VESSEL::DefSetState"), std::string::npos);
    EXPECT_NE(result.err.find(failure.message), std::string::npos) << result.err;
    const Lines log = moduleLog(root);
    EXPECT_EQ(std::count(log.begin(), log.end(), failure.message), 1);
    if (failure.descriptionsLogged) {
        ASSERT_EQ(log.size(), 5U);
        EXPECT_EQ(log[1].rfind("Vessel Name:", 0), 0U) << log[1];
        EXPECT_EQ(log[2].rfind("Sweeper: Mach vector size: ", 0), 0U) << log[2];
        EXPECT_EQ(log[3], failure.message);
    } else {
        ASSERT_EQ(log.size(), 3U);
        EXPECT_EQ(log[1], failure.message);
    }
    EXPECT_EQ(log.front(), "Aeroquin - Manager created");
    EXPECT_EQ(log.back(), "Aeroquin - Manager destroyed");
    EXPECT_TRUE(root.files("Reports").empty());
}

const std::string kOutReport = "Out/DeltaWing_20240305_140709.csv";
const std::string kOutItems =
    "VesselName = GL-01\nSaveDirectory = Out\nReportNameStyle = 1\nAoaIntervals = 0 10\n"
    "AoaIncrements = 1\n";
const std::string kOutGrid = kOutItems + "MachIntervals = 1 2\nMachIncrements = 1\n";
const std::string kLongDirectoryItems =
    "VesselName = GL-01\nSaveDirectory = " + std::string(485, 'd') +
    "\nReportNameStyle = 1\nAoaIntervals = 0 10\nAoaIncrements = 1\nMachIntervals = 1 2\n"
    "MachIncrements = 1\n";
const std::string kByteOrderMarkError =
    "Configuration Error - Modules\\Plugin\\Aeroquin.cfg starts with a UTF-8 byte-order mark, "
    "which the simulator reads as part of the first item's name: save the file without one";
const std::string kGoodItems =
    "SaveDirectory = Reports\nReportNameStyle = 1\nAoaIntervals = -10 0 30\n"
    "AoaIncrements = 5 3\nMachIntervals = 0.5 1 2\nMachIncrements = 5 4\n";

INSTANTIATE_TEST_SUITE_P(
    Failures, StartFailureTest,
    ::testing::Values(
        StartFailure{"MissingFile", "",
                     "Configuration Error - File Modules\\Plugin\\Aeroquin.cfg not found", false},
        // As in the simulator's Linux build, a folder opens as a file that holds no item.
        StartFailure{"ConfigurationIsAFolder", "", "Configuration Error - VesselName not found.",
                     false,
                     [](const TempRoot& root) {
                         std::filesystem::create_directories(root.path() /
                                                             "Config/Modules/Plugin/Aeroquin.cfg");
                     }},
        StartFailure{"BadItem",
                     "VesselName = GL-01\nSaveDirectory = Reports\nReportNameStyle = 2\n",
                     "Configuration Error - ReportNameStyle = 2 is out of bounds: [0, 1]", false},
        StartFailure{"UnparsableList",
                     "VesselName = GL-01\nSaveDirectory = Reports\nReportNameStyle = 0\n"
                     "AoaIntervals = 0, 10\n",
                     "Configuration Error - error while parsing AoaIntervals", false},
        StartFailure{"MissingVessel", "VesselName = Nobody\n" + kGoodItems,
                     "Vessel Nobody was not found in the simulation", true},
        StartFailure{"MissingReportDirectory",
                     "VesselName = GL-01\nSaveDirectory = NoSuchFolder\nReportNameStyle = 1\n"
                     "AoaIntervals = 0 10\nAoaIncrements = 1\nMachIntervals = 1 2\n"
                     "MachIncrements = 1\n",
                     "File NoSuchFolder\\DeltaWing_20240305_140709.csv could not be created.",
                     true},
        // The simulator hands out a handle for these and drops every line.
        StartFailure{"ReportNameTakenByAFolder", kOutGrid,
                     "File Out\\DeltaWing_20240305_140709.csv could not be created.", true,
                     [](const TempRoot& root) {
                         std::filesystem::create_directories(root.path() / kOutReport);
                     }},
        StartFailure{"ReportLinkedToAFullDevice", kOutGrid,
                     "File Out\\DeltaWing_20240305_140709.csv could not be created.", true,
                     [](const TempRoot& root) {
                         std::filesystem::create_directories(root.path() / "Out");
                         std::filesystem::create_symlink("/dev/full", root.path() / kOutReport);
                     }},
        // The simulator copies the path into 512 characters.
        StartFailure{"ReportPathOverTheSimulatorsLimit", kLongDirectoryItems,
                     "File " + std::string(485, 'd') +
                         "\\DeltaWing_20240305_140709.csv could not be created: its path has 515 "
                         "characters, the simulator takes at most 511.",
                     true},
        StartFailure{"NegativeMach", kOutItems + "MachIntervals = -1 0.5\nMachIncrements = 1\n",
                     "Configuration Error - Mach numbers, configuration error: -1 is below 0",
                     false},
        StartFailure{"AttachedVessel", "VesselName = GL-01\n" + kGoodItems,
                     "Vessel GL-01 is attached to GL-02: the simulator computes no aerodynamics "
                     "for it",
                     true,
                     [](const TempRoot& root) {
                         std::string scenario = root.read("Scenarios/Default.scn");
                         scenario.replace(scenario.find("GL-01:DeltaWing"), 15,
                                          "GL-01:DeltaWing GL-02:DeltaWing");
                         root.write("Scenarios/Default.scn",
                                    scenario + "GL-01.AttachedTo = GL-02\n");
                     }},
        StartFailure{"DockedVessel", "VesselName = GL-01\n" + kGoodItems,
                     "Vessel GL-01 is docked to GL-02: the simulator would move and measure the "
                     "whole stack",
                     true,
                     [](const TempRoot& root) {
                         std::string scenario = root.read("Scenarios/Default.scn");
                         scenario.replace(scenario.find("GL-01:DeltaWing"), 15,
                                          "GL-01:DeltaWing GL-02:DeltaWing");
                         root.write("Scenarios/Default.scn", scenario + "GL-01.DockedTo = GL-02\n");
                     }},
        // Opening a named pipe would wait for a reader for good.
        StartFailure{"ReportNameTakenByANamedPipe", kOutGrid,
                     "File Out\\DeltaWing_20240305_140709.csv could not be created.", true,
                     [](const TempRoot& root) {
                         std::filesystem::create_directories(root.path() / "Out");
                         ASSERT_EQ(mkfifo((root.path() / kOutReport).c_str(), 0600), 0);
                     }},
        // The simulator's item reader takes the mark as part of the first key: a required item
        // would be "not found", an optional one silently ignored.
        StartFailure{"ByteOrderMarkBeforeARequiredItem",
                     "\xEF\xBB\xBFVesselName = GL-01\n" + kGoodItems, kByteOrderMarkError, false},
        StartFailure{"ByteOrderMarkBeforeAnOptionalItem",
                     "\xEF\xBB\xBF"
                     "Altitude = 1000\nVesselName = GL-01\n" +
                         kGoodItems,
                     kByteOrderMarkError, false}),
    [](const auto& testInfo) { return testInfo.param.name; });

// A lone fin behind and above the centre of gravity, through a sideslip axis: each row's side
// force and rolling and yawing moments are those of the simulator's force model worked by hand
// at the row's angles, in body axes. The fin gets the simulator's slip angle, the opposite of
// the sideslip: a stable fin, its lift coefficient rising with that angle, gives CY_b < 0,
// Cn_b > 0 and, above the centre of gravity, Cl_b < 0.
TEST(CaptureTest, FinThroughASideslipAxisGivesTheHandSummedLateralColumns) {
    TempRoot root("demo");
    root.write("Config/Vessels/Finned.cfg",
               "Mass = 1000\nInertia = 2 2 1\nAirfoils = Fin\nFin.Lift = Horizontal\n"
               "Fin.Position = 0 0.8 -4.8\nFin.Chord = 0.9\nFin.Area = 1.2\n"
               "Fin.AspectRatio = 1.5\nFin.Table = Fin.csv\n");
    // cl = 0.05 and cm = 0.002 per degree of slip angle, cd = 0.01: exact in the table.
    root.write("Config/Vessels/Fin.csv",
               "mach,aoa,cl,cm,cd\n0,-90,-4.5,-0.18,0.01\n0,90,4.5,0.18,0.01\n"
               "2,-90,-4.5,-0.18,0.01\n2,90,4.5,0.18,0.01\n");
    root.write("Scenarios/Default.scn", "Body = Earth\nVessels = F1:Finned\nF1.Status = Flying\n");
    root.write("Config/Modules/Plugin/Aeroquin.cfg",
               "VesselName = F1\nSaveDirectory = Reports\nReportNameStyle = 0\n"
               "AoaIntervals = 0 8\nAoaIncrements = 1\nMachIntervals = 0.5 1\n"
               "MachIncrements = 0\nReportMoments = 1\nSideslipIntervals = -10 10\n"
               "SideslipIncrements = 2\n");
    const auto result = runHost(kHost, root, {"--display", "none"});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    Lines items;
    const Lines report =
        aeroquin::testsupport::withoutHeaderItems(root.lines("Reports/Finned.csv"), &items);
    // Earth's gravity at 20 km: G M / r^2 of the host's Earth.
    EXPECT_EQ(items, (Lines{"Altitude (m) = 20000", "Mass (kg) = 1000",
                            "Inertia roll, pitch, yaw (kg m^2) = 1000 2000 2000",
                            "Gravity (m/s^2) = 9.75885", "Number of sideslip points = 3",
                            "Controls held = Elevator 0, Rudder 0, Aileron 0, Flap 0, "
                            "ElevatorTrim 0, RudderTrim 0",
                            "Thrust held (N) = 0", "Time step (s) = 0.02"}));
    ASSERT_EQ(report.size(), 6U + 6U);
    EXPECT_EQ(report[5],
              "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c; Sideslip; "
              "CY*S; Cl*S*b; Cn*S*b");
    const double degree = std::numbers::pi / 180.0;
    const std::vector<std::pair<double, double>> angles{{0, -10}, {8, -10}, {0, 0},
                                                        {8, 0},   {0, 10},  {8, 10}};
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const std::vector<double> v = numbers(report[6 + i]);
        ASSERT_EQ(v.size(), 12U) << report[6 + i];
        const auto [aoa, sideslip] = angles[i];
        EXPECT_EQ(v[1], aoa);
        EXPECT_EQ(v[8], sideslip);
        // The airspeed's direction, vessel frame (x right, y up, z forward).
        const double a = aoa * degree;
        const double b = sideslip * degree;
        const double n = std::hypot(std::sin(b) * std::cos(a), std::cos(b));
        const double dx = std::sin(b) * std::cos(a) / n;
        const double dy = -std::sin(a) * std::cos(b) / n;
        const double dz = std::cos(a) * std::cos(b) / n;
        const double slipDeg = std::atan2(-dx, dz) / degree;
        const double cl = 0.05 * slipDeg;
        const double cm = 0.002 * slipDeg;
        const double side = std::hypot(dz, dx);
        // Per q, m^2: the fin's lift along unit(v_z, 0, -v_x), its drag along -v.
        const double fx = 1.2 * (cl * dz / side - 0.01 * dx);
        const double fy = 1.2 * (-0.01 * dy);
        const double fz = 1.2 * (cl * -dx / side - 0.01 * dz);
        // F x r with r = (0, 0.8, -4.8), and the fin's own cm q S c about y.
        const double my = fz * 0.0 - fx * -4.8 + cm * 1.2 * 0.9;
        const double mz = fx * 0.8 - fy * 0.0;
        const auto expectPrinted = [&](double actual, double expected, const char* what) {
            EXPECT_NEAR(actual, expected, 1e-5 * std::abs(expected) + 1e-12)
                << what << " in " << report[6 + i];
        };
        expectPrinted(v[9], fx, "CY*S");
        expectPrinted(v[10], mz, "Cl*S*b");
        expectPrinted(v[11], -my, "Cn*S*b");
        if (sideslip > 0) {
            EXPECT_LT(v[9], 0.0) << report[6 + i];
            EXPECT_LT(v[10], 0.0) << report[6 + i];
            EXPECT_GT(v[11], 0.0) << report[6 + i];
        }
    }
}

// Through a rate axis, each axis's moment moves with its rate by the simulator's damping alone,
// -min(1/2 rho (V + 30 m/s)^2 C_y r_i, I_i / dt) w_i (the roll limited by I / dt here), with
// nothing across the axes; the rates are the aerospace ones, the moments the report's.
TEST(CaptureTest, RateAxisMovesEachMomentByTheSimulatorsDamping) {
    TempRoot root("demo");
    root.write("Config/Vessels/Spinner.cfg",
               "Mass = 1000\nInertia = 2 3 1\nCrossSections = 2 4 6\nRotResistance = 0.1 0.2 20\n"
               "Airfoils = Wing\nWing.Lift = Vertical\nWing.Position = 0 0 -0.5\n"
               "Wing.Chord = 1\nWing.Area = 10\nWing.Table = Spin.csv\n");
    root.write("Config/Vessels/Spin.csv",
               "mach,aoa,cl,cm,cd\n0,-90,-1,0,0.02\n0,90,1,0,0.02\n"
               "2,-90,-1,0,0.02\n2,90,1,0,0.02\n");
    root.write("Scenarios/Default.scn", "Body = Earth\nVessels = S1:Spinner\nS1.Status = Flying\n");
    root.write("Config/Modules/Plugin/Aeroquin.cfg",
               "VesselName = S1\nSaveDirectory = Reports\nReportNameStyle = 0\n"
               "AoaIntervals = 2 4\nAoaIncrements = 1\nMachIntervals = 0.5 1\n"
               "MachIncrements = 0\nReportMoments = 1\nRateIntervals = -20 40\n"
               "RateIncrements = 2\n");
    const auto result = runHost(kHost, root, {"--display", "none"});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    const Lines report =
        aeroquin::testsupport::withoutHeaderItems(root.lines("Reports/Spinner.csv"));
    ASSERT_EQ(report.size(), 6U + 18U);
    EXPECT_EQ(report[5],
              "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c; CY*S; "
              "Cl*S*b; Cn*S*b; Pitch Rate; Roll Rate; Yaw Rate");
    const double degree = std::numbers::pi / 180.0;
    const std::vector<double> first = numbers(report[6]);
    const double q = first[2];
    const double speed = first[3];
    const double rho = 2.0 * q / (speed * speed);
    const double reach = 0.5 * rho * (speed + 30.0) * (speed + 30.0) * 4.0;
    // Per rad/s, N m: pitch about x, roll about z (limited), yaw about y.
    const double k[3] = {std::min(reach * 0.1, 2.0 * 1000 / 0.02),
                         std::min(reach * 20, 1.0 * 1000 / 0.02),
                         std::min(reach * 0.2, 3.0 * 1000 / 0.02)};
    ASSERT_EQ(k[1], 50000.0);
    // Rows at AOA 2: rates -20, 10, 40 about pitch, then roll, then yaw.
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::vector<double> low = numbers(report[6 + axis * 6]);
        const std::vector<double> high = numbers(report[6 + axis * 6 + 4]);
        ASSERT_EQ(low.size(), 14U);
        EXPECT_EQ(low[11 + axis], -20.0) << report[6 + axis * 6];
        EXPECT_EQ(high[11 + axis], 40.0) << report[6 + axis * 6 + 4];
        for (std::size_t moment = 0; moment < 3; ++moment) {
            // CM*S*c, Cl*S*b, Cn*S*b: columns 7, 9, 10.
            const std::size_t column = moment == 0 ? 7 : 8 + moment;
            const double expected = axis == moment ? -k[axis] * 60.0 * degree / q : 0.0;
            EXPECT_NEAR(high[column] - low[column], expected, 2e-5 * std::abs(expected) + 1e-9)
                << "axis " << axis << ", column " << column;
        }
    }
}

TEST(CaptureTest, SinglePointSweepCompletesInTheFirstFrame) {
    TempRoot root("demo");
    configure(root, {"GL-01", "Reports", "0", "5 10", "0", "0.8 1", "0"});
    const auto result = runHost(kHost, root, {"--display", "none"});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    EXPECT_NE(result.out.find("aeroquin-host: 1 frame, 1 point,"), std::string::npos) << result.out;
    const Lines report = root.lines("Reports/DeltaWing.csv");
    ASSERT_EQ(report.size(), 7U);
    EXPECT_EQ(report[6].rfind("0.8; 5; ", 0), 0U) << report[6];
    const Lines log = moduleLog(root);
    EXPECT_EQ(Lines(log.begin() + 3, log.end()),
              (Lines{"Aeroquin - Manager initialized ok", report[6], "Capture completed",
                     "Aeroquin - Manager destroyed"}));
}

// What the simulation does to the vessel mid-capture, and how the capture ends: the rows so far
// stay, the last of them is in the log before the final status, and the host's closing line
// counts as many points as the report has rows.
struct MidCaptureCase {
    std::string name;
    std::string scenario;  // items added to the demo's
    Lines arguments;       // added to the run's
    int exitCode;
    std::string finalStatus;
    std::string closing;  // the start of the host's closing line, after "run ended: "
};

void PrintTo(const MidCaptureCase& c, std::ostream* out) {
    *out << c.name;
}

class MidCaptureTest : public ::testing::TestWithParam<MidCaptureCase> {};

TEST_P(MidCaptureTest, EndsWithTheRowsSoFarEachOfThemLogged) {
    const MidCaptureCase& c = GetParam();
    TempRoot root("demo");
    std::string scenario = root.read("Scenarios/Default.scn") + c.scenario;
    scenario.replace(scenario.find("GL-01:DeltaWing"), 15, "GL-01:DeltaWing P:DeltaWing");
    root.write("Scenarios/Default.scn", scenario);
    Lines arguments{"--utc", kPinnedClock, "--display", "none"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto result = runHost(kHost, root, arguments);
    EXPECT_EQ(result.exitCode(), c.exitCode) << result.err;
    const Lines report = root.lines(kDemoReport);
    ASSERT_EQ(report.size(), 6U + 3U);
    expectWholeRows(report);
    const Lines log = moduleLog(root);
    ASSERT_GE(log.size(), 3U);
    EXPECT_EQ(log[log.size() - 3], report.back());
    EXPECT_EQ(log[log.size() - 2], c.finalStatus);
    const Lines hostLog = root.lines("host.log");
    EXPECT_EQ(std::count_if(hostLog.begin(), hostLog.end(),
                            [&](const std::string& line) {
                                return line.rfind("host: run ended: " + c.closing, 0) == 0;
                            }),
              1)
        << root.read("host.log");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidCaptureTest,
    ::testing::Values(
        MidCaptureCase{"Deleted",
                       "GL-01.DeletedAfterFrame = 3\n",
                       {},
                       9,
                       "Capture stopped: vessel GL-01 is no longer in the simulation; 3 of 90 "
                       "points measured",
                       "4 frames, 3 points,"},
        // The newcomer gets the deleted vessel's handle, which the simulator says is a vessel.
        MidCaptureCase{"DeletedAndItsHandleReused",
                       "GL-01.DeletedAfterFrame = 3\nP.Status = Flying\nP.CreatedAfterFrame = 3\n",
                       {},
                       9,
                       "Capture stopped: vessel GL-01 is no longer in the simulation; 3 of 90 "
                       "points measured",
                       "4 frames, 3 points,"},
        MidCaptureCase{"AttachedToAnother",
                       "GL-01.AttachedTo = P\nGL-01.AttachedAfterFrame = 3\n",
                       {},
                       9,
                       "Capture stopped: vessel GL-01 is attached to P; 3 of 90 points measured",
                       "4 frames, 3 points,"},
        MidCaptureCase{"SimulationEnded",
                       "",
                       {"--frames", "3"},
                       3,
                       "Capture stopped: 3 of 90 points measured",
                       "3 frames, 3 points,"}),
    [](const ::testing::TestParamInfo<MidCaptureCase>& param) { return param.param.name; });

// A class in a sub-folder of Config/Vessels: the header names it, the file name flattens it.
TEST(CaptureTest, ClassInASubFolderReportsIntoTheSaveDirectory) {
    TempRoot root("demo");
    for (const char* file : {"DeltaWing.cfg", "DeltaWing.csv"}) {
        root.write(std::string("Config/Vessels/Sub/") + file,
                   root.read(std::string("Config/Vessels/") + file));
    }
    std::string scenario = root.read("Scenarios/Default.scn");
    scenario.replace(scenario.find("GL-01:DeltaWing"), 15, "GL-01:Sub/DeltaWing");
    root.write("Scenarios/Default.scn", scenario);
    configure(root, {"GL-01", "Reports", "1", "5 10", "0", "0.8 1", "0"});
    const auto result = runHost(kHost, root, {"--utc", kPinnedClock, "--display", "none"});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    EXPECT_EQ(root.files("Reports"), Lines{"Sub_DeltaWing_20240305_140709.csv"});
    EXPECT_EQ(root.lines("Reports/Sub_DeltaWing_20240305_140709.csv").at(1),
              "Vessel Class: Sub/DeltaWing");
}

TEST(CaptureTest, FrameLimitEndsTheRunWithAClosedReportOfTheRowsSoFar) {
    TempRoot root("demo");
    const auto result =
        runHost(kHost, root, {"--utc", kPinnedClock, "--display", "none", "--frames", "7"});
    EXPECT_EQ(result.exitCode(), 3);
    const Lines report = root.lines(kDemoReport);
    EXPECT_EQ(report.size(), 13U);
    expectWholeRows(report);
    const Lines log = moduleLog(root);
    EXPECT_EQ(Lines(log.end() - 2, log.end()),
              (Lines{"Capture stopped: 7 of 90 points measured", "Aeroquin - Manager destroyed"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "Capture completed"), 0);
}

// A full disk after 20 lines (5 header writes, 15 rows): the capture goes on to the end, the
// failure is logged, what was written before stays whole, and the end is no completion.
TEST(CaptureTest, FailingWritesAreLoggedAndTheRowsBeforeThemStayIntact) {
    TempRoot root("demo");
    const auto result = runHost(
        kHost, root, {"--utc", kPinnedClock, "--display", "none", "--fail-writes-after", "20"});
    EXPECT_EQ(result.exitCode(), 9) << result.err;
    EXPECT_NE(result.err.find("Capture ended: 75 of 96 lines are missing from "
                              "Reports\\DeltaWing_20240305_140709.csv"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("; 75 report lines and 0 log lines lost\n"), std::string::npos)
        << result.out;
    const Lines report = root.lines(kDemoReport);
    ASSERT_EQ(report.size(), 6U + 15U);
    expectWholeRows(report);
    EXPECT_EQ(report[20].rfind("0.6; 0; ", 0), 0U) << report[20];
    const std::string log = root.read("host.log");
    EXPECT_NE(log.find("host: oapiWriteLine: writing Reports/DeltaWing_20240305_140709.csv failed"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("host: Reports/DeltaWing_20240305_140709.csv: 75 lines could not be "
                       "written"),
              std::string::npos)
        << log;
    EXPECT_EQ(moduleLog(root).back(), "Aeroquin - Manager destroyed");
}

// Starts a capture too long to finish, waits until it has written `rows` rows, then signals it.
HostResult interruptedCapture(const TempRoot& root, int signal, std::size_t rows) {
    configure(root, {"GL-01", "Reports", "0", "0 10", "1000", "0.5 2", "1000"});
    HostProcess host(AEROQUIN_HOST_EXE, hostArgs(kHost, root, {"--display", "none"}), root.path());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (root.lines("Reports/DeltaWing.csv").size() < 6 + rows &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    host.signal(signal);
    return host.wait();
}

TEST(CaptureTest, SigtermEndsTheSimulationCleanlyWithEveryRowSoFar) {
    TempRoot root("demo");
    const auto result = interruptedCapture(root, SIGTERM, 20);
    EXPECT_EQ(result.exitCode(), 130) << result.err;
    const Lines report = root.lines("Reports/DeltaWing.csv");
    EXPECT_GE(report.size(), 26U);
    EXPECT_LT(report.size(), 6U + 1001U * 1001U);
    expectWholeRows(report);
    EXPECT_EQ(moduleLog(root).back(), "Aeroquin - Manager destroyed");
}

TEST(CaptureTest, SigkillLosesNoWrittenRow) {
    TempRoot root("demo");
    const auto result = interruptedCapture(root, SIGKILL, 20);
    EXPECT_EQ(result.exitCode(), 128 + SIGKILL);
    const std::string text = root.read("Reports/DeltaWing.csv");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << "the last row is whole";
    const Lines report = root.lines("Reports/DeltaWing.csv");
    EXPECT_GE(report.size(), 26U);
    expectWholeRows(report);
}

TEST(CaptureTest, TerminalDisplayPutsTheStatusIntoTheAnnotation) {
    TempRoot root("demo");
    configure(root, {"GL-01", "Reports", "0", "0 10", "1", "0.5 1", "0"});
    const auto result = runHost(kHost, root, {"--trace", (root.path() / "trace.txt").string()});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    const std::string trace = root.read("trace.txt");
    EXPECT_NE(trace.find("oapiAnnotationSetText"), std::string::npos);
    EXPECT_NE(trace.find("\"Capture completed\""), std::string::npos);
}

// A body without rotation and with the simulator's configured air (examples/flat): 288.16 K, so
// sound at sqrt(1.44 * 250 * 288.16) = 322.0832190599194 m/s, density 1.6 * exp(-2) kg/m^3 at
// 20 km, and a probe whose table is cl = 0.01 * AOA, cd = 0.1 + 0.05 * Mach with S = 10 m^2.
// Lift and drag are divided by the dynamic pressure they were computed with, so the report
// matches physics to its printed digits whatever the step and the attitude (a vessel turned on
// its side climbs or sinks within the step); lift and L/D are negative below 0 degrees.
// With moments the same table flies as one wing 2 m behind the centre of gravity, with cm -0.02
// and a chord of 1 m: the simulator's torque F x r about x is -2 (L cos a + D sin a), and
// cm q S c adds -0.02 * 10 * 1, so CM*S*c = -2 (CL*S cos a + CD*S sin a) - 0.2 m^3.
struct PhysicsCase {
    const char* step;      // s
    const char* attitude;  // deg
    bool moments = false;
};

void PrintTo(const PhysicsCase& c, std::ostream* os) {
    *os << "step " << c.step << " s, attitude " << c.attitude;
}

class PhysicsTest : public ::testing::TestWithParam<PhysicsCase> {};

TEST_P(PhysicsTest, ReportNumbersMatchThePhysicsOfAStillIsothermalAtmosphere) {
    TempRoot root("flat");
    root.write("Scenarios/Default.scn",
               std::string("Body = Flat\nStepSize = 0.02\nVessels = P1:Probe\n"
                           "P1.Status = Flying\nP1.Altitude = 20000\n"
                           "P1.Attitude = ") +
                   GetParam().attitude + "\n");
    configure(root, {"P1", "Reports", "0", "-20 0 40", "4 6", "0.3 1 2.5", "2 3"});
    if (GetParam().moments) {
        root.write(kModuleConfigFile, root.read(kModuleConfigFile) + "ReportMoments = 1\n");
        std::string table = "mach,aoa,cl,cm,cd\n";
        for (const std::string& line : root.lines("Config/Vessels/Probe.csv")) {
            if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])) != 0) {
                const auto cd = line.rfind(',');
                table += line.substr(0, cd) + ",-0.02" + line.substr(cd) + "\n";
            }
        }
        root.write("Config/Vessels/Probe.csv", table);
        root.write("Config/Vessels/Probe.cfg",
                   "Mass = 1000\nAirfoils = Wing\nWing.Lift = Vertical\nWing.Position = 0 0 -2\n"
                   "Wing.Chord = 1\nWing.Area = 10\nWing.Table = Probe.csv\n");
    }
    const auto result = runHost(kHost, root, {"--display", "none", "--step", GetParam().step});
    ASSERT_EQ(result.exitCode(), 0) << result.err;
    const Lines report = aeroquin::testsupport::withoutHeaderItems(root.lines("Reports/Probe.csv"));
    ASSERT_EQ(report.size(), 6U + 6U * 11U);

    const double soundSpeed = 322.0832190599194;
    const double density = 1.6 * std::exp(-2.0);
    const double area = 10.0;
    for (std::size_t i = 6; i < report.size(); ++i) {
        const auto v = numbers(report[i]);
        ASSERT_EQ(v.size(), GetParam().moments ? 8U : 7U);
        const double mach = v[0];
        const double aoa = v[1];
        const double airspeed = mach * soundSpeed;
        const double q = 0.5 * density * airspeed * airspeed;
        // Six significant digits: at most half a unit of the sixth off.
        const double printed = 5e-6;
        EXPECT_NEAR(v[3], airspeed, printed * airspeed) << report[i];
        EXPECT_NEAR(v[2], q, printed * q) << report[i];
        const double clS = area * 0.01 * aoa;
        const double cdS = area * (0.1 + 0.05 * mach);
        EXPECT_NEAR(v[4], clS, printed * std::abs(clS) + 1e-12) << report[i];
        EXPECT_NEAR(v[5], cdS, printed * cdS) << report[i];
        EXPECT_NEAR(v[6], clS / cdS, printed * std::abs(clS / cdS) + 1e-12) << report[i];
        if (GetParam().moments) {
            const double a = aoa * std::numbers::pi / 180.0;
            const double cmSc = -2.0 * (clS * std::cos(a) + cdS * std::sin(a)) - 0.2;
            EXPECT_NEAR(v[7], cmSc, printed * std::abs(cmSc)) << report[i];
        }
    }
    if (GetParam().moments) {
        EXPECT_EQ(report[5],
                  "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c");
    }
}

INSTANTIATE_TEST_SUITE_P(StepsAndAttitudes, PhysicsTest,
                         ::testing::Values(PhysicsCase{"0.0005", "0 0 0"},
                                           PhysicsCase{"0.02", "0 0 90"},
                                           PhysicsCase{"0.1", "0 0 90"},
                                           PhysicsCase{"0.1", "40 -25 130"},
                                           PhysicsCase{"0.02", "40 -25 130", true}),
                         [](const ::testing::TestParamInfo<PhysicsCase>& testInfo) {
                             std::string name = std::string("step ") + testInfo.param.step +
                                                " s, attitude " + testInfo.param.attitude +
                                                (testInfo.param.moments ? ", moments" : "");
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                             }
                             return name;
                         });

}  // namespace
