// The module's only way into the host's log.
#pragma once

#include <string>

namespace aeroquin {

// One call, one log line: the text as it is, no prefix, no time.
void writeLog(const std::string& text);
// The same, building the host's copy in `buffer`, whose capacity a frequent caller keeps.
void writeLog(const std::string& text, std::string& buffer);

}  // namespace aeroquin
