// How a run of the host ends, as the process's exit status.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace aeroquin::host {

enum class ExitCode : int {
    completed = 0,
    captureFailed = 1,
    badInput = 2,
    frameLimit = 3,
    moduleException = 4,
    linesLost = 5,
    notFinite = 6,
    exitInFrame = 7,
    internalError = 8,
    incomplete = 9,
    interrupted = 130,
};

inline int toInt(ExitCode code) {
    return static_cast<int>(code);
}

// What each status means, as --help lists them; every status has its line.
struct ExitCodeMeaning {
    ExitCode code;
    std::string_view meaning;
};
inline constexpr std::array<ExitCodeMeaning, 11> kExitCodeMeanings{{
    {ExitCode::completed, "the module logged \"Capture completed\""},
    {ExitCode::captureFailed,
     "the capture could not start (the module's status after frame 1, on stderr)"},
    {ExitCode::badInput, "bad arguments, host files or module library"},
    {ExitCode::frameLimit, "--frames N frames run"},
    {ExitCode::moduleException, "an exception escaped a module callback (named in the log)"},
    {ExitCode::linesLost, "completed but report or log lines were lost"},
    {ExitCode::notFinite, "the flight left finite numbers"},
    {ExitCode::exitInFrame, "exit() called during a frame"},
    {ExitCode::internalError, "an internal error of the host"},
    {ExitCode::incomplete, "the capture did not complete (the module's text on stderr)"},
    {ExitCode::interrupted, "stopped by SIGINT or SIGTERM"},
}};

// "Exit status:" and one line per status: the code, padded to five columns, and its meaning.
inline std::string exitStatusText() {
    std::string text = "Exit status:\n";
    for (const auto& [code, meaning] : kExitCodeMeanings) {
        std::string number = std::to_string(toInt(code));
        number.resize(5, ' ');
        text.append("  ").append(number).append(meaning).append("\n");
    }
    return text;
}

}  // namespace aeroquin::host
