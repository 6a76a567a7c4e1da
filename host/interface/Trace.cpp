#include "host/interface/Trace.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string>

namespace aeroquin::host {

Trace::Trace(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "w")) {
    if (!file_) {
        throw std::runtime_error("cannot create the trace file " + path.string() + ": " +
                                 std::strerror(errno));
    }
    // Large blocks: a trace of a long capture holds millions of lines.
    std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 16);
}

// Each mark goes out at once with what came before it, so that a run that dies keeps its trace
// up to the callback it died in.
void Trace::callback(std::string_view name) {
    put("# ");
    put(name);
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
}

void Trace::callback(std::uint64_t frame, std::string_view name) {
    std::fprintf(file_.get(), "# frame %llu ", static_cast<unsigned long long>(frame));
    put(name);
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
}

void Trace::flush() {
    if (file_) {
        std::fflush(file_.get());
    }
}

void Trace::put(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file_.get());
}

void Trace::putText(const char* text) {
    if (text == nullptr) {
        put("null");
        return;
    }
    putText(std::string_view{text});
}

void Trace::putText(std::string_view text) {
    std::FILE* out = file_.get();
    std::fputc('"', out);
    for (const char c : text) {
        switch (c) {
            case '"':
                put("\\\"");
                break;
            case '\\':
                put("\\\\");
                break;
            case '\n':
                put("\\n");
                break;
            case '\r':
                put("\\r");
                break;
            case '\t':
                put("\\t");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    std::fprintf(out, "\\x%02x", static_cast<unsigned>(c));
                } else {
                    std::fputc(c, out);
                }
        }
    }
    std::fputc('"', out);
}

void Trace::putReal(double value) {
    // The shortest text that reads back as the same double.
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    put(std::string_view(text.data(), static_cast<std::size_t>(result.ptr - text.data())));
}

void Trace::putInteger(long long value) {
    std::fprintf(file_.get(), "%lld", value);
}

void Trace::putHandle(const void* handle) {
    if (handle == nullptr) {
        put("null");
    } else {
        std::fprintf(file_.get(), "%p", handle);
    }
}

}  // namespace aeroquin::host
