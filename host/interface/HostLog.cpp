#include "host/interface/HostLog.h"

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

namespace {

// The length of the printf conversion that begins with the '%' at text[0]: flags, width,
// precision, length modifiers and the conversion character, as far as the text goes.
std::size_t conversionLength(std::string_view text) {
    std::size_t at = 1;
    const auto skip = [&](std::string_view set) {
        while (at < text.size() && set.find(text[at]) != std::string_view::npos) {
            ++at;
        }
    };
    skip("-+ #0");
    skip("0123456789*");
    if (at < text.size() && text[at] == '.') {
        ++at;
        skip("0123456789*");
    }
    skip("hlLqjztI");
    return at < text.size() ? at + 1 : at;
}

}  // namespace

std::size_t formatWithoutArguments(std::string_view text, std::string& out,
                                   std::string& conversions) {
    out.clear();
    conversions.clear();
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t percent = text.find('%', at);
        out.append(text.substr(at, percent - at));
        if (percent == std::string_view::npos) {
            break;
        }
        if (percent + 1 < text.size() && text[percent + 1] == '%') {
            out.push_back('%');
            at = percent + 2;
            continue;
        }
        const std::size_t length = conversionLength(text.substr(percent));
        out.append(text.substr(percent, length));
        conversions.append(conversions.empty() ? "\"" : ", \"");
        conversions.append(text.substr(percent, length));
        conversions.push_back('"');
        ++count;
        at = percent + length;
    }
    return count;
}

std::string_view HostLog::moduleLine(std::string_view text) {
    // A line without '%' (every status line of a capture) is written as it came.
    std::string_view line = text;
    std::size_t count = 0;
    if (text.find('%') != std::string_view::npos) {
        count = formatWithoutArguments(text, formatted_, conversions_);
        line = formatted_;
    }
    emit({}, line);
    if (count > 0) {
        host("oapiWriteLog: the line above holds " + conversions_ +
             (count == 1 ? ", a conversion without an argument, written as it stands"
                         : ", conversions without arguments, written as they stand") +
             "; the simulator would have crashed or printed garbage there");
    }
    if (moduleLineListener_) {
        moduleLineListener_(line);
    }
    return line;
}

void HostLog::host(std::string_view text) {
    emit("host: ", text);
}

void HostLog::emit(std::string_view prefix, std::string_view text) {
    buffer_.assign(prefix);
    buffer_.append(text);
    buffer_.push_back('\n');
    if (writeAll(fd_.get(), buffer_.data(), buffer_.size())) {
        return;
    }
    ++linesLost_;
    if (!failureReported_) {
        // The log itself is failing: say so once where the user will see it.
        failureReported_ = true;
        std::fprintf(stderr, "aeroquin-host: writing the log %s failed: %s\n", path_.c_str(),
                     std::strerror(errno));
    }
}

}  // namespace aeroquin::host
