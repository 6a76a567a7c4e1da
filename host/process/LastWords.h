// The one line a run leaves when it cannot end cleanly: a fatal signal in the module or in a
// coefficient function, an exit() during a frame, or a frame that goes on too long after a stop
// signal. Written with async-signal-safe calls to the log and to stderr; then the process ends
// as the cause demands (the fatal signal raised again, status 7 for an exit, status 130 for a
// stop).
#pragma once

#include <cstdint>

namespace aeroquin::host {

class LastWords {
  public:
    // How long a frame may go on after the first SIGINT or SIGTERM, s.
    static constexpr unsigned kStopGraceS = 2;

    // Installs the handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT and SIGALRM and the
    // exit hook; `fd` is the host log's descriptor. One instance at a time; the destructor
    // restores the previous handlers and disarms the exit hook.
    explicit LastWords(int fd);
    LastWords(const LastWords&) = delete;
    LastWords& operator=(const LastWords&) = delete;
    LastWords(LastWords&&) = delete;
    LastWords& operator=(LastWords&&) = delete;
    ~LastWords();

    // The frame under way (0: before the first); `during` while the module's callbacks or the
    // world's step run, when an exit() is no way for the run to end. After a stop signal,
    // entering a frame arms the grace timer and leaving it disarms it.
    static void setFrame(std::uint64_t current, bool during);
    // From the stop signals' handler: a frame under way has kStopGraceS to end before the run
    // is ended. Outside a frame (the simulation's end, the unloading) nothing is timed.
    static void stopRequested(int signal);
};

}  // namespace aeroquin::host
