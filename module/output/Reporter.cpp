#include "module/output/Reporter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "module/config/OptionalAxes.h"
#include "module/contract/ReportFormat.h"

namespace aeroquin {

namespace {

// The header's "YYYY/MM/DD::hh:mm:ss" and the file name's "_YYYYMMDD_hhmmss".
enum class TimeStyle { header, fileName };

// The date and time of `time`; every field at most 5 digits. The formats stay literals, which
// the compiler checks.
std::string formatTime(TimeStyle style, const SYSTEMTIME& time) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(),
                  style == TimeStyle::header ? "%.4u/%.2u/%.2u::%.2u:%.2u:%.2u"
                                             : "_%.4u%.2u%.2u_%.2u%.2u%.2u",
                  static_cast<unsigned>(time.wYear), static_cast<unsigned>(time.wMonth),
                  static_cast<unsigned>(time.wDay), static_cast<unsigned>(time.wHour),
                  static_cast<unsigned>(time.wMinute), static_cast<unsigned>(time.wSecond));
    return text.data();
}

// Line ends in the file the simulator wrote at `hostPath`; 0 when it is no regular file (a device
// may never end) or cannot be read. A line end is '\n' alone or "\r\n".
std::uint64_t linesOnDisk(const std::string& hostPath) {
    const std::filesystem::path path(simulator::localPath(hostPath));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return 0;
    }
    std::ifstream file(path, std::ios::binary);
    std::uint64_t lines = 0;
    std::array<char, 65536> chunk{};
    while (file) {
        file.read(chunk.data(), chunk.size());
        lines += static_cast<std::uint64_t>(
            std::count(chunk.data(), chunk.data() + file.gcount(), '\n'));
    }
    return lines;
}

}  // namespace

Reporter::~Reporter() {
    close();
}

void Reporter::open(const Configuration& configuration, const ReportColumns& columns,
                    const Sweeper& sweeper, const VesselManager& vesselManager) {
    // A handle already held is handed back rather than lost.
    close();

    // One reading, shared by the file name and line 3 so that they agree to the second.
    SYSTEMTIME startTime{};
    GetSystemTime(&startTime);
    path_ = reportFileName(configuration, vesselManager, startTime);
    linesWritten_ = 0;
    bytesWritten_ = 0;
    const std::string& path = path_;
    if (path.size() > kMaxReportPathLength) {
        // The simulator would copy it past the end of its buffer.
        std::ostringstream message;
        message << "File " << path << " could not be created: its path has " << path.size()
                << " characters, the simulator takes at most " << kMaxReportPathLength << ".";
        throw std::runtime_error(message.str());
    }

    // The simulator would open whatever is there: a named pipe blocks it until a reader comes.
    std::error_code error;
    const auto existing = std::filesystem::status(simulator::localPath(path), error).type();
    if (existing != std::filesystem::file_type::not_found &&
        existing != std::filesystem::file_type::regular) {
        throw std::runtime_error("File " + path + " could not be created.");
    }

    file_ = oapiOpenFile(path.c_str(), FILE_OUT, ROOT);
    if (file_ == nullptr) {
        throw std::runtime_error("File " + path + " could not be created.");
    }

    writeLine(std::string(contract::kVersionLabel).append(contract::kVersion));
    writeLine(std::string(contract::kClassLabel) + vesselManager.vesselClassName());
    writeLine(std::string(contract::kStartTimeLabel) + formatTime(TimeStyle::header, startTime));
    std::ostringstream counts;
    counts << contract::kAoaCountLabel << sweeper.aoaPoints().size() << '\n'
           << contract::kMachCountLabel << sweeper.machPoints().size();
    if (configuration.hasOptionalItems()) {
        counts << '\n' << contract::kAltitudeLabel << configuration.altitude();
        if (const auto& mass = vesselManager.massProperties()) {
            counts << '\n'
                   << contract::kMassLabel << mass->massKg << '\n'
                   << contract::kInertiaLabel << mass->rollInertia << ' ' << mass->pitchInertia
                   << ' ' << mass->yawInertia << '\n'
                   << contract::kGravityLabel << mass->gravity;
        }
        for (const OptionalAxisDescription& axis : kOptionalAxes) {
            const std::vector<double>& values = sweeper.values(axis.axis);
            if (values.empty()) {
                continue;
            }
            if (axis.axis == OptionalAxis::control && configuration.controlSurface) {
                counts << '\n'
                       << contract::kControlSurfaceLabel
                       << controlSurfaceName(*configuration.controlSurface);
            }
            counts << '\n' << axis.countLabel << values.size();
        }
    }
    writeLine(counts.str());
    // The levels the controls are held at are known after the first step: the rest of the header
    // waits for completeHeader().
    columnLine_ = columns.line();
    if (!configuration.readsForceSums()) {
        writeLine(std::exchange(columnLine_, {}));
    }
    // The simulator flushes every line: a file that does not hold the header now takes no rows.
    if (!holdsWhatWasWritten()) {
        close();
        throw std::runtime_error("File " + path + " could not be created.");
    }
}

void Reporter::writeHeaderEnd(const ControlKeeper& controls, double timeStepS) {
    if (file_ == nullptr) {
        return;
    }
    if (const auto& held = controls.held()) {
        std::ostringstream lines;
        lines << contract::kControlsHeldLabel;
        const char* separator = "";
        for (const AIRCTRL_TYPE type : kControlTypes) {
            if (type != controls.swept()) {
                lines << separator << controlSurfaceName(type) << ' '
                      << held->levels.at(static_cast<std::size_t>(type));
                separator = ", ";
            }
        }
        lines << '\n'
              << contract::kThrustHeldLabel << held->thrustN << '\n'
              << contract::kTimeStepLabel << timeStepS;
        writeLine(lines.str());
    }
    writeLine(std::exchange(columnLine_, {}));
}

void Reporter::writeRow(const std::string& row) {
    if (file_ == nullptr) {
        return;
    }
    // A row is one line: no line feed to look for, every frame.
    writeLine(row, 0);
}

void Reporter::close() {
    if (file_ == nullptr) {
        return;
    }
    // A capture that ends before its first step still gets its column line.
    writeLine(std::exchange(columnLine_, {}));
    oapiCloseFile(file_, FILE_OUT);
    file_ = nullptr;
}

std::uint64_t Reporter::finish() {
    close();
    if (holdsWhatWasWritten()) {
        return 0;
    }
    // Only a file that falls short has its lines counted.
    const std::uint64_t lines = linesOnDisk(path_);
    return lines < linesWritten_ ? linesWritten_ - lines : 1;
}

bool Reporter::holdsWhatWasWritten() const {
    // A folder or a device has no size of its own; an old file that could not be replaced has
    // its old one.
    const std::filesystem::path path(simulator::localPath(path_));
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) &&
           std::filesystem::file_size(path, error) == bytesWritten_ && !error;
}

void Reporter::writeLine(const std::string& text) {
    writeLine(text, static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n')));
}

void Reporter::writeLine(const std::string& text, std::uint64_t lineFeeds) {
    if (file_ == nullptr || text.empty()) {
        return;
    }
    line_ = text;  // the host takes a mutable text
    oapiWriteLine(file_, line_.data());
    linesWritten_ += 1 + lineFeeds;
    bytesWritten_ += text.size() + (1 + lineFeeds) * simulator::kLineEndBytes - lineFeeds;
}

std::string reportFileName(const Configuration& configuration, const VesselManager& vesselManager,
                           const SYSTEMTIME& startTime) {
    std::string stem = vesselManager.vesselClassName();
    std::replace(stem.begin(), stem.end(), '/', '_');
    std::replace(stem.begin(), stem.end(), '\\', '_');
    if (configuration.reportNameStyle == 1) {
        stem += formatTime(TimeStyle::fileName, startTime);
    }
    return configuration.saveDirectory + simulator::kPathSeparator + stem + ".csv";
}

}  // namespace aeroquin
