#include "module/config/Configuration.h"

#include <array>
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

// An optional test axis of two items, both or neither. False without either; throws
// ConfigurationError naming the missing item, the item that is no list, or `axis` with the
// counts of a list that is no axis, as for the AOA axis.
bool readOptionalAxis(FILEHANDLE file, const std::string& intervalsKey,
                      const std::string& incrementsKey, const char* axis,
                      std::vector<double>& intervals, std::vector<std::uint32_t>& increments) {
    std::string intervalsText;
    std::string incrementsText;
    const bool hasIntervals = readOptionalString(file, intervalsKey, intervalsText);
    const bool hasIncrements = readOptionalString(file, incrementsKey, incrementsText);
    if (!hasIntervals && !hasIncrements) {
        return false;
    }
    if (!hasIntervals || !hasIncrements) {
        const std::string& missing = hasIntervals ? incrementsKey : intervalsKey;
        const std::string& given = hasIntervals ? intervalsKey : incrementsKey;
        throw ConfigurationError(" - " + missing + " not found: " + given + " needs it");
    }
    if (!parseRealList(intervalsText, intervals)) {
        throw ConfigurationError(" - error while parsing " + intervalsKey);
    }
    if (!parseCountList(incrementsText, increments)) {
        throw ConfigurationError(" - error while parsing " + incrementsKey);
    }
    if (!isValidAxis(intervals, increments)) {
        std::ostringstream detail;
        detail << " - " << axis << ", configuration error: " << intervals.size() << ", "
               << increments.size();
        throw ConfigurationError(detail.str());
    }
    return true;
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
    if (!readOptionalAxis(file, "SideslipIntervals", "SideslipIncrements", "Sideslip",
                          sideslipIntervals, sideslipIncrements)) {
        sideslipIntervals.clear();
        sideslipIncrements.clear();
    }
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
    return out.str();
}

}  // namespace aeroquin
