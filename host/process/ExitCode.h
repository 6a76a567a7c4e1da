// How a run of the host ends, as the process's exit status.
#pragma once

namespace aeroquin::host {

enum class ExitCode : int {
    completed = 0,        // the module logged "Capture completed"
    captureFailed = 1,    // the module's status after frame 1 was not a successful start
    badInput = 2,         // bad arguments, host files or module library
    frameLimit = 3,       // --frames N reached
    moduleException = 4,  // an exception escaped a module callback (or the host's own step)
    interrupted = 130,    // SIGINT or SIGTERM
};

inline int toInt(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace aeroquin::host
