#include "module/simulator/WriteLog.h"

#include "module/simulator/HostApi.h"

namespace aeroquin {

namespace {

// The simulator uses the text as a printf format: every '%' goes over doubled, so that user
// text (names, paths, values) comes out as written.
void writeDoubled(const std::string& text, std::size_t firstPercent, std::string& buffer) {
    buffer.clear();
    std::size_t from = 0;
    for (std::size_t at = firstPercent; at != std::string::npos; at = text.find('%', from)) {
        buffer.append(text, from, at + 1 - from).push_back('%');
        from = at + 1;
    }
    buffer.append(text, from);
    oapiWriteLog(buffer.data());
}

}  // namespace

void writeLog(const std::string& text) {
    std::string buffer;  // also the mutable text that the host takes
    writeDoubled(text, text.find('%'), buffer);
}

void writeLog(std::string& text, std::string& buffer) {
    const std::size_t percent = text.find('%');
    if (percent == std::string::npos) {
        oapiWriteLog(text.data());
        return;
    }
    writeDoubled(text, percent, buffer);
}

}  // namespace aeroquin
