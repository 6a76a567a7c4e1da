#include "module/WriteLog.h"

#include "module/HostApi.h"

namespace aeroquin {

void writeLog(const std::string& text) {
    // The host takes a mutable buffer; hand it a private copy.
    std::string line = text;
    oapiWriteLog(line.data());
}

}  // namespace aeroquin
