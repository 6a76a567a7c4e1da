// 3x3 matrices: rotations between the frames of the world.
#pragma once

#include <array>
#include <cmath>

#include "host/world/Vec3.h"

namespace aeroquin::host {

// Row-major; m[row][column]. A rotation from frame A to frame B has A's axes, expressed in B,
// as its columns.
struct Mat3 {
    std::array<std::array<double, 3>, 3> m{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};

    static constexpr Mat3 identity() { return {}; }
    static constexpr Mat3 fromColumns(const Vec3& c0, const Vec3& c1, const Vec3& c2) {
        Mat3 r;
        r.m = {{{c0.x, c1.x, c2.x}, {c0.y, c1.y, c2.y}, {c0.z, c1.z, c2.z}}};
        return r;
    }
    [[nodiscard]] constexpr Vec3 column(int c) const { return {m[0][c], m[1][c], m[2][c]}; }

    [[nodiscard]] constexpr Mat3 transposed() const {
        Mat3 r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                r.m[i][j] = m[j][i];
            }
        }
        return r;
    }

    friend constexpr Vec3 operator*(const Mat3& a, const Vec3& v) {
        return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
                a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
                a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
    }

    // The transpose times v, the inverse rotation, without forming the transpose.
    [[nodiscard]] constexpr Vec3 transposeTimes(const Vec3& v) const {
        return {m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z,
                m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z,
                m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z};
    }

    friend constexpr Mat3 operator*(const Mat3& a, const Mat3& b) {
        Mat3 r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
            }
        }
        return r;
    }
};

// Elementary rotations by `angle` rad; a positive angle turns y towards z (about x), z towards
// x (about y) and x towards y (about z).
inline Mat3 rotationX(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    Mat3 r;
    r.m = {{{1.0, 0.0, 0.0}, {0.0, c, -s}, {0.0, s, c}}};
    return r;
}

inline Mat3 rotationY(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    Mat3 r;
    r.m = {{{c, 0.0, s}, {0.0, 1.0, 0.0}, {-s, 0.0, c}}};
    return r;
}

inline Mat3 rotationZ(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    Mat3 r;
    r.m = {{{c, -s, 0.0}, {s, c, 0.0}, {0.0, 0.0, 1.0}}};
    return r;
}

}  // namespace aeroquin::host
