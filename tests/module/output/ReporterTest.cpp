#include "module/output/Reporter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "module/output/RowText.h"
#include "tests/fakes/RecordingHost.h"

namespace aeroquin {
namespace {

using aeroquin::testsupport::RecordingHost;
using Lines = std::vector<std::string>;

// AOA 0, 5, 10 and Mach 0.5, 1: 3 x 2 points.
Configuration threeByTwo() {
    Configuration configuration;
    configuration.vesselName = "Probe";
    configuration.saveDirectory = "Reports";
    configuration.reportNameStyle = 0;
    configuration.aoaIntervals = {0.0, 10.0};
    configuration.aoaIncrements = {2};
    configuration.machIntervals = {0.5, 1.0};
    configuration.machIncrements = {1};
    return configuration;
}

// The file as lines on disk: a host line write that holds a line feed makes two lines.
Lines linesOnDisk(const Lines& writes) {
    Lines lines;
    for (const std::string& write : writes) {
        std::istringstream text(write);
        std::string line;
        while (std::getline(text, line)) {
            lines.push_back(line);
        }
    }
    return lines;
}

class ReporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.reset();
        vessel = &aeroquin::testsupport::addStandardVessel(host);
        sweeper.build(configuration);
        vesselManager.bind(configuration);
        host.calls.clear();
    }

    const Lines& file(const std::string& path) { return host.writtenFiles.at(path); }

    RecordingHost& host = RecordingHost::get();
    aeroquin::testsupport::FakeVessel* vessel = nullptr;
    Configuration configuration = threeByTwo();
    Sweeper sweeper;
    VesselManager vesselManager;
};

TEST_F(ReporterTest, CompleteCaptureOfAThreeByTwoSweep) {
    const CaptureSample samples[] = {
        {0.5, 0.0, 100.0, 200.0, 1.0, 0.5, {}},  {0.5, 5.0, 100.0, 200.0, 1.5, 0.5, {}},
        {0.5, 10.0, 100.0, 200.0, 2.0, 0.5, {}}, {1.0, 0.0, 400.0, 400.0, 1.0, 0.25, {}},
        {1.0, 5.0, 400.0, 400.0, 1.5, 0.25, {}}, {1.0, 10.0, 400.0, 400.0, 2.0, 0.25, {}},
    };
    {
        Reporter reporter;
        reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
        for (const CaptureSample& sample : samples) {
            reporter.writeRow(rowText(sample));
        }
        reporter.close();
    }

    EXPECT_EQ(linesOnDisk(file("Reports\\Glider.csv")),
              (Lines{"Aeroquin version: 1.0", "Vessel Class: Glider",
                     "System time at simulation start: 2024/03/05::14:07:09",
                     "Number of AOA points = 3", "Number of Mach points = 2",
                     "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D",
                     "0.5; 0; 100; 200; 1; 0.5; 2", "0.5; 5; 100; 200; 1.5; 0.5; 3",
                     "0.5; 10; 100; 200; 2; 0.5; 4", "1; 0; 400; 400; 1; 0.25; 4",
                     "1; 5; 400; 400; 1.5; 0.25; 6", "1; 10; 400; 400; 2; 0.25; 8"}));
    EXPECT_EQ(host.count("oapiWriteLine"), 11);
    EXPECT_EQ(host.count("oapiCloseFile"), 1);
    EXPECT_TRUE(host.openFiles.empty());
}

TEST_F(ReporterTest, HeaderCallsInOrderWithTheCountsAsOneWrite) {
    Reporter reporter;
    reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);

    EXPECT_EQ(
        host.callNames(),
        (Lines{"GetSystemTime", "oapiGetVesselInterface", "VESSEL::GetClassNameA", "oapiOpenFile",
               "oapiWriteLine", "oapiGetVesselInterface", "VESSEL::GetClassNameA", "oapiWriteLine",
               "oapiWriteLine", "oapiWriteLine", "oapiWriteLine"}));
    EXPECT_EQ(host.calls[3].args, "Reports\\Glider.csv, 1, 0");
    EXPECT_EQ(file("Reports\\Glider.csv")[3],
              "Number of AOA points = 3\nNumber of Mach points = 2");
    EXPECT_EQ(file("Reports\\Glider.csv")[4].size(), 61u);
}

TEST_F(ReporterTest, StyleOneStampsTheNameAndLineThreeWithOneClockReading) {
    configuration.reportNameStyle = 1;
    host.clock = SYSTEMTIME{1999, 12, 5, 31, 23, 59, 58, 999};
    Reporter reporter;
    reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);

    EXPECT_EQ(host.count("GetSystemTime"), 1);
    const Lines& lines = file("Reports\\Glider_19991231_235958.csv");
    EXPECT_EQ(lines.at(2), "System time at simulation start: 1999/12/31::23:59:58");
}

TEST_F(ReporterTest, EmptyClassNameLeavesTheLabelAlone) {
    vessel->className.clear();
    Reporter reporter;
    reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
    EXPECT_EQ(file("Reports\\.csv").at(1), "Vessel Class: ");
}

// The simulator hands out a handle and drops the lines: the header missing on disk refuses the
// file. A folder of the report's name is refused before the host is asked to open it.
TEST_F(ReporterTest, FileThatDoesNotHoldTheHeaderIsRefused) {
    std::filesystem::create_directories("Reports/Glider.csv");
    Reporter reporter;
    EXPECT_THROW(reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager),
                 std::runtime_error);
    EXPECT_TRUE(host.openFiles.empty());
    EXPECT_EQ(host.count("oapiOpenFile"), 0);

    std::filesystem::remove("Reports/Glider.csv");
    host.unwritable.insert("Reports\\Glider.csv");
    {
        Reporter refused;
        try {
            refused.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
            FAIL() << "open succeeded without a file";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "File Reports\\Glider.csv could not be created.");
        }
        refused.writeRow(rowText(CaptureSample{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, {}}));
        refused.close();
    }
    EXPECT_EQ(host.count("oapiOpenFile"), 1);
    EXPECT_EQ(host.count("oapiWriteLine"), 5) << "one header, no row";
    EXPECT_EQ(host.count("oapiCloseFile"), 1);
    EXPECT_TRUE(host.openFiles.empty());
}

// The simulator copies the path into 512 characters: a longer one never reaches it.
TEST_F(ReporterTest, PathOverTheSimulatorsLimitIsRefusedBeforeTheHostSeesIt) {
    configuration.reportNameStyle = 1;
    // 485 + 1 + 6 + 16 + 4 = 512, in folders of names the disk takes.
    const std::string folder(120, 'd');
    configuration.saveDirectory = folder + "d\\" + folder + "\\" + folder + "\\" + folder + "d";
    Reporter reporter;
    try {
        reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
        FAIL() << "a path of 512 characters was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "File " + configuration.saveDirectory +
                      "\\Glider_20240305_140709.csv could not be created: its path has 512 "
                      "characters, the simulator takes at most 511.");
    }
    EXPECT_EQ(host.count("oapiOpenFile"), 0);
    configuration.saveDirectory.pop_back();
    reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
    EXPECT_EQ(host.count("oapiOpenFile"), 1) << "511 characters are taken";
}

TEST_F(ReporterTest, RowsBeforeOpenWriteNothing) {
    Reporter reporter;
    reporter.writeRow(rowText(CaptureSample{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, {}}));
    reporter.close();
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ReporterTest, SecondCloseAndRowsAfterCloseDoNothing) {
    {
        Reporter reporter;
        reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
        reporter.close();
        host.calls.clear();
        reporter.close();
        reporter.writeRow(rowText(CaptureSample{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, {}}));
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(file("Reports\\Glider.csv").size(), 5u);
}

TEST_F(ReporterTest, DestructorClosesAnOpenFileOnce) {
    {
        Reporter reporter;
        reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
        reporter.writeRow(rowText(CaptureSample{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, {}}));
    }
    EXPECT_EQ(host.count("oapiCloseFile"), 1);
    EXPECT_EQ(host.calls.back().name, "oapiCloseFile");
    EXPECT_EQ(host.calls.back().args, "1");
    EXPECT_TRUE(host.openFiles.empty());
    EXPECT_EQ(file("Reports\\Glider.csv").back(), "1; 2; 3; 4; 5; 6; 0.833333");
}

TEST_F(ReporterTest, RowsUseExponentFormOutsideTheFixedRange) {
    Reporter reporter;
    reporter.open(configuration, ReportColumns(configuration), sweeper, vesselManager);
    reporter.writeRow(rowText(CaptureSample{1234567.0, 0.00001234, 1.0, 2.0, 3.0, 0.0, {}}));
    EXPECT_EQ(file("Reports\\Glider.csv").back(), "1.23457e+06; 1.234e-05; 1; 2; 3; 0; inf");
}

// ---- reportFileName ----

struct NameCase {
    std::string saveDirectory;
    int style;
    std::string className;
    SYSTEMTIME time;
    std::string path;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.path;
}

class ReportFileNameTest : public ::testing::TestWithParam<NameCase> {
  protected:
    void SetUp() override { RecordingHost::get().reset(); }
};

TEST_P(ReportFileNameTest, DirectoryBackslashStemAndExtension) {
    const NameCase& c = GetParam();
    RecordingHost& host = RecordingHost::get();
    aeroquin::testsupport::addStandardVessel(host).className = c.className;
    Configuration configuration = threeByTwo();
    configuration.saveDirectory = c.saveDirectory;
    configuration.reportNameStyle = c.style;
    VesselManager vesselManager;
    vesselManager.bind(configuration);

    EXPECT_EQ(reportFileName(configuration, vesselManager, c.time), c.path);
}

constexpr SYSTEMTIME kMarch5{2024, 3, 2, 5, 14, 7, 9, 123};
constexpr SYSTEMTIME kEarly{987, 1, 0, 2, 3, 4, 5, 0};

INSTANTIATE_TEST_SUITE_P(
    Paths, ReportFileNameTest,
    ::testing::Values(
        NameCase{"Reports", 0, "Glider", kMarch5, "Reports\\Glider.csv"},
        NameCase{"Reports", 1, "Glider", kMarch5, "Reports\\Glider_20240305_140709.csv"},
        NameCase{"Reports", 1, "Glider", kEarly, "Reports\\Glider_09870102_030405.csv"},
        NameCase{"Reports\\", 0, "Glider", kMarch5, "Reports\\\\Glider.csv"},
        NameCase{"", 0, "Glider", kMarch5, "\\Glider.csv"},
        NameCase{"Reports", 0, "", kMarch5, "Reports\\.csv"},
        NameCase{"Reports", 1, "", kMarch5, "Reports\\_20240305_140709.csv"},
        // A class in a sub-folder: the report stays in the save directory.
        NameCase{" My Reports/x ", 0, "Delta Glider/2", kMarch5,
                 " My Reports/x \\Delta Glider_2.csv"},
        NameCase{"Reports", 1, "Sub\\Dir/Glider", kMarch5,
                 "Reports\\Sub_Dir_Glider_20240305_140709.csv"},
        NameCase{"Reports", 2, "Glider", kMarch5, "Reports\\Glider.csv"}));

}  // namespace
}  // namespace aeroquin
