// The host's command line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "host/interface/Clock.h"

namespace aeroquin::host {

enum class DisplayMode { terminal, none };

struct HostOptions {
    std::filesystem::path root = ".";
    std::string scenario = "Default";
    std::optional<std::filesystem::path> module;  // none: the module that came with the host
    bool noModule = false;                        // run the world alone (timing the host)
    std::optional<std::uint64_t> frames;          // stop after this many frames
    std::optional<double> step;                   // s per frame, instead of the scenario's
    std::optional<UtcTime> utc;                   // pins GetSystemTime
    std::optional<std::filesystem::path> trace;
    DisplayMode display = DisplayMode::terminal;
    std::optional<std::uint64_t> failWritesAfter;  // testing: the file layer's fault switch
};

// Either options to run with, or the exit status of a command line that ends here (--help and
// --version: 0, after printing; a bad command line: 2, after the message on stderr).
struct CommandLine {
    std::optional<HostOptions> options;
    int exitStatus = 0;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace aeroquin::host
