// Names in host files that stand for one file in a known folder.
#pragma once

#include <string_view>

namespace aeroquin::host {

// No folder part and no "." or "..": the file cannot lie outside the folder it is looked up in.
[[nodiscard]] inline bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

// Plain names joined by '/' ("Sub/TestWing"): a file in a sub-folder of the known folder, never
// outside it. No empty segment, so no leading or trailing '/'.
[[nodiscard]] inline bool isPlainPath(std::string_view path) {
    for (;;) {
        const std::size_t slash = path.find('/');
        if (!isPlainName(path.substr(0, slash))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        path.remove_prefix(slash + 1);
    }
}

}  // namespace aeroquin::host
