// The module's only way into the host's log.
#pragma once

#include <string>

namespace aeroquin {

// One call, one log line: the text as it is, no prefix, no time.
void writeLog(const std::string& text);
// The same for a frequent caller: `text` itself goes to the host when it holds no '%' (the host
// takes a mutable text but only reads it); otherwise the host's copy is built in `buffer`, whose
// capacity the caller keeps.
void writeLog(std::string& text, std::string& buffer);

}  // namespace aeroquin
