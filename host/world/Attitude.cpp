#include "host/world/Attitude.h"

#include <cmath>

namespace aeroquin::host {

Mat3 attitudeMatrix(const Vec3& angles) {
    return rotationZ(angles.z) * rotationY(angles.y) * rotationX(angles.x);
}

Vec3 attitudeAngles(const Mat3& vesselToGlobal) {
    // r = Rz(c) Ry(b) Rx(a): r20 = -sin b, r21 = cos b sin a, r22 = cos b cos a,
    // r10 = sin c cos b, r00 = cos c cos b.
    const auto& m = vesselToGlobal.m;
    const double cosB = std::hypot(m[2][1], m[2][2]);
    const double b = std::atan2(-m[2][0], cosB);
    if (cosB < 1e-12) {
        // Gimbal lock: only c - a (or c + a) is determined; take a = 0.
        return {0.0, b, std::atan2(-m[0][1], m[1][1])};
    }
    return {std::atan2(m[2][1], m[2][2]), b, std::atan2(m[1][0], m[0][0])};
}

Mat3 rotationAbout(const Vec3& axisAngle) {
    const double angle = length(axisAngle);
    if (angle == 0.0) {
        return Mat3::identity();
    }
    const Vec3 k = axisAngle / angle;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t = 1.0 - c;
    // Rodrigues: I + s K + t K^2, K the cross-product matrix of k.
    Mat3 r;
    r.m = {{{c + t * k.x * k.x, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y},
            {t * k.x * k.y + s * k.z, c + t * k.y * k.y, t * k.y * k.z - s * k.x},
            {t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, c + t * k.z * k.z}}};
    return r;
}

}  // namespace aeroquin::host
