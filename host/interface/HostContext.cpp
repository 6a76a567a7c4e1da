#include "host/interface/HostContext.h"

namespace aeroquin::host {

HostContext::Activation::Activation(HostContext* context) {
    active_ = context;
}

HostContext::Activation::~Activation() {
    active_ = nullptr;
}

HostContext::HostContext(const HostSettings& settings)
    : activation_(this),
      log_(settings.root / "host.log"),
      trace_(settings.trace ? Trace(*settings.trace) : Trace()),
      clock_(settings.utc),
      files_(settings.root, log_, settings.failWritesAfter),
      annotations_(log_, settings.screen) {}

// The module's objects go before their library (the members' order), both while the context is
// still active: they may call the host as they go.
HostContext::~HostContext() {
    trace_.flush();
}

void HostContext::setWorld(World world) {
    objects_ = ObjectTable();
    world_.emplace(std::move(world));
    objects_ = ObjectTable(*world_);
}

void HostContext::registerModule(oapi::Module* module) {
    if (module == nullptr) {
        log_.host("oapiRegisterModule: null module ignored");
        return;
    }
    modules_.emplace_back(module);
}

void HostContext::setFrame(std::uint64_t frame) {
    frame_ = frame;
}

}  // namespace aeroquin::host
