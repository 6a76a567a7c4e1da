// The module date text that Date2Int reads.
#pragma once

#include <optional>
#include <string_view>

namespace aeroquin::host {

// "Mmm dd yyyy" (the compiler's __DATE__ form; blanks between the fields may repeat) ->
// (yyyy mod 100) * 10000 + month * 100 + day. Nothing when the text is not such a date.
std::optional<int> date2Int(std::string_view text);

}  // namespace aeroquin::host
