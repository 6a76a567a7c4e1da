// The module base classes of the host interface. They need nothing of a run, so any host (the
// headless one, or a benchmark's in-process one) defines them with this file.
#include "module/simulator/HostApi.h"

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
