#include "host/process/TerminalDisplay.h"

#include <sys/ioctl.h>
#include <unistd.h>
#include <array>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace aeroquin::host {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

std::string durationText(double seconds) {
    std::array<char, 48> text{};
    const auto whole = static_cast<long long>(std::llround(std::clamp(seconds, 0.0, 1e9)));
    if (whole < 60) {
        std::snprintf(text.data(), text.size(), "%lld s", whole);
    } else if (whole < 3600) {
        std::snprintf(text.data(), text.size(), "%lld min %02lld s", whole / 60, whole % 60);
    } else {
        std::snprintf(text.data(), text.size(), "%lld h %02lld min", whole / 3600, whole / 60 % 60);
    }
    return text.data();
}

TerminalDisplay::TerminalDisplay(bool enabled)
    : enabled_(enabled), started_(std::chrono::steady_clock::now()) {
    winsize size{};
    if (enabled_ && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 10) {
        width_ = size.ws_col;
    }
    line_.reserve(width_ + 16);
}

void TerminalDisplay::update(const DisplayState& state) {
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    draw(state, now);
}

void TerminalDisplay::finish(const DisplayState& state) {
    if (!enabled_) {
        return;
    }
    draw(state, std::chrono::steady_clock::now());
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void TerminalDisplay::draw(const DisplayState& state, std::chrono::steady_clock::time_point now) {
    drawn_ = true;
    lastDraw_ = now;
    std::array<char, 64> part{};
    line_.assign("\r[frame ");
    std::snprintf(part.data(), part.size(), "%llu  t %.6g s",
                  static_cast<unsigned long long>(state.frame), state.simTime);
    line_.append(part.data());
    if (state.pointsTotal && *state.pointsTotal > 0) {
        const auto total = static_cast<double>(*state.pointsTotal);
        const auto done = static_cast<double>(state.pointsDone);
        std::snprintf(part.data(), part.size(), "  %llu/%llu %.1f%%",
                      static_cast<unsigned long long>(state.pointsDone),
                      static_cast<unsigned long long>(*state.pointsTotal), 100.0 * done / total);
        line_.append(part.data());
        if (state.pointsDone > 0 && state.pointsDone < *state.pointsTotal) {
            const double elapsed = std::chrono::duration<double>(now - started_).count();
            line_.append("  ETA ");
            line_.append(durationText(elapsed * (total - done) / done));
        }
    }
    line_.append("] ");
    line_.append(state.text);
    // One column short of the width ('\r' counts here), so that the terminal never wraps.
    if (line_.size() > width_) {
        line_.resize(width_);
    }
    line_.append("\x1b[K");
    std::fwrite(line_.data(), 1, line_.size(), stdout);
    std::fflush(stdout);
}

}  // namespace aeroquin::host
