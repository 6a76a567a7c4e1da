#include "host/support/DateText.h"

#include <array>
#include <limits>
#include <optional>

#include "host/support/ParseNumber.h"
#include "host/support/Text.h"

namespace aeroquin::host {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// sscanf's "%d" at the front of `text`, consumed; nothing when no int is read.
std::optional<int> takeInt(std::string_view& text) {
    std::size_t used = 0;
    const auto value = scanInteger(text, &used);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    text.remove_prefix(used);
    return static_cast<int>(*value);
}

void addProblem(std::string& problem, const std::string& text) {
    problem += problem.empty() ? text : ", " + text;
}

}  // namespace

DateValue date2Int(std::string_view text) {
    DateValue result;
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    std::size_t wordEnd = 0;
    while (wordEnd < text.size() && !isSpace(text[wordEnd])) {
        ++wordEnd;
    }
    const std::string_view word = text.substr(0, wordEnd);
    text.remove_prefix(wordEnd);

    int month = 0;
    for (std::size_t i = 0; i < kMonths.size() && word.size() >= 3; ++i) {
        if (lowerAscii(word[0]) == kMonths[i][0] && lowerAscii(word[1]) == kMonths[i][1] &&
            lowerAscii(word[2]) == kMonths[i][2]) {
            month = static_cast<int>(i) + 1;
            break;
        }
    }
    // Once one conversion fails, sscanf reads no further.
    const auto day = word.empty() ? std::nullopt : takeInt(text);
    const auto year = day ? takeInt(text) : std::nullopt;
    if (month == 0) {
        addProblem(result.problem, "no month");
    }
    if (!day) {
        addProblem(result.problem, "no day");
    }
    if (!year) {
        addProblem(result.problem, "no year");
    }
    result.value = (year.value_or(0) % 100) * 10000 + month * 100 + day.value_or(0);
    return result;
}

}  // namespace aeroquin::host
