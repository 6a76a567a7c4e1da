// The module side of the host interface: registration, InitLib and Date2Int (the base classes
// are in ModuleBase.cpp).
#include <string>

#include "host/DateText.h"
#include "host/HostContext.h"
#include "module/HostApi.h"

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
    HostContext* host = HostContext::active();
    if (host == nullptr) {
        return;
    }
    if (host->trace().on()) {
        host->trace().line("InitLib", hModule);
    }
    host->log().host("InitLib: the module's library is attached");
}

int Date2Int(char* date) {
    HostContext* host = HostContext::active();
    const auto value = date == nullptr ? std::nullopt : aeroquin::host::date2Int(date);
    if (host != nullptr) {
        if (host->trace().on()) {
            host->trace().line("Date2Int", date, aeroquin::host::TraceResult{}, value.value_or(0));
        }
        if (!value) {
            host->log().host(std::string("Date2Int: \"") + (date == nullptr ? "(null)" : date) +
                             "\" is not a date of the form Mmm dd yyyy; answered 0");
        }
    }
    return value.value_or(0);
}
