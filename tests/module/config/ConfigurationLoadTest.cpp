// Loading the configuration through the host's item-file functions: values, reading order,
// every failure message, and the file closed exactly once on every way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/support/ItemFile.h"
#include "module/config/Configuration.h"
#include "module/config/ConfigurationError.h"
#include "tests/fakes/RecordingHost.h"
#include "tests/support/ModuleConfiguration.h"

namespace {

using aeroquin::Configuration;
using aeroquin::ConfigurationError;
using aeroquin::testsupport::ModuleConfiguration;
using aeroquin::testsupport::RecordingHost;

const char* const kPath = "Modules\\Plugin\\Aeroquin.cfg";

const ModuleConfiguration kValid{"TestShip", "Reports", "1", "-10 0 30", "5 3", "0.5 1 2", "5 4"};

// The optional items, read after the seven in this order.
const std::vector<std::string> kOptionalItems{
    "ReportMoments",      "Altitude",       "SideslipIntervals",
    "SideslipIncrements", "ControlSurface", "ControlIntervals",
    "ControlIncrements",  "RateIntervals",  "RateIncrements"};

// The valid file with some values replaced; an empty replacement leaves the item out. The
// optional items are added when a change names them.
std::string itemFile(const std::map<std::string, std::string>& changes = {}) {
    ModuleConfiguration configuration = kValid;
    std::string optional;
    for (const auto& [key, value] : changes) {
        if (std::find(kOptionalItems.begin(), kOptionalItems.end(), key) != kOptionalItems.end()) {
            optional += key + " = " + value + "\n";
        } else {
            configuration.set(key, value);
        }
    }
    return configuration.text() + optional;
}

// The calls a load makes when it reads the first `items` items and then closes the file.
std::vector<std::string> callsReading(std::size_t items) {
    std::vector<std::string> names{"oapiOpenFile"};
    for (std::size_t i = 0; i < items; ++i) {
        names.emplace_back(i < ModuleConfiguration::kItems.size() &&
                                   ModuleConfiguration::kItems[i].first == "ReportNameStyle"
                               ? "oapiReadItem_int"
                               : "oapiReadItem_string");
    }
    names.emplace_back("oapiCloseFile");
    return names;
}

class ConfigurationLoadTest : public ::testing::Test {
  protected:
    void SetUp() override { host().reset(); }
    static RecordingHost& host() { return RecordingHost::get(); }

    // Loads and returns the ConfigurationError's text, or "" when nothing was thrown.
    static std::string loadError(Configuration& configuration) {
        try {
            configuration.load();
        } catch (const ConfigurationError& error) {
            return error.what();
        }
        return {};
    }
};

TEST_F(ConfigurationLoadTest, ValidFileFillsEveryField) {
    host().itemFiles[kPath] = itemFile();
    Configuration c;
    c.load();
    EXPECT_EQ(c.vesselName, "TestShip");
    EXPECT_EQ(c.saveDirectory, "Reports");
    EXPECT_EQ(c.reportNameStyle, 1);
    EXPECT_EQ(c.aoaIntervals, (std::vector<double>{-10, 0, 30}));
    EXPECT_EQ(c.aoaIncrements, (std::vector<std::uint32_t>{5, 3}));
    EXPECT_EQ(c.machIntervals, (std::vector<double>{0.5, 1, 2}));
    EXPECT_EQ(c.machIncrements, (std::vector<std::uint32_t>{5, 4}));
    EXPECT_FALSE(c.reportMoments);
    EXPECT_FALSE(c.altitudeM.has_value());

    host().itemFiles[kPath] = itemFile({{"ReportMoments", "1"}, {"Altitude", " 1500.5 "}});
    c.load();
    EXPECT_TRUE(c.reportMoments);
    EXPECT_EQ(c.altitudeM, std::optional<double>(1500.5));

    // The lowest altitude is the mean radius itself.
    host().itemFiles[kPath] = itemFile({{"Altitude", "0"}});
    c.load();
    EXPECT_EQ(c.altitudeM, std::optional<double>(0.0));
    EXPECT_FALSE(c.hasSideslipAxis());

    host().itemFiles[kPath] =
        itemFile({{"SideslipIntervals", "-10 0 10"}, {"SideslipIncrements", "2 1"}});
    c.load();
    EXPECT_EQ(c.sideslipIntervals, (std::vector<double>{-10, 0, 10}));
    EXPECT_EQ(c.sideslipIncrements, (std::vector<std::uint32_t>{2, 1}));
    EXPECT_FALSE(c.hasControlAxis());

    // A surface by the name a user knows, in any letter case.
    host().itemFiles[kPath] = itemFile({{"ControlSurface", "rudderTRIM"},
                                        {"ControlIntervals", "-1 0 1"},
                                        {"ControlIncrements", "2 4"}});
    c.load();
    EXPECT_EQ(c.controlSurface, std::optional<AIRCTRL_TYPE>(AIRCTRL_RUDDERTRIM));
    EXPECT_EQ(c.controlIntervals, (std::vector<double>{-1, 0, 1}));
    EXPECT_EQ(c.controlIncrements, (std::vector<std::uint32_t>{2, 4}));
    EXPECT_FALSE(c.hasSideslipAxis());
    EXPECT_FALSE(c.hasRateAxis());

    host().itemFiles[kPath] = itemFile(
        {{"ReportMoments", "1"}, {"RateIntervals", "-9000 0 30"}, {"RateIncrements", "3 1"}});
    c.load();
    EXPECT_EQ(c.rateIntervals, (std::vector<double>{-9000, 0, 30}));
    EXPECT_EQ(c.rateIncrements, (std::vector<std::uint32_t>{3, 1}));
    EXPECT_FALSE(c.hasControlAxis());
}

TEST_F(ConfigurationLoadTest, ReadsEveryItemInOrderAndClosesOnce) {
    host().itemFiles[kPath] = itemFile();
    Configuration c;
    c.load();
    const std::vector<aeroquin::testsupport::Call> expected{
        {"oapiOpenFile", "Modules\\Plugin\\Aeroquin.cfg, 3, 1"},
        {"oapiReadItem_string", "VesselName"},
        {"oapiReadItem_string", "SaveDirectory"},
        {"oapiReadItem_int", "ReportNameStyle"},
        {"oapiReadItem_string", "AoaIntervals"},
        {"oapiReadItem_string", "AoaIncrements"},
        {"oapiReadItem_string", "MachIntervals"},
        {"oapiReadItem_string", "MachIncrements"},
        {"oapiReadItem_string", "ReportMoments"},
        {"oapiReadItem_string", "Altitude"},
        {"oapiReadItem_string", "SideslipIntervals"},
        {"oapiReadItem_string", "SideslipIncrements"},
        {"oapiReadItem_string", "ControlSurface"},
        {"oapiReadItem_string", "ControlIntervals"},
        {"oapiReadItem_string", "ControlIncrements"},
        {"oapiReadItem_string", "RateIntervals"},
        {"oapiReadItem_string", "RateIncrements"},
        {"oapiCloseFile", "3"}};
    ASSERT_EQ(host().calls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host().calls[i].name, expected[i].name) << i;
        EXPECT_EQ(host().calls[i].args, expected[i].args) << i;
    }
    EXPECT_EQ(host().closes, 1);
    EXPECT_TRUE(host().openFiles.empty());
}

TEST_F(ConfigurationLoadTest, MissingFileReadsNoItemAndClosesNothing) {
    Configuration c;
    EXPECT_EQ(loadError(c), "Configuration Error - File Modules\\Plugin\\Aeroquin.cfg not found");
    EXPECT_EQ(host().callNames(), std::vector<std::string>{"oapiOpenFile"});
    EXPECT_EQ(host().closes, 0);
}

TEST_F(ConfigurationLoadTest, FileTheHostCannotOpen) {
    host().itemFiles[kPath] = itemFile();
    host().failing.insert("oapiOpenFile");
    Configuration c;
    EXPECT_EQ(loadError(c), "Configuration Error - File Modules\\Plugin\\Aeroquin.cfg not found");
    EXPECT_EQ(host().closes, 0);
}

struct FailureCase {
    std::string name;
    std::map<std::string, std::string> changes;
    std::string message;
    std::size_t itemsRead;  // items read before the file is closed
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadFailureTest : public ConfigurationLoadTest,
                        public ::testing::WithParamInterface<FailureCase> {};

TEST_P(LoadFailureTest, RaisesTheMessageAfterReadingNoLaterItemAndClosesOnce) {
    const FailureCase& c = GetParam();
    host().itemFiles[kPath] = itemFile(c.changes);
    Configuration configuration;
    EXPECT_EQ(loadError(configuration), c.message);
    EXPECT_EQ(host().callNames(), callsReading(c.itemsRead));
    EXPECT_EQ(host().closes, 1);
    EXPECT_TRUE(host().openFiles.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFailureTest,
    ::testing::Values(
        FailureCase{
            "NoVesselName", {{"VesselName", ""}}, "Configuration Error - VesselName not found.", 1},
        FailureCase{"NoSaveDirectory",
                    {{"SaveDirectory", ""}},
                    "Configuration Error - SaveDirectory not found.",
                    2},
        FailureCase{"NoReportNameStyle",
                    {{"ReportNameStyle", ""}},
                    "Configuration Error - ReportNameStyle not found.",
                    3},
        FailureCase{"ReportNameStyleNotAnInteger",
                    {{"ReportNameStyle", "one"}},
                    "Configuration Error - ReportNameStyle not found.",
                    3},
        FailureCase{"NoAoaIntervals",
                    {{"AoaIntervals", ""}},
                    "Configuration Error - AoaIntervals not found.",
                    4},
        FailureCase{"NoAoaIncrements",
                    {{"AoaIncrements", ""}},
                    "Configuration Error - AoaIncrements not found.",
                    5},
        FailureCase{"NoMachIntervals",
                    {{"MachIntervals", ""}},
                    "Configuration Error - MachIntervals not found.",
                    6},
        FailureCase{"NoMachIncrements",
                    {{"MachIncrements", ""}},
                    "Configuration Error - MachIncrements not found.",
                    7},
        FailureCase{"OnlyFirstOfSeveralMissing",
                    {{"SaveDirectory", ""}, {"AoaIntervals", ""}, {"MachIncrements", ""}},
                    "Configuration Error - SaveDirectory not found.",
                    2},
        FailureCase{"ReportNameStyleTwo",
                    {{"ReportNameStyle", "2"}},
                    "Configuration Error - ReportNameStyle = 2 is out of bounds: [0, 1]",
                    3},
        FailureCase{"ReportNameStyleMinusOne",
                    {{"ReportNameStyle", "-1"}},
                    "Configuration Error - ReportNameStyle = -1 is out of bounds: [0, 1]",
                    3},
        FailureCase{"ReportNameStyleLarge",
                    {{"ReportNameStyle", "-2147483648"}},
                    "Configuration Error - ReportNameStyle = -2147483648 is out of bounds: [0, 1]",
                    3},
        // Read as sscanf "%d" reads: the leading integer, the rest ignored.
        FailureCase{"ReportNameStyleLeadingInteger",
                    {{"ReportNameStyle", "2x"}},
                    "Configuration Error - ReportNameStyle = 2 is out of bounds: [0, 1]",
                    3},
        FailureCase{"ReportNameStyleBeyondInt",
                    {{"ReportNameStyle", "4294967297"}},
                    "Configuration Error - ReportNameStyle not found.",
                    3},
        FailureCase{"AoaIntervalsWithCommas",
                    {{"AoaIntervals", "-10,0,30"}},
                    "Configuration Error - error while parsing AoaIntervals",
                    4},
        // ';' begins a comment: only "5" arrives.
        FailureCase{"AoaIncrementsCutAtSemicolon",
                    {{"AoaIncrements", "5;3"}},
                    "Configuration Error - AOA, configuration error: 3, 1",
                    7},
        FailureCase{"MachIntervalsWithLetters",
                    {{"MachIntervals", "0.5 1x 2"}},
                    "Configuration Error - error while parsing MachIntervals",
                    6},
        FailureCase{"MachIncrementsWithFraction",
                    {{"MachIncrements", "5.5 4"}},
                    "Configuration Error - error while parsing MachIncrements",
                    7},
        FailureCase{"CountAbove32Bits",
                    {{"AoaIncrements", "4294967296 3"}},
                    "Configuration Error - error while parsing AoaIncrements",
                    5},
        FailureCase{"DoubleOverflow",
                    {{"MachIntervals", "0.5 1 1e999"}},
                    "Configuration Error - error while parsing MachIntervals",
                    6},
        FailureCase{"AoaEqualBounds",
                    {{"AoaIntervals", "0 10 10"}, {"AoaIncrements", "2 2"}},
                    "Configuration Error - AOA, configuration error: 3, 2",
                    7},
        FailureCase{"AoaTwoBoundsTwoIncrements",
                    {{"AoaIntervals", "0 10"}, {"AoaIncrements", "2 2"}},
                    "Configuration Error - AOA, configuration error: 2, 2",
                    7},
        FailureCase{"AoaSingleBound",
                    {{"AoaIntervals", "5"}, {"AoaIncrements", "1"}},
                    "Configuration Error - AOA, configuration error: 1, 1",
                    7},
        FailureCase{"AoaDescending",
                    {{"AoaIntervals", "30 0 -10"}},
                    "Configuration Error - AOA, configuration error: 3, 2",
                    7},
        FailureCase{"BothAxesInvalidReportsAoa",
                    {{"AoaIntervals", "0"}, {"MachIntervals", "2 1"}, {"MachIncrements", "3 3"}},
                    "Configuration Error - AOA, configuration error: 1, 2",
                    7},
        FailureCase{"MachTooFewIncrements",
                    {{"MachIncrements", "5"}},
                    "Configuration Error - Mach numbers, configuration error",
                    7},
        FailureCase{"MachEqualBounds",
                    {{"MachIntervals", "0.5 0.5 2"}},
                    "Configuration Error - Mach numbers, configuration error",
                    7},
        // Air from the tail, under another angle's label; Mach 0 and -0 stay.
        FailureCase{"MachNegativeBound",
                    {{"MachIntervals", "-1 0.5 2"}},
                    "Configuration Error - Mach numbers, configuration error: -1 is below 0",
                    7},
        // The optional items: absent, nothing changes; given, only their own values are taken.
        FailureCase{"ReportMomentsTwo",
                    {{"ReportMoments", "2"}},
                    "Configuration Error - ReportMoments = 2 is out of bounds: [0, 1]",
                    8},
        FailureCase{"ReportMomentsText",
                    {{"ReportMoments", "1 yes"}},
                    "Configuration Error - error while parsing ReportMoments",
                    8},
        FailureCase{"AltitudeNegative",
                    {{"Altitude", "-1"}},
                    "Configuration Error - Altitude = -1 must be a number of metres from 0 to "
                    "below the top of the atmosphere",
                    9},
        FailureCase{"AltitudeNotFinite",
                    {{"Altitude", "1e999"}},
                    "Configuration Error - Altitude = 1e999 must be a number of metres from 0 to "
                    "below the top of the atmosphere",
                    9},
        // The sideslip axis: both items or neither, each a list, together an axis.
        FailureCase{
            "SideslipWithoutIncrements",
            {{"SideslipIntervals", "-5 5"}},
            "Configuration Error - SideslipIncrements not found: SideslipIntervals needs it",
            11},
        FailureCase{
            "SideslipWithoutIntervals",
            {{"SideslipIncrements", "4"}},
            "Configuration Error - SideslipIntervals not found: SideslipIncrements needs it",
            11},
        FailureCase{"SideslipBoundsDescending",
                    {{"SideslipIntervals", "5 -5"}, {"SideslipIncrements", "4"}},
                    "Configuration Error - Sideslip, configuration error: 2, 1",
                    11},
        FailureCase{"SideslipCountPerInterval",
                    {{"SideslipIntervals", "-5 0 5"}, {"SideslipIncrements", "4"}},
                    "Configuration Error - Sideslip, configuration error: 3, 1",
                    11},
        FailureCase{"SideslipUnparsable",
                    {{"SideslipIntervals", "-5, 5"}, {"SideslipIncrements", "4"}},
                    "Configuration Error - error while parsing SideslipIntervals",
                    11},
        // The control axis: all three items or none; a known surface; levels within [-1, 1].
        FailureCase{"ControlWithoutSurface",
                    {{"ControlIntervals", "-1 1"}, {"ControlIncrements", "4"}},
                    "Configuration Error - ControlSurface not found: ControlIntervals needs it",
                    14},
        FailureCase{"ControlWithoutIncrements",
                    {{"ControlSurface", "Elevator"}, {"ControlIntervals", "-1 1"}},
                    "Configuration Error - ControlIncrements not found: ControlSurface needs it",
                    14},
        FailureCase{"UnknownControlSurface",
                    {{"ControlSurface", "Spoiler"},
                     {"ControlIntervals", "-1 1"},
                     {"ControlIncrements", "4"}},
                    "Configuration Error - ControlSurface = Spoiler is none of Elevator, Rudder, "
                    "Aileron, Flap, ElevatorTrim, RudderTrim",
                    14},
        FailureCase{"ControlLevelBelowMinusOne",
                    {{"ControlSurface", "Aileron"},
                     {"ControlIntervals", "-1.5 0 1"},
                     {"ControlIncrements", "1 1"}},
                    "Configuration Error - Control levels, configuration error: -1.5 is outside "
                    "[-1, 1]",
                    14},
        FailureCase{"ControlLevelAboveOne",
                    {{"ControlSurface", "Flap"},
                     {"ControlIntervals", "0 1.25"},
                     {"ControlIncrements", "5"}},
                    "Configuration Error - Control levels, configuration error: 1.25 is outside "
                    "[-1, 1]",
                    14},
        FailureCase{"ControlLevelJustAboveOneAsGiven",
                    {{"ControlSurface", "Elevator"},
                     {"ControlIntervals", "-1 1.0000001"},
                     {"ControlIncrements", "4"}},
                    "Configuration Error - Control levels, configuration error: 1.0000001 is "
                    "outside [-1, 1]",
                    14},
        // Sideslip bounds within (-90, 90): at 90 the AOA is noise, beyond it 180 deg off.
        FailureCase{"SideslipAtMinusNinety",
                    {{"SideslipIntervals", "-90 0 89.99"}, {"SideslipIncrements", "1 1"}},
                    "Configuration Error - Sideslip, configuration error: -90 is outside (-90, 90)",
                    11},
        FailureCase{"SideslipBeyondNinety",
                    {{"SideslipIntervals", "0 120"}, {"SideslipIncrements", "4"}},
                    "Configuration Error - Sideslip, configuration error: 120 is outside (-90, 90)",
                    11},
        FailureCase{"SideslipHuge",
                    {{"SideslipIntervals", "0 1e308"}, {"SideslipIncrements", "4"}},
                    "Configuration Error - Sideslip, configuration error: 1e+308 is outside "
                    "(-90, 90)",
                    11},
        FailureCase{"ControlBoundsDescending",
                    {{"ControlSurface", "Elevator"},
                     {"ControlIntervals", "1 -1"},
                     {"ControlIncrements", "4"}},
                    "Configuration Error - Control levels, configuration error: 2, 1",
                    14},
        // The rate axis: both items or neither, with the moments, within +-9000 deg/s.
        FailureCase{"RateWithoutIncrements",
                    {{"ReportMoments", "1"}, {"RateIntervals", "-20 20"}},
                    "Configuration Error - RateIncrements not found: RateIntervals needs it",
                    16},
        FailureCase{"RateWithoutMoments",
                    {{"RateIntervals", "-20 20"}, {"RateIncrements", "4"}},
                    "Configuration Error - RateIntervals needs ReportMoments = 1: a rate moves "
                    "only the moments",
                    16},
        FailureCase{
            "RateBeyondTheLimit",
            {{"ReportMoments", "1"}, {"RateIntervals", "-9000.5 0"}, {"RateIncrements", "2"}},
            "Configuration Error - Rates, configuration error: -9000.5 is outside [-9000, "
            "9000] deg/s",
            16},
        FailureCase{
            "RateCountPerInterval",
            {{"ReportMoments", "1"}, {"RateIntervals", "-20 0 20"}, {"RateIncrements", "2"}},
            "Configuration Error - Rates, configuration error: 3, 1",
            16},
        FailureCase{"MachTinyNegativeBound",
                    {{"MachIntervals", "-1e-300 0.5 2"}},
                    "Configuration Error - Mach numbers, configuration error: -1e-300 is below 0",
                    7}),
    [](const ::testing::TestParamInfo<FailureCase>& testInfo) { return testInfo.param.name; });

TEST_F(ConfigurationLoadTest, ReportNameStyleZeroAndOneAreAccepted) {
    for (const std::int32_t style : {0, 1}) {
        host().reset();
        host().itemFiles[kPath] = itemFile({{"ReportNameStyle", std::to_string(style)}});
        Configuration c;
        c.reportNameStyle = 7;
        c.load();
        EXPECT_EQ(c.reportNameStyle, style);
    }
}

TEST_F(ConfigurationLoadTest, RejectedReportNameStyleLeavesTheFieldAlone) {
    host().itemFiles[kPath] = itemFile({{"ReportNameStyle", "2"}});
    Configuration c;
    ASSERT_FALSE(loadError(c).empty());
    EXPECT_EQ(c.reportNameStyle, 0);
}

TEST_F(ConfigurationLoadTest, MissingVesselNameEmptiesThePreviousValue) {
    host().itemFiles[kPath] = itemFile({{"VesselName", ""}});
    Configuration c;
    c.vesselName = "Old";
    ASSERT_FALSE(loadError(c).empty());
    EXPECT_EQ(c.vesselName, "");
}

TEST_F(ConfigurationLoadTest, WhitespaceBetweenBoundsDoesNotMatter) {
    for (const char* bounds : {"0 10 20", "0   10    20", "0\t10\t20", "0 \t 10\t \t20"}) {
        host().reset();
        host().itemFiles[kPath] =
            itemFile({{"MachIntervals", bounds}, {"MachIncrements", "\t1   1 "}});
        Configuration c;
        c.load();
        EXPECT_EQ(c.machIntervals, (std::vector<double>{0, 10, 20})) << bounds;
        EXPECT_EQ(c.machIncrements, (std::vector<std::uint32_t>{1, 1})) << bounds;
    }
}

TEST_F(ConfigurationLoadTest, CountWrittenMinusOneIsAcceptedAsTheLargestCount) {
    host().itemFiles[kPath] = itemFile({{"AoaIncrements", "-1 3"}, {"MachIncrements", "0 0"}});
    Configuration c;
    c.load();
    EXPECT_EQ(c.aoaIncrements, (std::vector<std::uint32_t>{4294967295u, 3}));
    EXPECT_EQ(c.machIncrements, (std::vector<std::uint32_t>{0, 0}));
}

// The longest line an item file may hold; one character more ends the search, as in the
// simulator.
TEST_F(ConfigurationLoadTest, LongestValueArrivesWhole) {
    const std::string name(aeroquin::host::kItemLineLimit - 1 - 13, 'v');  // "VesselName = "
    host().itemFiles[kPath] = itemFile({{"VesselName", name}});
    Configuration c;
    c.load();
    EXPECT_EQ(c.vesselName, name);

    host().itemFiles[kPath] = itemFile({{"VesselName", name + "v"}});
    EXPECT_EQ(loadError(c), "Configuration Error - VesselName not found.");
}

TEST_F(ConfigurationLoadTest, BlanksInsideStringValuesAreKept) {
    host().itemFiles[kPath] =
        itemFile({{"VesselName", "Delta  Glider"}, {"SaveDirectory", "C:\\My Reports"}});
    Configuration c;
    c.load();
    EXPECT_EQ(c.vesselName, "Delta  Glider");
    EXPECT_EQ(c.saveDirectory, "C:\\My Reports");
}

// A host failure that is not a configuration error still closes the file, once.
struct ThrowingCase {
    std::string name;
    std::string operation;
    std::size_t itemsRead;
};

void PrintTo(const ThrowingCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadHostThrowsTest : public ConfigurationLoadTest,
                           public ::testing::WithParamInterface<ThrowingCase> {};

TEST_P(LoadHostThrowsTest, PropagatesAndClosesOnce) {
    const ThrowingCase& c = GetParam();
    host().itemFiles[kPath] = itemFile();
    host().throwing.insert(c.operation);
    Configuration configuration;
    try {
        configuration.load();
        FAIL() << "nothing thrown";
    } catch (const ConfigurationError& error) {
        FAIL() << "unexpected " << error.what();
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "fake: " + c.operation + " failed");
    }
    EXPECT_EQ(host().callNames(), callsReading(c.itemsRead));
    // A close that throws is recorded but not counted as completed.
    EXPECT_EQ(host().count("oapiCloseFile"), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadHostThrowsTest,
                         ::testing::Values(ThrowingCase{"StringRead", "oapiReadItem_string", 1},
                                           ThrowingCase{"IntRead", "oapiReadItem_int", 3},
                                           ThrowingCase{"CloseAfterSuccess", "oapiCloseFile", 16}),
                         [](const ::testing::TestParamInfo<ThrowingCase>& testInfo) {
                             return testInfo.param.name;
                         });

TEST_F(ConfigurationLoadTest, FailingCloseDoesNotHideTheConfigurationError) {
    host().itemFiles[kPath] = itemFile({{"MachIncrements", ""}});
    host().throwing.insert("oapiCloseFile");
    Configuration c;
    EXPECT_EQ(loadError(c), "Configuration Error - MachIncrements not found.");
    EXPECT_EQ(host().count("oapiCloseFile"), 1);
}

TEST_F(ConfigurationLoadTest, OpenThatThrowsClosesNothing) {
    host().itemFiles[kPath] = itemFile();
    host().throwing.insert("oapiOpenFile");
    Configuration c;
    EXPECT_THROW(c.load(), std::runtime_error);
    EXPECT_EQ(host().closes, 0);
}

}  // namespace
