#include "host/interface/Clock.h"

#include <charconv>
#include <chrono>

namespace aeroquin::host {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

// Exactly `width` decimal digits at `offset`.
std::optional<int> fixedNumber(std::string_view text, std::size_t offset, std::size_t width) {
    int value = 0;
    const char* first = text.data() + offset;
    const char* last = first + width;
    for (const char* p = first; p != last; ++p) {
        if (*p < '0' || *p > '9') {
            return std::nullopt;
        }
    }
    std::from_chars(first, last, value);
    return value;
}

std::chrono::year_month_day calendarDate(const UtcTime& time) {
    return std::chrono::year{time.year} / std::chrono::month{static_cast<unsigned>(time.month)} /
           std::chrono::day{static_cast<unsigned>(time.day)};
}

}  // namespace

std::optional<UtcTime> parseUtc(std::string_view text) {
    // 0123456789012345678
    // YYYY-MM-DDTHH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = fixedNumber(text, 0, 4);
    const auto month = fixedNumber(text, 5, 2);
    const auto day = fixedNumber(text, 8, 2);
    const auto hour = fixedNumber(text, 11, 2);
    const auto minute = fixedNumber(text, 14, 2);
    const auto second = fixedNumber(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    const UtcTime time{*year, *month, *day, *hour, *minute, *second};
    if (!calendarDate(time).ok() || time.hour > 23 || time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    return time;
}

double modifiedJulianDate(const UtcTime& time) {
    constexpr sys_days kEpoch = std::chrono::year{1858} / std::chrono::November / 17;
    const auto wholeDays = (sys_days{calendarDate(time)} - kEpoch).count();
    const double seconds = time.hour * 3600.0 + time.minute * 60.0 + time.second;
    return static_cast<double>(wholeDays) + seconds / 86400.0;
}

Clock::Clock(std::optional<UtcTime> pinned) : pinned_(pinned) {}

namespace {

UtcTime calendarInstant(std::chrono::sys_seconds instant) {
    const auto today = std::chrono::floor<days>(instant);
    const std::chrono::year_month_day date{today};
    const std::chrono::hh_mm_ss clock{instant - today};
    return UtcTime{static_cast<int>(date.year()),
                   static_cast<int>(static_cast<unsigned>(date.month())),
                   static_cast<int>(static_cast<unsigned>(date.day())),
                   static_cast<int>(clock.hours().count()),
                   static_cast<int>(clock.minutes().count()),
                   static_cast<int>(clock.seconds().count())};
}

}  // namespace

UtcTime Clock::now() const {
    if (pinned_) {
        return *pinned_;
    }
    return calendarInstant(
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
}

SYSTEMTIME Clock::systemTime() const {
    SYSTEMTIME result{};
    UtcTime time;
    if (pinned_) {
        time = *pinned_;
    } else {
        // One reading for all fields, so that they agree.
        const auto millis =
            std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
        const auto seconds = std::chrono::floor<std::chrono::seconds>(millis);
        result.wMilliseconds = static_cast<WORD>((millis - seconds).count());
        time = calendarInstant(seconds);
    }
    const std::chrono::weekday weekday{sys_days{calendarDate(time)}};
    result.wYear = static_cast<WORD>(time.year);
    result.wMonth = static_cast<WORD>(time.month);
    result.wDayOfWeek = static_cast<WORD>(weekday.c_encoding());
    result.wDay = static_cast<WORD>(time.day);
    result.wHour = static_cast<WORD>(time.hour);
    result.wMinute = static_cast<WORD>(time.minute);
    result.wSecond = static_cast<WORD>(time.second);
    return result;
}

}  // namespace aeroquin::host
