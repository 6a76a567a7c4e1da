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
#include "module/config/OptionalAxes.h"
#include "module/simulator/HostApi.h"

namespace aeroquin {

namespace {

// The shortest text that reads back as `value`: a bound as the user wrote it, where
// ostream's six digits would round 1.0000001 to 1.
std::string exactText(double value) {
    std::array<char, 32> text{};
    auto* const end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return {text.data(), end};
}

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

// An optional axis from its two items' texts. Throws ConfigurationError naming the item that is
// no list, the axis with the counts of lists that are no axis (as for the AOA axis), or the
// first bound outside the axis's range, as the user wrote it.
void parseAxis(const OptionalAxisDescription& axis, const std::string& intervalsText,
               const std::string& incrementsText, std::vector<double>& intervals,
               std::vector<std::uint32_t>& increments) {
    if (!parseRealList(intervalsText, intervals)) {
        throw ConfigurationError(" - error while parsing " + std::string(axis.intervalsKey));
    }
    if (!parseCountList(incrementsText, increments)) {
        throw ConfigurationError(" - error while parsing " + std::string(axis.incrementsKey));
    }
    if (!isValidAxis(intervals, increments)) {
        std::ostringstream detail;
        detail << " - " << axis.name << ", configuration error: " << intervals.size() << ", "
               << increments.size();
        throw ConfigurationError(detail.str());
    }
    // The bounds ascend: the first and the last are the extremes.
    for (const double bound : {intervals.front(), intervals.back()}) {
        const bool inside = axis.boundsIncluded ? bound >= axis.lowest && bound <= axis.highest
                                                : bound > axis.lowest && bound < axis.highest;
        if (!inside) {
            throw ConfigurationError(" - " + std::string(axis.name) + ", configuration error: " +
                                     exactText(bound) + " is outside " + std::string(axis.range));
        }
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
    readSweptAxis(file, OptionalAxis::sideslip);
    readControlAxis(file);
    readSweptAxis(file, OptionalAxis::rate);
    // Without the moments a rate would move no column.
    if (hasRateAxis() && !reportMoments) {
        throw ConfigurationError(
            " - RateIntervals needs ReportMoments = 1: a rate moves only the "
            "moments");
    }
}

// The sideslip or the rate axis: both items or neither.
void Configuration::readSweptAxis(FILEHANDLE file, OptionalAxis which) {
    const OptionalAxisDescription& axis = axisDescription(which);
    std::vector<double>& intervals = this->*axis.intervals;
    std::vector<std::uint32_t>& increments = this->*axis.increments;
    intervals.clear();
    increments.clear();
    std::array<std::string, 2> texts;
    if (readOptionalGroup(file, std::array{axis.intervalsKey.data(), axis.incrementsKey.data()},
                          texts)) {
        parseAxis(axis, texts[0], texts[1], intervals, increments);
    }
}

void Configuration::readControlAxis(FILEHANDLE file) {
    controlSurface.reset();
    controlIntervals.clear();
    controlIncrements.clear();
    std::array<std::string, 3> control;
    const OptionalAxisDescription& axis = axisDescription(OptionalAxis::control);
    if (!readOptionalGroup(
            file, std::array{"ControlSurface", axis.intervalsKey.data(), axis.incrementsKey.data()},
            control)) {
        return;
    }
    const auto* const name =
        std::find_if(kControlSurfaceNames.begin(), kControlSurfaceNames.end(),
                     [&](std::string_view known) { return equalsIgnoringCase(known, control[0]); });
    if (name == kControlSurfaceNames.end()) {
        std::string known;
        for (const std::string_view surface : kControlSurfaceNames) {
            known.append(known.empty() ? "" : ", ").append(surface);
        }
        throw ConfigurationError(" - ControlSurface = " + control[0] + " is none of " + known);
    }
    std::vector<double> intervals;
    std::vector<std::uint32_t> increments;
    parseAxis(axisDescription(OptionalAxis::control), control[1], control[2], intervals,
              increments);
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
    if (hasRateAxis()) {
        out << " - Rate Intervals: ";
        writeList(out, rateIntervals);
        out << " - Rate Increments: ";
        writeList(out, rateIncrements);
    }
    return out.str();
}

}  // namespace aeroquin
