#include "host/process/StopSignals.h"

#include <csignal>

#include "host/process/LastWords.h"

namespace aeroquin::host {

namespace {

// Written by the signal handler, hence a global.
volatile std::sig_atomic_t stopRequest = 0;

void recordStop(int signal) {
    stopRequest = signal;
    // A frame that hangs does not see the request: it gets a grace period, then the run ends.
    LastWords::stopRequested(signal);
}

}  // namespace

StopSignals::StopSignals() {
    stopRequest = 0;
    struct sigaction action {};
    action.sa_handler = recordStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

int StopSignals::received() {
    return stopRequest;
}

}  // namespace aeroquin::host
