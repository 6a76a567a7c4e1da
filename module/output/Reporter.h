// The report file of one capture.
#pragma once

#include <string>

#include "module/config/Configuration.h"
#include "module/simulator/HostApi.h"
#include "module/sweep/Sweeper.h"
#include "module/vessel/CaptureSample.h"
#include "module/vessel/VesselManager.h"

namespace aeroquin {

// Owns the host file handle from a successful open() until close() or destruction, and hands
// it back exactly once. Its one buffer is the host's copy of the line being written.
class Reporter {
  public:
    Reporter() = default;
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;
    Reporter(Reporter&&) = delete;
    Reporter& operator=(Reporter&&) = delete;
    virtual ~Reporter();

    // Creates the file and writes the six header lines. Throws std::runtime_error
    // "File <path> could not be created." when the host gives no handle.
    void open(const Configuration& configuration, const Sweeper& sweeper,
              const VesselManager& vesselManager);
    // One data row, the text of RowText (the capture formats it once, for the
    // status text and the report); nothing when no file is open.
    void writeRow(const std::string& row);
    // Closes an open file; nothing otherwise.
    void close();

  private:
    void writeLine(const std::string& text);

    FILEHANDLE file_ = nullptr;
    std::string line_;  // the host's copy of each line, its capacity kept
};

// saveDirectory + "\" + class name [+ "_YYYYMMDD_hhmmss" for style 1] + ".csv"; the start time
// is UTC.
[[nodiscard]] std::string reportFileName(const Configuration& configuration,
                                         const VesselManager& vesselManager,
                                         const SYSTEMTIME& startTime);

}  // namespace aeroquin
