// Typed reads of single items from an open host item file. Each throws ConfigurationError
// with the item's key when the item is missing or malformed; none closes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "module/simulator/HostApi.h"

namespace aeroquin {

// The item's value when the file has it; false, with `out` empty, when it has not.
bool readOptionalString(FILEHANDLE file, const std::string& key, std::string& out);
// The whole text as one number, blanks around it allowed; false otherwise.
bool parseWholeInt(const std::string& text, std::int32_t& value);
bool parseWholeReal(const std::string& text, double& value);
// The whole value text as received; `out` is emptied first.
void readString(FILEHANDLE file, const std::string& key, std::string& out);

// Inclusive, signed bounds; `out` is changed only on success.
void readBoundedInt(FILEHANDLE file, const std::string& key, std::int32_t& out, std::int32_t min,
                    std::int32_t max);

// Whitespace-separated numbers; an empty text gives an empty list.
void readRealList(FILEHANDLE file, const std::string& key, std::vector<double>& list);

// Whitespace-separated unsigned counts; "-1" reads as 4294967295, as standard extraction does.
void readCountList(FILEHANDLE file, const std::string& key, std::vector<std::uint32_t>& list);

// The parsing behind the two list readers, on a value text already read. `list` is emptied
// first; false at the first piece of text that does not read as a number, with `list` holding
// the numbers before it.
[[nodiscard]] bool parseRealList(const std::string& text, std::vector<double>& list);
[[nodiscard]] bool parseCountList(const std::string& text, std::vector<std::uint32_t>& list);

}  // namespace aeroquin
