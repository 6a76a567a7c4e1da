// The simulator's VECTOR3 and the world's Vec3: the same three doubles.
#pragma once

#include "host/world/Vec3.h"
#include "module/simulator/HostApi.h"

namespace aeroquin::host {

inline Vec3 fromHost(const VECTOR3& v) {
    return {v.x, v.y, v.z};
}

inline VECTOR3 toHost(const Vec3& v) {
    VECTOR3 r{};
    r.x = v.x;
    r.y = v.y;
    r.z = v.z;
    return r;
}

}  // namespace aeroquin::host
