// Names in host files that stand for one file in a known folder.
#pragma once

#include <string_view>

namespace aeroquin::host {

// No folder part and no "." or "..": the file cannot lie outside the folder it is looked up in.
[[nodiscard]] inline bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace aeroquin::host
