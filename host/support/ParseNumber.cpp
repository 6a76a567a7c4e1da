#include "host/support/ParseNumber.h"

#include <charconv>
#include <limits>
#include <system_error>

#include "host/support/Text.h"

namespace aeroquin::host {

std::optional<double> parseNumber(std::string_view text) {
    text = trim(text);
    // from_chars takes no '+'; one is allowed before a digit or point.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> scanInteger(std::string_view text, std::size_t* used) {
    std::size_t at = 0;
    while (at < text.size() && (isBlank(text[at]) || text[at] == '\v' || text[at] == '\f')) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    const std::size_t digits = at;
    // Accumulated negative: the most negative value has no positive counterpart.
    long long value = 0;
    bool saturated = false;
    constexpr long long kLowest = std::numeric_limits<long long>::min();
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value < (kLowest + digit) / 10) {
            saturated = true;
        } else {
            value = value * 10 - digit;
        }
    }
    if (at == digits) {
        return std::nullopt;
    }
    if (used != nullptr) {
        *used = at;
    }
    if (saturated) {
        return negative ? kLowest : std::numeric_limits<long long>::max();
    }
    if (!negative) {
        return value == kLowest ? std::numeric_limits<long long>::max() : -value;
    }
    return value;
}

std::optional<std::vector<double>> parseNumberList(std::string_view text) {
    std::vector<double> values;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (isBlank(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !isBlank(text[end])) {
            ++end;
        }
        const auto value = parseNumber(text.substr(pos, end - pos));
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        pos = end;
    }
    return values;
}

}  // namespace aeroquin::host
