// The module date text that Date2Int reads.
#pragma once

#include <string>
#include <string_view>

namespace aeroquin::host {

struct DateValue {
    // (year mod 100) * 10000 + month * 100 + day.
    int value = 0;
    // Empty for a date that reads whole; else what the simulator would have read differently.
    std::string problem;
};

// The text as the simulator reads it, sscanf("%s%d%d"): the first blank-separated word names
// the month by its first three letters (any case), then the day and the year as sscanf's "%d"
// reads them. Where the simulator's answer is undefined (an unknown month, a day or year that
// is missing or beyond int), the host takes 0 for what is missing and says so in `problem`.
DateValue date2Int(std::string_view text);

}  // namespace aeroquin::host
