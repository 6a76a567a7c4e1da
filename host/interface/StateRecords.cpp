#include "host/interface/StateRecords.h"

#include <algorithm>
#include <iterator>

#include "host/interface/SimulatorVectors.h"
#include "host/world/Attitude.h"

namespace aeroquin::host {

void readStatus(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS& status) {
    const VesselState& now = vessel.state();
    status.rpos = toSimulator(now.position);
    status.rvel = toSimulator(now.velocity);
    status.vrot = toSimulator(now.angularVelocity);
    status.arot = toSimulator(now.attitudeAnglesRad);
    status.fuel = kept.fuel;
    status.eng_main = kept.engMain;
    status.eng_hovr = kept.engHovr;
    status.rbody = bodyHandle(now.body);
    status.base = kept.base;
    status.port = kept.port;
    status.status = vessel.landed() ? 1 : 0;
    std::copy(kept.vdata.begin(), kept.vdata.end(), std::begin(status.vdata));
    std::copy(kept.fdata.begin(), kept.fdata.end(), std::begin(status.fdata));
    std::copy(kept.flag.begin(), kept.flag.end(), std::begin(status.flag));
}

void applyStatus(Vessel& vessel, UnmodelledState& kept, const VESSELSTATUS& status) {
    kept.fuel = status.fuel;
    kept.engMain = status.eng_main;
    kept.engHovr = status.eng_hovr;
    kept.base = status.base;
    kept.port = status.port;
    std::copy(std::begin(status.vdata), std::end(status.vdata), kept.vdata.begin());
    std::copy(std::begin(status.fdata), std::end(status.fdata), kept.fdata.begin());
    std::copy(std::begin(status.flag), std::end(status.flag), kept.flag.begin());
    vessel.setFree(fromSimulator(status.rpos), fromSimulator(status.rvel),
                   fromSimulator(status.arot), fromSimulator(status.vrot));
    if (status.status == 1) {
        vessel.land();
    }
}

bool readStatusEx(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS2& status) {
    if (status.version != 2) {
        return false;
    }
    const VesselState& now = vessel.state();
    const VesselFrames frames = vessel.frames();
    status.flag = kept.flagEx;
    status.rbody = bodyHandle(now.body);
    status.base = kept.base;
    status.port = kept.port;
    status.status = vessel.landed() ? 1 : 0;
    status.rpos = toSimulator(now.position);
    status.rvel = toSimulator(now.velocity);
    if (vessel.landed()) {
        status.vrot = VECTOR3{{altitudeM(now), 0.0, 0.0}};
        status.arot =
            toSimulator(attitudeAngles(frames.bodyRotation().transposed() * now.attitude));
    } else {
        status.vrot = toSimulator(now.angularVelocity);
        status.arot = toSimulator(now.attitudeAnglesRad);
    }
    double radius = 0.0;
    frames.equPos(status.surf_lng, status.surf_lat, radius);
    status.surf_hdg = frames.headingRad();
    status.xpdr = kept.xpdr;
    return true;
}

bool applyStatusEx(Vessel& vessel, UnmodelledState& kept, const VESSELSTATUS2& status) {
    if (status.version != 2) {
        return false;
    }
    kept.flagEx = status.flag;
    kept.base = status.base;
    kept.port = status.port;
    kept.xpdr = status.xpdr;
    if (status.status == 1) {
        const Mat3 attitude =
            vessel.frames().bodyRotation() * attitudeMatrix(fromSimulator(status.arot));
        vessel.setFree(fromSimulator(status.rpos), fromSimulator(status.rvel),
                       attitudeAngles(attitude), {});
        vessel.land();
    } else {
        vessel.setFree(fromSimulator(status.rpos), fromSimulator(status.rvel),
                       fromSimulator(status.arot), fromSimulator(status.vrot));
    }
    return true;
}

}  // namespace aeroquin::host
