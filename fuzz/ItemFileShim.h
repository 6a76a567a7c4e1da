// The module's four item-file functions (oapiOpenFile, oapiReadItem_string, oapiReadItem_int,
// oapiCloseFile) for fuzzing, on the host's own item-file parser (host/sim/ItemFile) and with
// the host's rules: paths are relative to a path root with backslashes as separators, a value
// of 1000 characters or more does not fit the caller's buffer and answers false, and an integer
// is a whole decimal number (one optional sign) within int's range.
//
// Only reading is served: any other access mode answers null. A handle that is not open, or a
// close with the wrong mode, is a fault of the module and aborts the process, so that the
// fuzzer reports it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace aeroquin::fuzz {

// The caller's buffer of oapiReadItem_string, terminating NUL included.
inline constexpr std::size_t kItemBufferSize = 1000;

// The folder that path root 0 designates; 1 is its Config and 2 its Scenarios subfolder.
void setItemFileRoot(const std::filesystem::path& root);

// Files opened and not closed yet.
[[nodiscard]] std::size_t openItemFiles();

// The integer that oapiReadItem_int gives for a value text; nullopt where it answers false.
[[nodiscard]] std::optional<int> parseItemInt(std::string_view text);

}  // namespace aeroquin::fuzz
