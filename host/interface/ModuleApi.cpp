// The module side of the host interface: registration, InitLib and Date2Int (the base classes
// are in ModuleBase.cpp).
#include <string>

#include "host/interface/HostCall.h"
#include "host/support/DateText.h"
#include "module/simulator/HostApi.h"

using aeroquin::host::hostCall;
using aeroquin::host::HostContext;

void oapiRegisterModule(oapi::Module* module) {
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        // No run to own it.
        delete module;
        return;
    }
    if (host->trace().on()) {
        host->trace().line("oapiRegisterModule", static_cast<void*>(module));
    }
    host->registerModule(module);
}

void InitLib(HINSTANCE hModule) {
    hostCall(
        "InitLib",
        [](HostContext& host) { host.log().host("InitLib: the module's library is attached"); },
        hModule);
}

int Date2Int(char* date) {
    HostContext* host = HostContext::active();
    const auto date2Int =
        date == nullptr ? aeroquin::host::DateValue{0, "no text"} : aeroquin::host::date2Int(date);
    if (host != nullptr) {
        if (host->trace().on()) {
            host->trace().line("Date2Int", date, aeroquin::host::TraceResult{}, date2Int.value);
        }
        if (!date2Int.problem.empty()) {
            host->log().host(std::string("Date2Int: \"") + (date == nullptr ? "(null)" : date) +
                             "\" has " + date2Int.problem +
                             "; the simulator's answer is undefined there, the host takes 0 for "
                             "what is missing and answers " +
                             std::to_string(date2Int.value));
        }
    }
    return date2Int.value;
}
