// The module's only way into the host's log.
#pragma once

#include <string>

namespace aeroquin {

// One call, one log line: the text as it is, no prefix, no time.
void writeLog(const std::string& text);

}  // namespace aeroquin
