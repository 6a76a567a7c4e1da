// The optional trace of a run (--trace FILE): one line per host operation that a module calls,
// beginning with the operation's name as the module's code spells it, then its arguments; and
// one "# ..." line before each callback into the module. Off, it costs one branch per
// operation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

namespace aeroquin::host {

// Marks the result of an operation in a trace line: "... -> value".
struct TraceResult {};

class Trace {
  public:
    // Off.
    Trace() = default;
    // On, writing to `path` (created or truncated); throws std::runtime_error when it cannot.
    explicit Trace(const std::filesystem::path& path);

    [[nodiscard]] bool on() const { return file_ != nullptr; }

    // `name` then each argument after a blank: texts quoted with C escapes, numbers in full
    // precision, handles as addresses, TraceResult as "->".
    template <typename... Args>
    void line(std::string_view name, const Args&... args) {
        put(name);
        (separatedPut(args), ...);
        std::fputc('\n', file_.get());
    }

    // "# clbkSimulationStart", "# frame 3 clbkPreStep", ...
    void callback(std::string_view name);
    void callback(std::uint64_t frame, std::string_view name);

    // Pushes what is buffered to the file.
    void flush();

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    template <typename T>
    void separatedPut(const T& value) {
        std::fputc(' ', file_.get());
        if constexpr (std::is_same_v<T, TraceResult>) {
            put(std::string_view{"->"});
        } else if constexpr (std::is_same_v<T, bool>) {
            put(std::string_view{value ? "true" : "false"});
        } else if constexpr (std::is_floating_point_v<T>) {
            putReal(static_cast<double>(value));
        } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
            putInteger(static_cast<long long>(value));
        } else if constexpr (std::is_convertible_v<T, const char*>) {
            putText(static_cast<const char*>(value));
        } else if constexpr (std::is_pointer_v<T>) {
            putHandle(static_cast<const void*>(value));
        } else {
            putText(value);
        }
    }

    void put(std::string_view text);
    void putText(const char* text);
    void putText(std::string_view text);
    void putReal(double value);
    void putInteger(long long value);
    void putHandle(const void* handle);

    std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace aeroquin::host
