// The host's log, <root>/host.log, rewritten each run. Every line reaches the file at once (one
// write per line), so a crash of the process loses no line already logged.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/UniqueFd.h"

namespace aeroquin::host {

class HostLog {
  public:
    // Creates or truncates the file; throws std::runtime_error when it cannot.
    explicit HostLog(const std::filesystem::path& path);

    // One line holding `text` unchanged (the module's lines).
    void line(std::string_view text);
    // One line "host: " + text (the host's own lines).
    void host(std::string_view text);

    const std::filesystem::path& path() const { return path_; }

  private:
    void emit(std::string_view prefix, std::string_view text);

    std::filesystem::path path_;
    UniqueFd fd_;
    std::string buffer_;  // reused for every line: no allocation per line once grown
    bool failureReported_ = false;
};

}  // namespace aeroquin::host
