#include "host/process/CommandLine.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "host/process/ExitCode.h"

namespace aeroquin::host {

namespace {

constexpr const char* kDescription =
    "aeroquin-host: a headless stand-in for the space-flight simulator. It loads a plug-in "
    "module, simulates the scenario's body and vessels frame by frame and drives the module's "
    "callbacks; with the Aeroquin module it runs a capture and writes its report below the root "
    "folder. The log is ROOT/host.log.";

constexpr const char* kAfterExitCodes =
    "Every end after the simulation started runs the module's simulation-end callback.";

// A count in plain decimal digits (no sign: the parser's own unsigned reading would take "-1"
// as the largest value).
std::optional<std::uint64_t> parseCount(const std::string& text) {
    std::uint64_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || text.front() == '-' || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

CLI::Validator countValidator(std::uint64_t minimum) {
    return {[minimum](const std::string& text) -> std::string {
                const auto value = parseCount(text);
                if (!value || *value < minimum) {
                    return "must be a whole number of at least " + std::to_string(minimum);
                }
                return "";
            },
            "", ""};
}

// Against the current folder, without a trailing "/" or "/." ("." is the current folder's own
// path). ".." stays: through a symbolic link it need not mean the parent.
std::filesystem::path absolutePath(const std::string& text) {
    std::filesystem::path path = std::filesystem::absolute(text);
    while ((path.filename().empty() || path.filename() == ".") && path.has_relative_path()) {
        path = path.parent_path();
    }
    return path;
}

}  // namespace

namespace {

// The options as the command line gives them, before they are checked and made absolute.
struct GivenOptions {
    std::string root;
    std::string module;
    std::string trace;
    std::string utc;
    std::string display = "terminal";
    double step = 0.0;
    std::string frames;
    std::string failWritesAfter;
};

void declareOptions(CLI::App& app, GivenOptions& given, HostOptions& options) {
    app.add_option("--root", given.root, "Root folder (Config/, Scenarios/, reports, host.log)")
        ->check(CLI::ExistingDirectory)
        ->capture_default_str();
    app.add_option("--scenario", options.scenario, "Scenario Scenarios/NAME.scn")
        ->type_name("NAME")
        ->capture_default_str();
    auto* moduleOption = app.add_option(
        "--module", given.module, "Plug-in library (default: the Aeroquin module of this host)");
    moduleOption->type_name("FILE");
    app.add_flag("--no-module", options.noModule,
                 "Load no plug-in: run the world alone, to time the host")
        ->excludes(moduleOption);
    app.add_option("--frames", given.frames, "Stop after N frames (exit status 3)")
        ->type_name("N")
        ->check(countValidator(1));
    app.add_option("--step", given.step,
                   "Time step per frame, s (default: the scenario's StepSize)")
        ->type_name("SECONDS")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                const double value = std::strtod(text.c_str(), nullptr);
                return std::isfinite(value) && value > 0.0 ? ""
                                                           : "must be a positive finite number";
            },
            "", "SECONDS"));
    app.add_option("--utc", given.utc, "Pin the clock that the module reads (UTC)")
        ->type_name("YYYY-MM-DDTHH:MM:SS")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return parseUtc(text) ? "" : "must be a valid YYYY-MM-DDTHH:MM:SS time";
            },
            "", ""));
    app.add_option("--trace", given.trace, "Write every host operation and callback to FILE")
        ->type_name("FILE");
    app.add_option("--display", given.display, "terminal: live line on a terminal; none: nothing")
        ->check(CLI::IsMember({"terminal", "none"}))
        ->capture_default_str();
    app.add_option("--fail-writes-after", given.failWritesAfter,
                   "Testing: oapiWriteLine fails from line N+1 on (counted over all files), as "
                   "on a full disk")
        ->type_name("N")
        ->check(countValidator(0))
        ->group("Testing");
}

// The run works in the root folder, as the simulator does in its own: every path of the
// command line is made absolute before that.
void takeGivenOptions(const CLI::App& app, const GivenOptions& given, HostOptions& options) {
    options.root = absolutePath(given.root);
    if (app.count("--module") > 0) {
        options.module = absolutePath(given.module);
    }
    if (app.count("--trace") > 0) {
        options.trace = absolutePath(given.trace);
    }
    if (app.count("--frames") > 0) {
        options.frames = parseCount(given.frames);
    }
    if (app.count("--step") > 0) {
        options.step = given.step;
    }
    if (app.count("--utc") > 0) {
        options.utc = parseUtc(given.utc);
    }
    options.display = given.display == "none" ? DisplayMode::none : DisplayMode::terminal;
    if (app.count("--fail-writes-after") > 0) {
        options.failWritesAfter = parseCount(given.failWritesAfter);
    }
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CLI::App app{kDescription, "aeroquin-host"};
    app.footer(exitStatusText() + kAfterExitCodes);
    app.set_version_flag("--version", std::string("aeroquin-host ") + AEROQUIN_VERSION);
    HostOptions options;
    GivenOptions given;
    given.root = options.root.string();
    declareOptions(app, given, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return {std::nullopt, status == 0 ? 0 : toInt(ExitCode::badInput)};
    }
    takeGivenOptions(app, given, options);
    return {options, 0};
}

}  // namespace aeroquin::host
