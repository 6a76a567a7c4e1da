// A plug-in with an exit entry point that deletes its own module object, as libraries written
// for the simulator do; it completes in the first frame.
#include <string>

#include "module/contract/StatusTexts.h"
#include "module/simulator/HostApi.h"

namespace {

void log(const char* text) {
    std::string line = text;
    oapiWriteLog(line.data());
}

class SelfDeletingModule : public oapi::Module {
  public:
    using oapi::Module::Module;
    SelfDeletingModule(const SelfDeletingModule&) = delete;
    SelfDeletingModule& operator=(const SelfDeletingModule&) = delete;
    ~SelfDeletingModule() override { log("exitplugin: module destroyed"); }

    void clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        log(std::string(aeroquin::contract::kCompletedStatus).c_str());
    }
};

oapi::Module* registered = nullptr;

}  // namespace

DLLCLBK void InitModule(HINSTANCE instance) {
    registered = new SelfDeletingModule(instance);
    oapiRegisterModule(registered);
}

DLLCLBK void ExitModule(HINSTANCE /*instance*/) {
    log("exitplugin: ExitModule");
    delete registered;
    registered = nullptr;
}
