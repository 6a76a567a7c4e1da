// Bad input at every boundary: each case ends in a clear message and leaves nothing half-done.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/HostProcess.h"

namespace {

// The host and the Aeroquin module of this build.
const aeroquin::testsupport::HostUnderTest kHost{AEROQUIN_HOST_EXE, AEROQUIN_TEST_MODULE};

using aeroquin::testsupport::runHost;
using aeroquin::testsupport::TempRoot;
using Lines = std::vector<std::string>;

const std::string kConfig = "Config/Modules/Plugin/Aeroquin.cfg";

struct BadInput {
    std::string name;
    std::function<void(const TempRoot&)> prepare;
    int exitCode;
    std::string moduleLine;   // a line the module must log exactly once; empty: none expected
    std::string hostText;     // text that a "host: " log line or stderr must hold; empty: none
    std::size_t reportLines;  // 0: no report may exist
};

void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.name;
}

// The demo configuration with one item replaced.
std::function<void(const TempRoot&)> withItem(const std::string& key, const std::string& value) {
    return [key, value](const TempRoot& root) {
        std::string text = root.read(kConfig);
        const auto at = text.find(key + " = ");
        const auto end = text.find('\n', at);
        text.replace(at, end - at, key + " = " + value);
        root.write(kConfig, text);
    };
}

std::string numbersFrom(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) {
        text += std::to_string(i) + (i < last ? " " : "");
    }
    return text;
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, EndsInAClearMessageAndWritesNothingHalfDone) {
    const BadInput& input = GetParam();
    TempRoot root("demo");
    // A short grid keeps the completed cases quick.
    withItem("MachIncrements", "0 0")(root);
    input.prepare(root);
    const auto result = runHost(kHost, root, {"--display", "none", "--utc", "2024-03-05T14:07:09"});
    EXPECT_EQ(result.exitCode(), input.exitCode) << result.err;

    const Lines log = root.lines("host.log");
    // The module doubles every '%' it logs: no line of it holds a conversion.
    EXPECT_EQ(std::count_if(
                  log.begin(), log.end(),
                  [](const std::string& line) { return line.rfind("host: oapiWriteLog", 0) == 0; }),
              0)
        << root.read("host.log");
    if (!input.moduleLine.empty()) {
        EXPECT_EQ(std::count(log.begin(), log.end(), input.moduleLine), 1) << root.read("host.log");
    }
    if (!input.hostText.empty()) {
        const bool inLog = std::any_of(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind("host: ", 0) == 0 && line.find(input.hostText) != std::string::npos;
        });
        EXPECT_TRUE(inLog || result.err.find(input.hostText) != std::string::npos)
            << result.err << root.read("host.log");
    }
    const Lines reports = root.files("Reports");
    if (input.reportLines == 0) {
        EXPECT_TRUE(reports.empty());
    } else {
        ASSERT_EQ(reports.size(), 1U);
        const Lines report = root.lines("Reports/" + reports[0]);
        EXPECT_EQ(report.size(), input.reportLines);
        for (std::size_t i = 6; i < report.size(); ++i) {
            EXPECT_EQ(std::count(report[i].begin(), report[i].end(), ';'), 6) << report[i];
        }
    }
}

// "VesselName = " and the value: lines of 511 and 600 characters.
const std::string k498(498, 'x');
const std::string k587(587, 'x');

INSTANTIATE_TEST_SUITE_P(
    Boundaries, BadInputTest,
    ::testing::Values(
        BadInput{"LineOf511Characters", withItem("VesselName", k498), 1,
                 "Vessel " + k498 + " was not found in the simulation", "", 0},
        BadInput{"LineOf600Characters", withItem("VesselName", k587), 1,
                 "Configuration Error - VesselName not found.",
                 "oapiReadItem_string: Config/Modules/Plugin/Aeroquin.cfg:2: a line of 600 "
                 "characters ends the search, as in the simulator; VesselName is not found",
                 0},
        // 401 distinct bounds cannot be written in 511 characters.
        BadInput{"FourHundredIntervals", withItem("AoaIntervals", numbersFrom(0, 400)), 1,
                 "Configuration Error - AoaIntervals not found.",
                 "a line of 1508 characters ends the search, as in the simulator; AoaIntervals is "
                 "not found",
                 0},
        BadInput{"EndParse",
                 [](const TempRoot& root) {
                     std::string text = root.read(kConfig);
                     text.insert(text.find("AoaIntervals"), "  end_parse  ; the rest is unread\n");
                     root.write(kConfig, text);
                 },
                 1, "Configuration Error - AoaIntervals not found.", "", 0},
        BadInput{"StyleWithTrailingText", withItem("ReportNameStyle", "1x"), 0, "Capture completed",
                 "ReportNameStyle = 1x reads as 1", 6 + 9},
        BadInput{"VesselNameInAnotherCase", withItem("VesselName", "gl-01"), 0, "Capture completed",
                 "", 6 + 9},
        BadInput{"ConversionsInAVesselName", withItem("VesselName", "No%s%n%%"), 1,
                 "Vessel No%s%n%% was not found in the simulation", "", 0},
        BadInput{"CountOfZero", withItem("AoaIncrements", "0 0"), 0, "Capture completed", "",
                 6 + 1},
        BadInput{"CountOfMinusOne", withItem("AoaIncrements", "-1 3"), 1,
                 "Sweeper: AOA axis of 4294967299 points exceeds the limit of 16777216 points", "",
                 0},
        BadInput{"CountBeyondThirtyTwoBits", withItem("AoaIncrements", "4294967296 3"), 1,
                 "Configuration Error - error while parsing AoaIncrements", "", 0},
        BadInput{"NotANumberInBounds", withItem("AoaIntervals", "nan 0 30"), 1,
                 "Configuration Error - error while parsing AoaIntervals", "", 0},
        BadInput{"InfinityInBounds", withItem("MachIntervals", "0.5 1 inf"), 1,
                 "Configuration Error - error while parsing MachIntervals", "", 0},
        BadInput{"OverflowingBound", withItem("MachIntervals", "0.5 1 1e999"), 1,
                 "Configuration Error - error while parsing MachIntervals", "", 0},
        BadInput{"NonAsciiVesselName",
                 [](const TempRoot& root) {
                     withItem("VesselName",
                              "Gl\xc3\xaf"
                              "der-\xc3\xbc")(root);
                     std::string scenario = root.read("Scenarios/Default.scn");
                     std::string::size_type at = 0;
                     while ((at = scenario.find("GL-01", at)) != std::string::npos) {
                         scenario.replace(at, 5,
                                          "Gl\xc3\xaf"
                                          "der-\xc3\xbc");
                     }
                     root.write("Scenarios/Default.scn", scenario);
                 },
                 0, "Capture completed", "", 6 + 9},
        BadInput{"UnknownNonAsciiVessel", withItem("VesselName", "\xff\xfe\x80"), 1,
                 "Vessel \xff\xfe\x80 was not found in the simulation", "", 0},
        BadInput{"CrlfConfiguration",
                 [](const TempRoot& root) {
                     std::string text = root.read(kConfig);
                     std::string crlf;
                     for (const char c : text) {
                         crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
                     }
                     root.write(kConfig, crlf);
                 },
                 0, "Capture completed", "", 6 + 9},
        BadInput{"VesselTableWithAHole",
                 [](const TempRoot& root) {
                     const Lines table = root.lines("Config/Vessels/DeltaWing.csv");
                     std::string text;
                     for (const std::string& line : table) {
                         if (line != table[table.size() / 2]) {
                             text += line + "\n";
                         }
                     }
                     root.write("Config/Vessels/DeltaWing.csv", text);
                 },
                 2, "", "DeltaWing.csv", 0},
        BadInput{"ScenarioNamingAMissingClass",
                 [](const TempRoot& root) {
                     std::string scenario = root.read("Scenarios/Default.scn");
                     scenario.replace(scenario.find("GL-01:DeltaWing"), 15, "GL-01:NoSuchWing");
                     root.write("Scenarios/Default.scn", scenario);
                 },
                 2, "", "NoSuchWing", 0}),
    [](const auto& testInfo) { return testInfo.param.name; });

}  // namespace
