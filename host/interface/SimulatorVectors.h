// The simulator's VECTOR3 and the world's Vec3, the same three doubles: from and to the
// simulator's interface.
#pragma once

#include "host/world/Vec3.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

inline Vec3 fromSimulator(const VECTOR3& v) {
    return {v.x, v.y, v.z};
}

inline VECTOR3 toSimulator(const Vec3& v) {
    VECTOR3 r{};
    r.x = v.x;
    r.y = v.y;
    r.z = v.z;
    return r;
}

}  // namespace aeroquin::host
