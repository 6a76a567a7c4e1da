// Number texts of the host's own files.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace aeroquin::host {

// A whole text that is one decimal number ("12", "-3.5", "+1e-3", ".5"); blanks around it are
// allowed. Independent of the locale. "inf" and "nan" parse (callers decide about finiteness).
std::optional<double> parseNumber(std::string_view text);

// What sscanf's "%d" reads at the front of `text`: white space skipped, an optional sign, then
// decimal digits; whatever follows is ignored. Nothing without a digit. A value beyond long
// long's range saturates (callers check their own range). `used`, when given, receives the
// number of characters read.
std::optional<long long> scanInteger(std::string_view text, std::size_t* used = nullptr);

// Blank- or tab-separated numbers; nullopt when any token is not a number.
std::optional<std::vector<double>> parseNumberList(std::string_view text);

}  // namespace aeroquin::host
