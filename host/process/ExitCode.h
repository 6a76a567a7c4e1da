// How a run of the host ends, as the process's exit status.
#pragma once

namespace aeroquin::host {

enum class ExitCode : int {
    completed = 0,        // the module logged "Capture completed"
    captureFailed = 1,    // the module's status after frame 1 was not a successful start
    badInput = 2,         // bad arguments, host files or module library
    frameLimit = 3,       // --frames N reached
    moduleException = 4,  // an exception escaped a module callback
    linesLost = 5,        // the capture completed, but report or log lines were lost
    notFinite = 6,        // a vessel's state, loads or air stopped being finite numbers
    exitInFrame = 7,      // the module or a library it calls ended the process during a frame
    internalError = 8,    // the host itself failed
    incomplete = 9,       // the capture ended without all its points or report lines
    interrupted = 130,    // SIGINT or SIGTERM
};

inline int toInt(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace aeroquin::host
