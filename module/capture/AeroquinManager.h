// Runs one capture, from simulation start to simulation end.
#pragma once

#include <cstdint>
#include <string>

#include "module/config/Configuration.h"
#include "module/output/FeedbackDisplayer.h"
#include "module/output/Reporter.h"
#include "module/sweep/Sweeper.h"
#include "module/vessel/RowText.h"
#include "module/vessel/VesselManager.h"

namespace aeroquin {

// Owns every part of the capture by value; the parts meet only through arguments of single
// calls. The only place where failures become text for the user: no std::exception from
// initialisation leaves the constructor.
class AeroquinManager {
  public:
    // `startArgument`: the simulation-start callback's render mode, passed on to the display.
    explicit AeroquinManager(std::int32_t startArgument);
    AeroquinManager(const AeroquinManager&) = delete;
    AeroquinManager& operator=(const AeroquinManager&) = delete;
    AeroquinManager(AeroquinManager&&) = delete;
    AeroquinManager& operator=(AeroquinManager&&) = delete;
    virtual ~AeroquinManager();

    // The step callbacks' time values are not used: one test point takes one frame.
    void preStep(double simt, double simdt, double mjd);
    void postStep(double simt, double simdt, double mjd);

  private:
    void initialise();

    bool active_ = false;
    std::string status_;
    FeedbackDisplayer feedback_;
    Configuration configuration_;
    Sweeper sweeper_;
    VesselManager vesselManager_;
    RowText rowText_;
    Reporter reporter_;
};

}  // namespace aeroquin
