// Vessels built from airfoils whose coefficients come from a library's functions.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
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
using aeroquin::testsupport::runHost;
using aeroquin::testsupport::TempRoot;
using Lines = std::vector<std::string>;

using Callback = void (*)(void*, double, double, double, void*, double*, double*, double*);

// A one-airfoil probe with a drag element; `coefficients` names where cl, cm, cd come from.
std::string probeClass(const std::string& coefficients) {
    return "Mass = 500\nInertia = 2 2 1\nLibrary = TestAirfoils.so\nAirfoils = Wing\n"
           "Wing.Lift = Vertical\nWing.Position = 0 0 0.3\nWing.Chord = 1.5\nWing.Area = 8\n"
           "Wing.AspectRatio = 6\n" +
           coefficients + "\nDragElements = Gear\nGear.Position = 0 -1 0\nGear.Factor = 0.2\n";
}

// Root of the glider example with the test library and the probe classes in place.
void prepare(const TempRoot& root, const std::string& probe) {
    std::filesystem::copy_file(AEROQUIN_TEST_AIRFOILS, root.path() / "Modules/TestAirfoils.so");
    root.write("Config/Vessels/Probe.cfg", probe);
    root.write("Scenarios/Default.scn", "Body = Earth\nVessels = P1:Probe\n");
}

std::vector<double> numbers(const std::string& row) {
    std::vector<double> values;
    std::istringstream in(row);
    std::string field;
    while (std::getline(in, field, ';')) {
        values.push_back(std::stod(field));
    }
    return values;
}

// The same coefficients, once from the function and once as a table sampled from it every
// 2 degrees and every 0.25 in Mach, captured between the table's points: the reports agree
// within the table's interpolation error.
TEST(AirfoilTest, FunctionAndTableOfTheSameCoefficientsCaptureTheSameReport) {
    void* library = dlopen(AEROQUIN_TEST_AIRFOILS, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    const auto smoothWing = reinterpret_cast<Callback>(dlsym(library, "SmoothWing"));
    ASSERT_NE(smoothWing, nullptr);
    std::ostringstream table;
    table << "mach,aoa,cl,cm,cd\n";
    for (int m = 0; m <= 8; ++m) {
        for (int degrees = -40; degrees <= 40; degrees += 2) {
            double cl = 0.0, cm = 0.0, cd = 0.0;
            smoothWing(nullptr, degrees * std::numbers::pi / 180.0, 0.25 * m, 1e6, nullptr, &cl,
                       &cm, &cd);
            table << 0.25 * m << ',' << degrees << ',' << cl << ',' << cm << ',' << cd << '\n';
        }
    }
    dlclose(library);

    Lines reports[2];
    // CheckedWing is SmoothWing when it gets a vessel and its airfoil's name.
    const std::string sources[2] = {"Wing.Function = CheckedWing", "Wing.Table = Wing.csv"};
    for (int i = 0; i < 2; ++i) {
        TempRoot root("glider");
        prepare(root, probeClass(sources[i]));
        root.write("Config/Vessels/Wing.csv", table.str());
        configure(root, {"P1", "Reports", "0", "-31 29", "10", "0.3 1.7", "4"});
        const auto result = runHost(kHost, root, {"--display", "none"});
        ASSERT_EQ(result.exitCode(), 0) << result.err << root.read("host.log");
        reports[i] = root.lines("Reports/Probe.csv");
    }
    ASSERT_EQ(reports[0].size(), 6U + 5U * 11U);
    ASSERT_EQ(reports[1].size(), reports[0].size());
    for (std::size_t row = 6; row < reports[0].size(); ++row) {
        const auto fromFunction = numbers(reports[0][row]);
        const auto fromTable = numbers(reports[1][row]);
        ASSERT_EQ(fromFunction.size(), 7U);
        ASSERT_EQ(fromTable.size(), 7U);
        for (std::size_t column = 0; column < 6; ++column) {
            EXPECT_NEAR(fromTable[column], fromFunction[column],
                        1e-2 * std::abs(fromFunction[column]) + 5e-3)
                << reports[0][row] << " | " << reports[1][row];
        }
    }
}

// A coefficient function is blamed for what it returned: a finite lift coefficient of 1e308
// overflows the force, and the run stops in frame 1 naming the airfoil and the product.
TEST(AirfoilTest, AForceThatOverflowsStopsTheRunNamingItsFactors) {
    TempRoot root("glider");
    prepare(root, probeClass("Wing.Function = HugeLift"));
    configure(root, {"P1", "Reports", "0", "0 10", "1", "0.5 1", "1"});
    const auto result = runHost(kHost, root, {"--display", "none"});
    EXPECT_EQ(result.exitCode(), 6);
    EXPECT_NE(result.err.find("aeroquin-host: frame 1: vessel P1: airfoil Wing: its lift is not "
                              "finite: coefficient 1e+308 x q "),
              std::string::npos)
        << result.err;
    EXPECT_EQ(root.lines("Reports/Probe.csv").size(), 6U) << "the header, no row";
}

// A coefficient function that never returns, crashes or calls exit() at Mach 0.7, in flight: the
// run ends with its own status and leaves one line naming the frame and the function.
struct DyingCall {
    std::string function;
    int stopSignal;  // sent once the capture stands in the function; 0: none
    int exitCode;
    std::string line;  // the log's line, up to the frame number
};

void PrintTo(const DyingCall& input, std::ostream* out) {
    *out << input.function;
}

class DyingCallTest : public ::testing::TestWithParam<DyingCall> {};

TEST_P(DyingCallTest, EndsTheRunWithOneLineNamingTheFrameAndTheFunction) {
    const DyingCall& call = GetParam();
    TempRoot root("glider");
    prepare(root, probeClass("Wing.Function = " + call.function));
    configure(root, {"P1", "Reports", "0", "0 10", "1", "0.5 0.9", "4"});
    aeroquin::testsupport::HostProcess host(
        AEROQUIN_HOST_EXE, aeroquin::testsupport::hostArgs(kHost, root, {"--display", "none"}),
        root.path());
    if (call.stopSignal != 0) {
        // Mach 0.5 and 0.6 take four rows; the fifth frame never ends.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (root.lines("Reports/Probe.csv").size() < 6 + 4 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        host.signal(call.stopSignal);
    }
    const auto result = host.wait();
    EXPECT_EQ(result.exitCode(), call.exitCode) << result.err;
    const std::string expected = call.line + " in frame 5, in the coefficient function " +
                                 call.function + " of Modules/TestAirfoils.so, airfoil Wing";
    EXPECT_EQ(root.logLinesStartingWith(call.line), (Lines{expected})) << root.read("host.log");
    EXPECT_NE(result.err.find("aeroquin-host: " + expected.substr(6)), std::string::npos)
        << result.err;
    EXPECT_EQ(root.lines("Reports/Probe.csv").size(), 6U + 4U) << "the rows before are whole";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DyingCallTest,
    ::testing::Values(DyingCall{"HangsAtMachPointSeven", SIGTERM, 130,
                                "host: no end within 2 s of SIGTERM"},
                      DyingCall{"CrashesAtMachPointSeven", 0, 128 + SIGSEGV, "host: SIGSEGV"},
                      DyingCall{"ExitsAtMachPointSeven", 0, 7, "host: exit() called"}),
    [](const auto& testInfo) { return testInfo.param.function; });

struct BadAirfoil {
    std::string name;
    std::string probe;    // the class file
    std::string message;  // what stderr must say
};

void PrintTo(const BadAirfoil& input, std::ostream* out) {
    *out << input.name;
}

class BadAirfoilTest : public ::testing::TestWithParam<BadAirfoil> {};

TEST_P(BadAirfoilTest, IsRefusedByFileAndLineBeforeTheFirstFrame) {
    TempRoot root("glider");
    prepare(root, GetParam().probe);
    configure(root, {"P1", "Reports", "0", "0 10", "1", "0.5 1", "1"});
    const auto result = runHost(kHost, root, {"--display", "none"});
    EXPECT_EQ(result.exitCode(), 2);
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_EQ(root.read("host.log").find("Aeroquin - "), std::string::npos);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

const std::string goodProbe = probeClass("Wing.Function = SmoothWing");

INSTANTIATE_TEST_SUITE_P(
    Cases, BadAirfoilTest,
    ::testing::Values(
        BadAirfoil{"MissingLibrary",
                   replaced(goodProbe, "Library = TestAirfoils.so", "Library = Gone.so"),
                   "Config/Vessels/Probe.cfg:3: Library Modules/Gone.so not found"},
        BadAirfoil{"MissingSymbol", probeClass("Wing.Function = NoSuchWing"),
                   "Config/Vessels/Probe.cfg:10: Wing.Function NoSuchWing is not defined in "
                   "Modules/TestAirfoils.so"},
        BadAirfoil{"NonFiniteCoefficient", probeClass("Wing.Function = NanPastThirty"),
                   "Config/Vessels/Probe.cfg:10: airfoil Wing: NanPastThirty of "
                   "Modules/TestAirfoils.so gives cd = nan at 35 deg, Mach 0"},
        BadAirfoil{"NegativeArea", replaced(goodProbe, "Wing.Area = 8", "Wing.Area = -8"),
                   "Config/Vessels/Probe.cfg:8: Wing.Area must not be negative"},
        BadAirfoil{"NegativeChord", replaced(goodProbe, "Wing.Chord = 1.5", "Wing.Chord = -1.5"),
                   "Config/Vessels/Probe.cfg:7: Wing.Chord must not be negative"},
        // Values that no vessel has and that throw a flight out of finite numbers.
        BadAirfoil{"TinyMass", replaced(goodProbe, "Mass = 500", "Mass = 1e-10"),
                   "Config/Vessels/Probe.cfg:1: Mass must be at least 0.001 kg"},
        BadAirfoil{"TinyInertia", replaced(goodProbe, "Inertia = 2 2 1", "Inertia = 2 1e-300 1"),
                   "Config/Vessels/Probe.cfg:2: Inertia must be at least 1e-06 m^2"},
        BadAirfoil{"HugeArea", replaced(goodProbe, "Wing.Area = 8", "Wing.Area = 1e308"),
                   "Config/Vessels/Probe.cfg:8: Wing.Area must be at most 1e+06 m^2"},
        BadAirfoil{"HugeChord", replaced(goodProbe, "Wing.Chord = 1.5", "Wing.Chord = 1e308"),
                   "Config/Vessels/Probe.cfg:7: Wing.Chord must be at most 10000 m"},
        // Messages that name what is wrong.
        BadAirfoil{"PositionNotANumber",
                   replaced(goodProbe, "Wing.Position = 0 0 0.3", "Wing.Position = 0 nan 0"),
                   "Config/Vessels/Probe.cfg:6: Wing.Position must be three finite numbers"},
        BadAirfoil{"DataNamedAsFunction", probeClass("Wing.Function = NotAFunction"),
                   "Config/Vessels/Probe.cfg:10: Wing.Function NotAFunction of "
                   "Modules/TestAirfoils.so is data, not a function"},
        BadAirfoil{"NoStandardException", probeClass("Wing.Function = ThrowsInteger"),
                   "reading the world threw int"},
        // A misspelt key leaves a class without aerodynamics: refused, the key warned of.
        BadAirfoil{"NoLiftNoDrag", "Mass = 12000\nReferenceArea = 60\nAeroTabel = Wing.csv\n",
                   "Config/Vessels/Probe.cfg: the class defines no lift and no drag: it needs "
                   "AeroTable, Airfoils or DragElements"}),
    [](const auto& testInfo) { return testInfo.param.name; });

// An elevator through a control axis: each row carries the level the step used, as commanded;
// CL*S and CD*S leave the surface out, as the simulator's lift and drag calls do, and CL*S total
// and CD*S total hold it: -l S dCl of lift and |l| S of drag per q at level l. The end gives the
// elevator back its own level. A vessel that holds its elevator itself (its own pre-step) makes
// every row carry the level it used instead, and the capture ends without completing.
TEST(AirfoilTest, ElevatorAxisRowsCarryTheLevelUsedAndTheSurfacesOwnForces) {
    const std::string elevator =
        "ControlSurfaces = Elevator\nElevator.Type = Elevator\nElevator.Area = 0.5\n"
        "Elevator.dCl = 1.4\nElevator.Position = 0 0 -4\nElevator.Axis = XPos\n";
    const std::string items =
        "VesselName = P1\nSaveDirectory = Reports\nReportNameStyle = 0\nAoaIntervals = 0 10\n"
        "AoaIncrements = 1\nMachIntervals = 0.5 1\nMachIncrements = 0\nReportMoments = 1\n"
        "ControlSurface = elevator\nControlIntervals = -1 1\nControlIncrements = 2\n";
    for (const bool holds : {false, true}) {
        TempRoot root("glider");
        prepare(root, probeClass("Wing.Function = SmoothWing") + elevator);
        if (holds) {
            root.write("Scenarios/Default.scn",
                       "Body = Earth\nVessels = P1:Probe\nP1.Holds = Elevator 0.3\n");
        }
        root.write("Config/Modules/Plugin/Aeroquin.cfg", items);
        const auto result = runHost(kHost, root, {"--display", "none"});
        ASSERT_EQ(result.exitCode(), holds ? 9 : 0) << result.err << root.read("host.log");
        Lines headerItems;
        const Lines report = aeroquin::testsupport::withoutHeaderItems(
            root.lines("Reports/Probe.csv"), &headerItems);
        EXPECT_EQ(
            headerItems,
            (Lines{"Altitude (m) = 20000", "Mass (kg) = 500",
                   "Inertia roll, pitch, yaw (kg m^2) = 500 1000 1000", "Gravity (m/s^2) = 9.75885",
                   "Control surface = Elevator", "Number of control levels = 3",
                   "Controls held = Rudder 0, Aileron 0, Flap 0, ElevatorTrim 0, "
                   "RudderTrim 0",
                   "Thrust held (N) = 0", "Time step (s) = 0.02"}));
        ASSERT_EQ(report.size(), 6U + 6U);
        EXPECT_EQ(report[5],
                  "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c; CY*S; "
                  "Cl*S*b; Cn*S*b; Control Level; CL*S total; CD*S total");
        const double levels[] = {-1, -1, 0, 0, 1, 1};
        for (std::size_t i = 0; i < 6; ++i) {
            const auto v = numbers(report[6 + i]);
            ASSERT_EQ(v.size(), 14U) << report[6 + i];
            // Held at 0.3, the vessel's own set turns the module's into a ramp towards it.
            const double level = v[11];
            if (holds) {
                EXPECT_NE(level, levels[i]) << report[6 + i];
            } else {
                EXPECT_EQ(level, levels[i]) << report[6 + i];
            }
            const double tolerance = 2e-5 * (std::abs(v[4]) + std::abs(v[5])) + 1e-5;
            EXPECT_NEAR(v[12] - v[4], -level * 0.5 * 1.4, tolerance) << report[6 + i];
            EXPECT_NEAR(v[13] - v[5], std::abs(level) * 0.5, tolerance) << report[6 + i];
            // The same AOA at another level: lift and drag without the surface do not move.
            EXPECT_NEAR(v[4], numbers(report[6 + i % 2])[4], 1e-9) << report[6 + i];
        }
        const Lines log = root.lines("host.log");
        const std::string end =
            holds ? "Capture ended: 6 of 6 points ran at another control level than commanded "
                    "(their rows say which)"
                  : "Capture completed";
        EXPECT_EQ(std::count(log.begin(), log.end(), end), 1) << root.read("host.log");
    }
}

}  // namespace
