#include "module/simulator/WriteLog.h"

#include "module/simulator/HostApi.h"

namespace aeroquin {

void writeLog(const std::string& text) {
    // The simulator uses the text as a printf format: every '%' goes over doubled, so that
    // user text (names, paths, values) comes out as written. The copy is also the mutable
    // buffer that the host takes.
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        line += c;
        if (c == '%') {
            line += '%';
        }
    }
    oapiWriteLog(line.data());
}

}  // namespace aeroquin
