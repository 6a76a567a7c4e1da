// Runs one capture, from simulation start to simulation end.
#pragma once

#include <cstdint>
#include <string>

#include "module/config/Configuration.h"
#include "module/output/FeedbackDisplayer.h"
#include "module/output/ReportColumns.h"
#include "module/output/Reporter.h"
#include "module/output/RowText.h"
#include "module/sweep/Sweeper.h"
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
    // The simulator deletes `vessel` at the end of this frame; its handle may then be given to a
    // vessel created later.
    void vesselDeleted(OBJHANDLE vessel);

  private:
    void initialise();
    // After the last point: closes and checks the report; the status says how the capture ended.
    void complete();
    // The vessel has left the simulation or hangs on another: the report keeps its rows, the
    // capture ends. `why` completes "vessel <name> ".
    void stop(const std::string& why);
    [[nodiscard]] std::uint64_t totalPoints() const;

    bool active_ = false;
    bool pointApplied_ = false;  // this frame's pre-step set the current point's condition
    std::uint64_t pointsMeasured_ = 0;
    std::uint64_t pointsFailed_ = 0;    // not applied: no row
    std::uint64_t pointsOffLevel_ = 0;  // measured at another control level than commanded
    std::uint64_t pointsMoved_ = 0;     // measured with another surface or thruster moved
    std::string status_;
    FeedbackDisplayer feedback_;
    Configuration configuration_;
    ReportColumns columns_;
    Sweeper sweeper_;
    VesselManager vesselManager_;
    RowText rowText_;
    Reporter reporter_;
};

}  // namespace aeroquin
