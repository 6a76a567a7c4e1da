#include "host/interface/StateRecords.h"

#include <algorithm>
#include <iterator>

#include "host/interface/HostVectors.h"
#include "host/world/Attitude.h"

namespace aeroquin::host {

void readStatus(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS& status) {
    status.rpos = toHost(vessel.position());
    status.rvel = toHost(vessel.velocity());
    status.vrot = toHost(vessel.angularVelocity());
    status.arot = toHost(vessel.attitudeAngles());
    status.fuel = kept.fuel;
    status.eng_main = kept.engMain;
    status.eng_hovr = kept.engHovr;
    status.rbody = bodyHandle(vessel.referenceBody());
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
    vessel.setFree(fromHost(status.rpos), fromHost(status.rvel), fromHost(status.arot),
                   fromHost(status.vrot));
    if (status.status == 1) {
        vessel.land();
    }
}

bool readStatusEx(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS2& status) {
    if (status.version != 2) {
        return false;
    }
    status.flag = kept.flagEx;
    status.rbody = bodyHandle(vessel.referenceBody());
    status.base = kept.base;
    status.port = kept.port;
    status.status = vessel.landed() ? 1 : 0;
    status.rpos = toHost(vessel.position());
    status.rvel = toHost(vessel.velocity());
    if (vessel.landed()) {
        status.vrot = VECTOR3{{vessel.altitude(), 0.0, 0.0}};
        status.arot =
            toHost(attitudeAngles(vessel.bodyRotation().transposed() * vessel.attitude()));
    } else {
        status.vrot = toHost(vessel.angularVelocity());
        status.arot = toHost(vessel.attitudeAngles());
    }
    double radius = 0.0;
    vessel.equPos(status.surf_lng, status.surf_lat, radius);
    status.surf_hdg = vessel.heading();
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
        const Mat3 attitude = vessel.bodyRotation() * attitudeMatrix(fromHost(status.arot));
        vessel.setFree(fromHost(status.rpos), fromHost(status.rvel), attitudeAngles(attitude), {});
        vessel.land();
    } else {
        vessel.setFree(fromHost(status.rpos), fromHost(status.rvel), fromHost(status.arot),
                       fromHost(status.vrot));
    }
    return true;
}

}  // namespace aeroquin::host
