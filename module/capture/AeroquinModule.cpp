#include "module/capture/AeroquinModule.h"

namespace aeroquin {

AeroquinModule::AeroquinModule(HINSTANCE instance) : oapi::Module(instance) {}

// As at simulation end: a manager still running goes first, then the base.
AeroquinModule::~AeroquinModule() {
    manager_.reset();
}

void AeroquinModule::clbkSimulationStart(RenderMode mode) {
    // The host ends one simulation before it starts the next.
    manager_ = std::make_unique<AeroquinManager>(static_cast<std::int32_t>(mode));
}

void AeroquinModule::clbkSimulationEnd() {
    manager_.reset();
}

// A host calls the step callbacks only between simulation start and end; one that does not
// finds nothing to drive rather than a null manager.
void AeroquinModule::clbkPreStep(double simt, double simdt, double mjd) {
    if (manager_) {
        manager_->preStep(simt, simdt, mjd);
    }
}

void AeroquinModule::clbkPostStep(double simt, double simdt, double mjd) {
    if (manager_) {
        manager_->postStep(simt, simdt, mjd);
    }
}

// Before the deletion: the simulator may hand the freed handle to the next vessel it creates.
void AeroquinModule::clbkDeleteVessel(OBJHANDLE hVessel) {
    if (manager_) {
        manager_->vesselDeleted(hVessel);
    }
}

}  // namespace aeroquin
