#include "module/simulator/WriteLog.h"

#include "module/simulator/HostApi.h"

namespace aeroquin {

void writeLog(const std::string& text) {
    std::string buffer;
    writeLog(text, buffer);
}

void writeLog(const std::string& text, std::string& buffer) {
    // The simulator uses the text as a printf format: every '%' goes over doubled, so that
    // user text (names, paths, values) comes out as written. The copy is also the mutable
    // buffer that the host takes.
    buffer.clear();
    std::size_t from = 0;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', from)) {
        buffer.append(text, from, at + 1 - from).push_back('%');
        from = at + 1;
    }
    buffer.append(text, from);
    oapiWriteLog(buffer.data());
}

}  // namespace aeroquin
