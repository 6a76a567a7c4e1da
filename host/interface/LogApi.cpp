// The host interface's log.
#include "host/interface/HostContext.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::HostContext;

void oapiWriteLog(char* line) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiWriteLog", line);
    }
    if (line == nullptr) {
        host->log().host("oapiWriteLog: null text ignored");
        return;
    }
    host->log().moduleLine(line);
}
