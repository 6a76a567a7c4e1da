// The host interface's log.
#include "host/interface/HostCall.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::hostCall;
using aeroquin::host::HostContext;

void oapiWriteLog(char* line) {
    hostCall(
        "oapiWriteLog",
        [&](HostContext& host) {
            if (line == nullptr) {
                host.log().host("oapiWriteLog: null text ignored");
                return;
            }
            host.log().moduleLine(line);
        },
        line);
}
