// The wall clock that the module reads through GetSystemTime, optionally pinned to one instant
// so that report names and header times are reproducible.
#pragma once

#include <optional>
#include <string_view>

#include "module/simulator/HostApi.h"

namespace aeroquin::host {

// A calendar instant in UTC, to the second.
struct UtcTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "YYYY-MM-DDTHH:MM:SS" with a real calendar date and a time of day within 00:00:00..23:59:59.
std::optional<UtcTime> parseUtc(std::string_view text);

// Days since 1858-11-17 00:00 UTC, with the time of day as the fraction.
double modifiedJulianDate(const UtcTime& time);

class Clock {
  public:
    // Unpinned, the clock reads the system's time at every call.
    explicit Clock(std::optional<UtcTime> pinned);

    // The current time in UTC (day of the week 0 = Sunday).
    [[nodiscard]] SYSTEMTIME systemTime() const;
    // The current time as a calendar instant (milliseconds dropped).
    [[nodiscard]] UtcTime now() const;

  private:
    std::optional<UtcTime> pinned_;
};

}  // namespace aeroquin::host
