// SIGINT and SIGTERM ask the run to stop: the handler only records the request, which the frame
// loop reads between frames so that the simulation still ends cleanly. A frame that does not end
// within LastWords::kStopGraceS of the request ends the run (LastWords.h). A second signal ends
// the process at once (the handler is reset after the first).
#pragma once

#include <csignal>

namespace aeroquin::host {

class StopSignals {
  public:
    // Installs the handlers; the destructor restores the previous ones.
    StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    StopSignals(StopSignals&&) = delete;
    StopSignals& operator=(StopSignals&&) = delete;
    ~StopSignals();

    // The signal received, 0 when none.
    static int received();

  private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace aeroquin::host
