// Three-component vectors of the simulated world.
#pragma once

#include <cmath>

namespace aeroquin::host {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend constexpr Vec3 operator+(const Vec3& a, const Vec3& b) {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend constexpr Vec3 operator-(const Vec3& a, const Vec3& b) {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend constexpr Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
    friend constexpr Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
    friend constexpr Vec3 operator*(const Vec3& a, double s) { return s * a; }
    friend constexpr Vec3 operator/(const Vec3& a, double s) { return {a.x / s, a.y / s, a.z / s}; }
    Vec3& operator+=(const Vec3& b) { return *this = *this + b; }
    friend constexpr bool operator==(const Vec3&, const Vec3&) = default;
};

constexpr double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The usual component formula. The frames of the world are left-handed, like the simulator's,
// so geometrically this follows the left-hand rule.
constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double length(const Vec3& a) {
    return std::sqrt(dot(a, a));
}

// The zero vector stays zero.
inline Vec3 normalised(const Vec3& a) {
    const double n = length(a);
    return n > 0.0 ? a / n : Vec3{};
}

}  // namespace aeroquin::host
