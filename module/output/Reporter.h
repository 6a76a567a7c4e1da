// The report file of one capture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "module/config/Configuration.h"
#include "module/output/ReportColumns.h"
#include "module/simulator/HostApi.h"
#include "module/sweep/Sweeper.h"
#include "module/vessel/CaptureSample.h"
#include "module/vessel/VesselManager.h"

namespace aeroquin {

// The longest path the simulator opens: it copies the path into a buffer of 512 characters.
inline constexpr std::size_t kMaxReportPathLength = 511;

// Owns the host file handle from a successful open() until close() or destruction, and hands
// it back exactly once. Its one buffer is the host's copy of the line being written. The file is
// checked through the standard library (the simulator's root is the process's working folder):
// the simulator hands out a handle even for a file it could not create, and drops every line
// written through it.
class Reporter {
  public:
    Reporter() = default;
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;
    Reporter(Reporter&&) = delete;
    Reporter& operator=(Reporter&&) = delete;
    virtual ~Reporter();

    // Creates the file and writes the six header lines (with any optional item, after the fifth
    // what was captured: the altitude, the sideslip and control axes; with the step's force or
    // torque sums, the last lines wait for completeHeader()). Throws std::runtime_error
    // "File <path> could not be created." when the host gives no handle or the file does not hold
    // the header afterwards (a folder, a device, a file that may not be written), and refuses a
    // path longer than kMaxReportPathLength, and a path that names something other than a
    // regular file (a folder, a device, a named pipe, whose opening may never return), before the
    // host sees it.
    void open(const Configuration& configuration, const ReportColumns& columns,
              const Sweeper& sweeper, const VesselManager& vesselManager);
    // With a report of the step's force or torque sums, the header's last lines: the levels the
    // controls are held at and the step's length, s (when the first step has given them), and
    // the column line; once, before the first row. close() writes the column line of a header
    // that was never completed.
    void completeHeader(const ControlKeeper& controls, double timeStepS) {
        if (!columnLine_.empty()) {
            writeHeaderEnd(controls, timeStepS);
        }
    }
    // One data row, the text of RowText (the capture formats it once, for the
    // status text and the report); nothing when no file is open.
    void writeRow(const std::string& row);
    // Closes an open file; nothing otherwise.
    void close();
    // Closes the file, then checks what it holds: how many of the lines handed to the host are
    // missing (0 when none is; at least 1 when the file is not as long as they are).
    [[nodiscard]] std::uint64_t finish();

    // As handed to the host; empty before open().
    [[nodiscard]] const std::string& path() const { return path_; }
    // Lines handed to the host, header included.
    [[nodiscard]] std::uint64_t linesWritten() const { return linesWritten_; }

  private:
    void writeHeaderEnd(const ControlKeeper& controls, double timeStepS);
    void writeLine(const std::string& text);
    // Whether the file on disk is as long as everything handed to the host.
    [[nodiscard]] bool holdsWhatWasWritten() const;
    // `lineFeeds`: the '\n' in `text`, each a line end of the file.
    void writeLine(const std::string& text, std::uint64_t lineFeeds);

    FILEHANDLE file_ = nullptr;
    std::string path_;
    std::uint64_t linesWritten_ = 0;
    std::uint64_t bytesWritten_ = 0;  // as the file holds them: line ends of kLineEndBytes
    std::string line_;                // the host's copy of each line, its capacity kept
    std::string columnLine_;          // while the header waits for completeHeader()
};

// saveDirectory + the build's path separator ('\\' under Windows conventions, '/' in the
// simulator's Linux build) + class name [+ "_YYYYMMDD_hhmmss" for style 1] + ".csv"; the start
// time is UTC. A class in a sub-folder of the simulator's vessel classes gives '_' for each '/'
// and '\\' of its name: the report stays in the save directory.
[[nodiscard]] std::string reportFileName(const Configuration& configuration,
                                         const VesselManager& vesselManager,
                                         const SYSTEMTIME& startTime);

}  // namespace aeroquin
