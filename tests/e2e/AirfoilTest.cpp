// Vessels built from airfoils whose coefficients come from a library's functions.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/HostProcess.h"
#include "tests/support/ModuleConfiguration.h"

namespace {

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
        const auto result = runHost(root, {"--display", "none"});
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
    const auto result = runHost(root, {"--display", "none"});
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
                   "Config/Vessels/Probe.cfg:7: Wing.Chord must not be negative"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
