// The module side of the host interface: the module base classes, registration, InitLib and
// Date2Int.
#include <string>

#include "host/DateText.h"
#include "host/HostContext.h"
#include "module/HostApi.h"

using aeroquin::host::HostContext;

oapi::ModuleNV::ModuleNV(HINSTANCE hDLL) : hModule(hDLL) {}

oapi::ModuleNV::~ModuleNV() = default;

HINSTANCE oapi::ModuleNV::GetModule() const {
    return hModule;
}

oapi::Module::Module(HINSTANCE hDLL) : ModuleNV(hDLL) {}

oapi::Module::~Module() = default;

// The default callbacks do nothing.
void oapi::Module::clbkSimulationStart(RenderMode /*mode*/) {}
void oapi::Module::clbkSimulationEnd() {}
void oapi::Module::clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkPostStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkTimeJump(double /*simt*/, double /*simdt*/, double /*mjd*/) {}
void oapi::Module::clbkFocusChanged(OBJHANDLE /*new_focus*/, OBJHANDLE /*old_focus*/) {}
void oapi::Module::clbkTimeAccChanged(double /*new_warp*/, double /*old_warp*/) {}
void oapi::Module::clbkNewVessel(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkDeleteVessel(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkVesselJump(OBJHANDLE /*hVessel*/) {}
void oapi::Module::clbkPause(bool /*pause*/) {}

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
