#include "host/DateText.h"

#include <array>
#include <cctype>
#include <charconv>

namespace aeroquin::host {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view& text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
}

// Leading decimal digits of `text`, at most `maxDigits` of them; consumed on success.
std::optional<int> takeNumber(std::string_view& text, std::size_t maxDigits) {
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])) != 0) {
        ++digits;
    }
    if (digits == 0 || digits > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    text.remove_prefix(digits);
    return value;
}

}  // namespace

std::optional<int> date2Int(std::string_view text) {
    skipBlanks(text);
    if (text.size() < 3) {
        return std::nullopt;
    }
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (text.substr(0, 3) == kMonths[i]) {
            month = static_cast<int>(i) + 1;
        }
    }
    text.remove_prefix(3);
    if (month == 0 || text.empty() || !isBlank(text.front())) {
        return std::nullopt;
    }
    skipBlanks(text);
    const auto day = takeNumber(text, 2);
    if (!day || *day < 1 || *day > 31 || text.empty() || !isBlank(text.front())) {
        return std::nullopt;
    }
    skipBlanks(text);
    const auto year = takeNumber(text, 4);
    skipBlanks(text);
    if (!year || !text.empty()) {
        return std::nullopt;
    }
    return (*year % 100) * 10000 + month * 100 + *day;
}

}  // namespace aeroquin::host
