#include "module/config/Configuration.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <utility>

#include "module/config/AxisValidation.h"
#include "module/config/ConfigurationError.h"
#include "module/config/ItemReaders.h"
#include "module/simulator/HostApi.h"

namespace aeroquin {

namespace {

// The open configuration file. It is closed exactly once: by close() when everything was read,
// or on the way out of any failure, whatever was thrown. FILE_IN_ZEROONFAIL, because with
// FILE_IN the simulator hands out a handle even for a missing file, and the user would be told
// of a missing item instead of the missing file.
class OpenItemFile final {
  public:
    explicit OpenItemFile(const char* path) : handle_(oapiOpenFile(path, kMode, CONFIG)) {
        if (handle_ == nullptr) {
            std::ostringstream detail;
            detail << " - File " << path << " not found";
            throw ConfigurationError(detail.str());
        }
    }
    OpenItemFile(const OpenItemFile&) = delete;
    OpenItemFile& operator=(const OpenItemFile&) = delete;
    OpenItemFile(OpenItemFile&&) = delete;
    OpenItemFile& operator=(OpenItemFile&&) = delete;

    ~OpenItemFile() {
        if (handle_ == nullptr) {
            return;
        }
        // Only reached while an error leaves load(); that error is the one to report.
        try {
            oapiCloseFile(std::exchange(handle_, nullptr), kMode);
        } catch (...) {
        }
    }

    [[nodiscard]] FILEHANDLE handle() const { return handle_; }

    // A failure of the close itself propagates; the handle counts as closed either way.
    void close() { oapiCloseFile(std::exchange(handle_, nullptr), kMode); }

  private:
    static constexpr FileAccessMode kMode = FILE_IN_ZEROONFAIL;

    FILEHANDLE handle_;
};

// Editors on Windows may start a UTF-8 file with a byte-order mark. The simulator's item reader
// takes it as part of the first line's key, so that item goes unseen: a required one is "not
// found", an optional one silently keeps its default. The file is looked at directly, in the
// simulator's configuration folder below its root (the working folder).
void refuseByteOrderMark() {
    const std::string path = simulator::localPath(std::string("Config") +
                                                  simulator::kPathSeparator + kConfigurationPath);
    std::ifstream file(path, std::ios::binary);
    std::array<char, 3> start{};
    if (file.read(start.data(), start.size()) &&
        start == std::array<char, 3>{'\xEF', '\xBB', '\xBF'}) {
        throw ConfigurationError(std::string(" - ") + kConfigurationPath +
                                 " starts with a UTF-8 byte-order mark, which the simulator reads "
                                 "as part of the first item's name: save the file without one");
    }
}

// An optional group of items: all of them or none. False when none is there; throws
// ConfigurationError naming the first missing item and the first given one.
template <std::size_t N>
bool readOptionalGroup(FILEHANDLE file, const std::array<const char*, N>& keys,
                       std::array<std::string, N>& texts) {
    std::array<bool, N> given{};
    for (std::size_t i = 0; i < N; ++i) {
        given[i] = readOptionalString(file, keys[i], texts[i]);
    }
    const auto first = std::find(given.begin(), given.end(), true);
    if (first == given.end()) {
        return false;
    }
    const auto missing = std::find(given.begin(), given.end(), false);
    if (missing != given.end()) {
        throw ConfigurationError(std::string(" - ") + keys[missing - given.begin()] +
                                 " not found: " + keys[first - given.begin()] + " needs it");
    }
    return true;
}

// A test axis from its two items' texts. Throws ConfigurationError naming the item that is no
// list, or `axis` with the counts of lists that are no axis, as for the AOA axis.
void parseAxis(const char* intervalsKey, const char* incrementsKey, const char* axis,
               const std::string& intervalsText, const std::string& incrementsText,
               std::vector<double>& intervals, std::vector<std::uint32_t>& increments) {
    if (!parseRealList(intervalsText, intervals)) {
        throw ConfigurationError(std::string(" - error while parsing ") + intervalsKey);
    }
    if (!parseCountList(incrementsText, increments)) {
        throw ConfigurationError(std::string(" - error while parsing ") + incrementsKey);
    }
    if (!isValidAxis(intervals, increments)) {
        std::ostringstream detail;
        detail << " - " << axis << ", configuration error: " << intervals.size() << ", "
               << increments.size();
        throw ConfigurationError(detail.str());
    }
}

// The simulator's control surfaces by the names a user knows, in AIRCTRL_TYPE's order.
constexpr std::array<std::string_view, 6> kControlSurfaceNames{
    "Elevator", "Rudder", "Aileron", "Flap", "ElevatorTrim", "RudderTrim"};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The shortest text that reads back as `value`: a bound as the user wrote it, where
// ostream's six digits would round 1.0000001 to 1.
std::string exactText(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return {text.data(), end};
}

// Throws naming the first of the (ascending) bounds outside `range`, an open or closed interval
// as the message gives it.
void refuseBoundsOutside(const std::vector<double>& intervals, const char* axis, double low,
                         double high, bool closed, const char* range) {
    for (const double bound : {intervals.front(), intervals.back()}) {
        const bool inside = closed ? bound >= low && bound <= high : bound > low && bound < high;
        if (!inside) {
            throw ConfigurationError(std::string(" - ") + axis + ", configuration error: " +
                                     exactText(bound) + " is outside " + range);
        }
    }
}

template <typename Number>
void writeList(std::ostream& out, const std::vector<Number>& list) {
    out << '<';
    const char* separator = "";
    for (const Number& value : list) {
        out << separator << value;
        separator = ", ";
    }
    out << '>';
}

}  // namespace

void Configuration::load() {
    OpenItemFile file(kConfigurationPath);
    refuseByteOrderMark();
    readString(file.handle(), "VesselName", vesselName);
    readString(file.handle(), "SaveDirectory", saveDirectory);
    readBoundedInt(file.handle(), "ReportNameStyle", reportNameStyle, 0, 1);
    readRealList(file.handle(), "AoaIntervals", aoaIntervals);
    readCountList(file.handle(), "AoaIncrements", aoaIncrements);
    readRealList(file.handle(), "MachIntervals", machIntervals);
    readCountList(file.handle(), "MachIncrements", machIncrements);

    if (!isValidAxis(aoaIntervals, aoaIncrements)) {
        std::ostringstream detail;
        detail << " - AOA, configuration error: " << aoaIntervals.size() << ", "
               << aoaIncrements.size();
        throw ConfigurationError(detail.str());
    }
    if (!isValidAxis(machIntervals, machIncrements)) {
        throw ConfigurationError(" - Mach numbers, configuration error");
    }
    // The bounds ascend: the first is the lowest. A negative Mach number blows the air from the
    // tail, under the label of another angle of attack.
    if (machIntervals.front() < 0.0) {
        std::ostringstream detail;
        detail << " - Mach numbers, configuration error: " << machIntervals.front()
               << " is below 0";
        throw ConfigurationError(detail.str());
    }
    readOptionalItems(file.handle());
    file.close();
}

void Configuration::readOptionalItems(FILEHANDLE file) {
    std::string text;
    if (readOptionalString(file, "ReportMoments", text)) {
        std::int32_t value = 0;
        if (!parseWholeInt(text, value)) {
            throw ConfigurationError(" - error while parsing ReportMoments");
        }
        if (value != 0 && value != 1) {
            std::ostringstream detail;
            detail << " - ReportMoments = " << value << " is out of bounds: [0, 1]";
            throw ConfigurationError(detail.str());
        }
        reportMoments = value == 1;
    }
    if (readOptionalString(file, "Altitude", text)) {
        double value = 0.0;
        // Written so that a NaN fails as well.
        if (!parseWholeReal(text, value) || !(value >= 0.0) || !std::isfinite(value)) {
            throw ConfigurationError(" - Altitude = " + text +
                                     " must be a number of metres from 0 to below the top of "
                                     "the atmosphere");
        }
        altitudeM = value;
    }
    sideslipIntervals.clear();
    sideslipIncrements.clear();
    std::array<std::string, 2> sideslip;
    if (readOptionalGroup(file, std::array{"SideslipIntervals", "SideslipIncrements"}, sideslip)) {
        parseAxis("SideslipIntervals", "SideslipIncrements", "Sideslip", sideslip[0], sideslip[1],
                  sideslipIntervals, sideslipIncrements);
        // At 90 deg the air comes from the side and the simulator's angle of attack has no
        // meaning; beyond it, it reads back 180 deg off.
        refuseBoundsOutside(sideslipIntervals, "Sideslip", -90.0, 90.0, false, "(-90, 90)");
    }
    readControlAxis(file);
}

void Configuration::readControlAxis(FILEHANDLE file) {
    controlSurface.reset();
    controlIntervals.clear();
    controlIncrements.clear();
    std::array<std::string, 3> control;
    if (!readOptionalGroup(
            file, std::array{"ControlSurface", "ControlIntervals", "ControlIncrements"}, control)) {
        return;
    }
    const auto* const name =
        std::find_if(kControlSurfaceNames.begin(), kControlSurfaceNames.end(),
                     [&](std::string_view known) { return equalsIgnoringCase(known, control[0]); });
    if (name == kControlSurfaceNames.end()) {
        throw ConfigurationError(" - ControlSurface = " + control[0] +
                                 " is none of Elevator, Rudder, Aileron, Flap, ElevatorTrim, "
                                 "RudderTrim");
    }
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
    parseAxis("ControlIntervals", "ControlIncrements", "Control levels", control[1], control[2],
              intervals, increments);
    // The simulator clamps a level to [-1, 1]: a bound beyond it would be measured at another
    // level than its row's.
    refuseBoundsOutside(intervals, "Control levels", -1.0, 1.0, true, "[-1, 1]");
    controlSurface = static_cast<AIRCTRL_TYPE>(name - kControlSurfaceNames.begin());
    controlIntervals = std::move(intervals);
    controlIncrements = std::move(increments);
}

std::string_view controlSurfaceName(AIRCTRL_TYPE type) {
    return kControlSurfaceNames.at(static_cast<std::size_t>(type));
}

std::string Configuration::describe() const {
    std::ostringstream out;
    out << "Vessel Name:" << vesselName << " - Save Directory: " << saveDirectory
        << " - Report name style: " << reportNameStyle << " - AOA Intervals: ";
    writeList(out, aoaIntervals);
    out << " - AOA Increments: ";
    writeList(out, aoaIncrements);
    out << " - Mach Intervals: ";
    writeList(out, machIntervals);
    out << " - Mach Increments: ";
    writeList(out, machIncrements);
    if (reportMoments) {
        out << " - Report moments: 1";
    }
    if (altitudeM) {
        out << " - Altitude: " << *altitudeM;
    }
    if (hasSideslipAxis()) {
        out << " - Sideslip Intervals: ";
        writeList(out, sideslipIntervals);
        out << " - Sideslip Increments: ";
        writeList(out, sideslipIncrements);
    }
    if (controlSurface) {
        out << " - Control Surface: " << controlSurfaceName(*controlSurface)
            << " - Control Intervals: ";
        writeList(out, controlIntervals);
        out << " - Control Increments: ";
        writeList(out, controlIncrements);
    }
    return out.str();
}

}  // namespace aeroquin
