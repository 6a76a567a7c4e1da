#include "host/HostLog.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace aeroquin::host {

HostLog::HostLog(const std::filesystem::path& path)
    : path_(path), fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {
    if (!fd_) {
        throw std::runtime_error("cannot create the log " + path.string() + ": " +
                                 std::strerror(errno));
    }
    buffer_.reserve(256);
}

void HostLog::line(std::string_view text) {
    emit({}, text);
}

void HostLog::host(std::string_view text) {
    emit("host: ", text);
}

void HostLog::emit(std::string_view prefix, std::string_view text) {
    buffer_.assign(prefix);
    buffer_.append(text);
    buffer_.push_back('\n');
    if (!writeAll(fd_.get(), buffer_.data(), buffer_.size()) && !failureReported_) {
        // The log itself is failing: say so once where the user will see it.
        failureReported_ = true;
        std::fprintf(stderr, "aeroquin-host: writing the log %s failed: %s\n", path_.c_str(),
                     std::strerror(errno));
    }
}

}  // namespace aeroquin::host
