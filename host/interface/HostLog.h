// The host's log, <root>/host.log, rewritten each run. Every line reaches the file at once (one
// write per line), so a crash of the process loses no line already logged.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "host/interface/UniqueFd.h"

namespace aeroquin::host {

// `text` read as printf reads a format without arguments: "%%" becomes "%" in `out`, every
// other conversion stays as it stands and is listed in `conversions` ("\"%s\", \"%n\""; empty
// when there is none). Returns the number of those conversions.
std::size_t formatWithoutArguments(std::string_view text, std::string& out,
                                   std::string& conversions);

class HostLog {
  public:
    // Creates or truncates the file; throws std::runtime_error when it cannot.
    explicit HostLog(const std::filesystem::path& path);

    // One line holding `text` unchanged.
    void line(std::string_view text);
    // A module's line, read as the simulator reads it: as a printf format without arguments.
    // "%%" becomes "%"; any other conversion is written as it stands, followed by a host: line
    // naming it. Returns the text written, valid until the next call and while `text` is.
    std::string_view moduleLine(std::string_view text);
    // Called with each module line as the log holds it, right after it is written.
    void onModuleLine(std::function<void(std::string_view)> listener) {
        moduleLineListener_ = std::move(listener);
    }
    // One line "host: " + text (the host's own lines).
    void host(std::string_view text);

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    // The file's descriptor, for a last line written from a signal handler.
    [[nodiscard]] int fd() const { return fd_.get(); }
    // Lines that could not be written.
    [[nodiscard]] std::uint64_t linesLost() const { return linesLost_; }

  private:
    void emit(std::string_view prefix, std::string_view text);

    std::filesystem::path path_;
    UniqueFd fd_;
    std::string buffer_;       // reused for every line: no allocation per line once grown
    std::string formatted_;    // the module's line after "%%"
    std::string conversions_;  // the other conversions of that line
    bool failureReported_ = false;
    std::uint64_t linesLost_ = 0;
    std::function<void(std::string_view)> moduleLineListener_;
};

}  // namespace aeroquin::host
