#include "module/output/Reporter.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace aeroquin {

namespace {

constexpr const char* kReportVersion = "1.0";
constexpr const char* kColumnLine = "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D";

// printf-style date and time of `time`; every field at most 5 digits.
std::string formatTime(const char* format, const SYSTEMTIME& time) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, static_cast<unsigned>(time.wYear),
                  static_cast<unsigned>(time.wMonth), static_cast<unsigned>(time.wDay),
                  static_cast<unsigned>(time.wHour), static_cast<unsigned>(time.wMinute),
                  static_cast<unsigned>(time.wSecond));
    return text.data();
}

// Whether the host can open `path` for reading, i.e. whether the file is really there.
bool exists(const std::string& path) {
    FILEHANDLE probe = oapiOpenFile(path.c_str(), FILE_IN_ZEROONFAIL, ROOT);
    if (probe == nullptr) {
        return false;
    }
    oapiCloseFile(probe, FILE_IN_ZEROONFAIL);
    return true;
}

}  // namespace

Reporter::~Reporter() {
    close();
}

void Reporter::open(const Configuration& configuration, const Sweeper& sweeper,
                    const VesselManager& vesselManager) {
    // A handle already held is handed back rather than lost.
    close();

    // One reading, shared by the file name and line 3 so that they agree to the second.
    SYSTEMTIME startTime{};
    GetSystemTime(&startTime);
    const std::string path = reportFileName(configuration, vesselManager, startTime);

    file_ = oapiOpenFile(path.c_str(), FILE_OUT, ROOT);
    if (file_ != nullptr && !exists(path)) {
        // The simulator hands out a handle even for a file it could not create, and drops
        // every line written through it.
        close();
    }
    if (file_ == nullptr) {
        throw std::runtime_error("File " + path + " could not be created.");
    }

    writeLine(std::string("Aeroquin version: ") + kReportVersion);
    writeLine("Vessel Class: " + vesselManager.vesselClassName());
    writeLine("System time at simulation start: " +
              formatTime("%.4u/%.2u/%.2u::%.2u:%.2u:%.2u", startTime));
    std::ostringstream counts;
    counts << "Number of AOA points = " << sweeper.aoaPoints().size()
           << "\nNumber of Mach points = " << sweeper.machPoints().size();
    writeLine(counts.str());
    writeLine(kColumnLine);
}

void Reporter::writeRow(const std::string& row) {
    if (file_ == nullptr) {
        return;
    }
    writeLine(row);
}

void Reporter::close() {
    if (file_ == nullptr) {
        return;
    }
    oapiCloseFile(file_, FILE_OUT);
    file_ = nullptr;
}

void Reporter::writeLine(const std::string& text) {
    if (file_ == nullptr || text.empty()) {
        return;
    }
    line_ = text;  // the host takes a mutable text
    oapiWriteLine(file_, line_.data());
}

std::string reportFileName(const Configuration& configuration, const VesselManager& vesselManager,
                           const SYSTEMTIME& startTime) {
    std::string stem = vesselManager.vesselClassName();
    if (configuration.reportNameStyle == 1) {
        stem += formatTime("_%.4u%.2u%.2u_%.2u%.2u%.2u", startTime);
    }
    return configuration.saveDirectory + simulator::kPathSeparator + stem + ".csv";
}

}  // namespace aeroquin
