// Typed reads of single items from an open host item file. Each throws ConfigurationError
// with the item's key when the item is missing or malformed; none closes the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module/HostApi.h"

namespace aeroquin {

// Inclusive, signed bounds; `out` is changed only on success.
void readBoundedInt(FILEHANDLE file, const std::string& key, std::int32_t& out, std::int32_t min,
                    std::int32_t max);

// Whitespace-separated numbers; an empty text gives an empty list.
void readRealList(FILEHANDLE file, const std::string& key, std::vector<double>& list);

// Whitespace-separated unsigned counts; "-1" reads as 4294967295, as standard extraction does.
void readCountList(FILEHANDLE file, const std::string& key, std::vector<std::uint32_t>& list);

}  // namespace aeroquin
