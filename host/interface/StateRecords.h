// The simulator's vessel state records (VESSELSTATUS and VESSELSTATUS2) read from and applied to
// a vessel of the world.
//
// rpos and rvel are relative to the reference body in the global frame, arot in the convention
// of host/world/Attitude.h, status 0 free and 1 landed; rbody is always the reference body.
// Applying takes effect at once. The fields the world does not model are kept per vessel as
// last set and given back.
#pragma once

#include <array>

#include "host/world/Vessel.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

// A body's handle as the module sees it: its address. Nothing writes through it.
inline OBJHANDLE bodyHandle(const Body* body) {
    return const_cast<Body*>(body);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

// What the records carry that the world does not model.
struct UnmodelledState {
    double fuel = 0.0;
    double engMain = 0.0;
    double engHovr = 0.0;
    OBJHANDLE base = nullptr;
    int port = 0;
    std::array<VECTOR3, 10> vdata{};
    std::array<double, 10> fdata{};
    std::array<DWORD, 10> flag{};
    DWORD flagEx = 0;  // VESSELSTATUS2::flag
    DWORD xpdr = 0;
};

// The first-generation record: vrot is the angular velocity and arot the attitude against the
// global frame, landed or not. Status 1 lands the vessel where rpos points.
void readStatus(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS& status);
void applyStatus(Vessel& vessel, UnmodelledState& kept, const VESSELSTATUS& status);

// The extended record, version 2 only: otherwise false and nothing read or applied.
// surf_lng/surf_lat are where the vessel is, surf_hdg the heading of its nose. As in the
// simulator, a landed vessel gives the height of its centre of gravity above the mean radius in
// vrot.x and its attitude against the body-fixed frame in arot; a record with status 1 is
// applied the same way (vrot ignored), one with status 0 takes vrot as the angular velocity and
// arot against the global frame. surf_* are not read. The fuel, thruster and dock lists belong
// to the caller: never read or written.
bool readStatusEx(const Vessel& vessel, const UnmodelledState& kept, VESSELSTATUS2& status);
bool applyStatusEx(Vessel& vessel, UnmodelledState& kept, const VESSELSTATUS2& status);

}  // namespace aeroquin::host
