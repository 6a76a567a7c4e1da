// The module object that the host registers and calls back.
#pragma once

#include <memory>

#include "module/capture/AeroquinManager.h"
#include "module/simulator/HostApi.h"

namespace aeroquin {

// Owned by the host once registered. Owns at most one AeroquinManager, from simulation start
// to simulation end.
class AeroquinModule : public oapi::Module {
  public:
    explicit AeroquinModule(HINSTANCE instance);
    AeroquinModule(const AeroquinModule&) = delete;
    AeroquinModule& operator=(const AeroquinModule&) = delete;
    AeroquinModule(AeroquinModule&&) = delete;
    AeroquinModule& operator=(AeroquinModule&&) = delete;
    ~AeroquinModule() override;

    void clbkSimulationStart(RenderMode mode) override;
    void clbkSimulationEnd() override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    void clbkDeleteVessel(OBJHANDLE hVessel) override;

  private:
    std::unique_ptr<AeroquinManager> manager_;
};

}  // namespace aeroquin
