// Coefficient functions of a sailplane's wing, horizontal tail and fin, as an add-on would write
// them for the simulator: each has the signature of the simulator's airfoil callback
// (AirfoilCoeffFuncEx) and C linkage, so that a vessel class can name it.
//
// Textbook aerodynamics, over the full circle of angles (-pi..pi):
// - attached flow: lift slope a = 2 pi / (1 + 2 / A) per rad, scaled by Prandtl-Glauert
//   1 / sqrt(1 - M^2) up to Mach 0.8, by Ackeret's 4 / sqrt(M^2 - 1) (relative to 2 pi) from
//   Mach 1.2, blended linearly between; drag cd0 (turbulent skin friction of the chord's Reynolds
//   number) + cl^2 / (pi A e);
// - stall: past the stall angle the flow blends smoothly into a flat plate, cl = sin 2a and
//   cd = 2 sin^2 a;
// - a transonic drag rise 20 (M - Mcrit)^4 from Mcrit = 0.75 (Lock's fourth-power law) up to
//   Mach 1, falling as 1 / M^2 beyond.
#include "GliderAero.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

struct Surface {
    double aspectRatio;
    double oswald;       // span efficiency e
    double zeroLiftRad;  // angle of zero lift
    double stallRad;     // stall angle, from zero lift
    double cm0;          // moment coefficient in attached flow
};

constexpr Surface wing{18.0, 0.85, -2.0 * pi / 180.0, 14.0 * pi / 180.0, -0.05};
constexpr Surface tail{5.0, 0.8, 0.0, 15.0 * pi / 180.0, 0.0};
constexpr Surface fin{1.5, 0.7, 0.0, 25.0 * pi / 180.0, 0.0};

constexpr double criticalMach = 0.75;

// Lift slope per rad at Mach `mach`.
double liftSlope(const Surface& s, double mach) {
    const double incompressible = 2.0 * pi / (1.0 + 2.0 / s.aspectRatio);
    const auto subsonic = [&](double m) { return incompressible / std::sqrt(1.0 - m * m); };
    const auto supersonic = [&](double m) {
        return std::min(incompressible,
                        incompressible * (4.0 / std::sqrt(m * m - 1.0)) / (2.0 * pi));
    };
    if (mach <= 0.8) {
        return subsonic(mach);
    }
    if (mach >= 1.2) {
        return supersonic(mach);
    }
    const double f = (mach - 0.8) / 0.4;
    return (1.0 - f) * subsonic(0.8) + f * supersonic(1.2);
}

double waveDrag(double mach) {
    if (mach <= criticalMach) {
        return 0.0;
    }
    const double atSonic = 20.0 * std::pow(1.0 - criticalMach, 4.0);
    return mach <= 1.0 ? 20.0 * std::pow(mach - criticalMach, 4.0) : atSonic / (mach * mach);
}

// Turbulent flat-plate skin friction of both sides, with a form factor.
double profileDrag(double reynolds) {
    return 2.0 * 1.2 * 0.074 / std::pow(std::max(reynolds, 1.0e5), 0.2);
}

void coefficients(const Surface& s, double aoa, double mach, double reynolds, double* cl,
                  double* cm, double* cd) {
    const double effective = aoa - s.zeroLiftRad;  // rad from zero lift
    const double attachedCl = liftSlope(s, mach) * std::sin(effective);
    // 0 in attached flow, 1 when fully stalled; the change takes about two degrees.
    const double stalled = 1.0 / (1.0 + std::exp(-(std::abs(effective) - s.stallRad) / 0.02));
    const double plateCl = std::sin(2.0 * aoa);
    *cl = (1.0 - stalled) * attachedCl + stalled * plateCl;
    *cd = profileDrag(reynolds) + waveDrag(mach) +
          (1.0 - stalled) * attachedCl * attachedCl / (pi * s.aspectRatio * s.oswald) +
          stalled * 2.0 * std::sin(aoa) * std::sin(aoa);
    *cm = (1.0 - stalled) * s.cm0 - stalled * 0.5 * std::sin(aoa);
}

}  // namespace

void GliderWing(VESSEL* /*vessel*/, double aoa, double mach, double reynolds, void* /*context*/,
                double* cl, double* cm, double* cd) {
    coefficients(wing, aoa, mach, reynolds, cl, cm, cd);
}

void GliderTail(VESSEL* /*vessel*/, double aoa, double mach, double reynolds, void* /*context*/,
                double* cl, double* cm, double* cd) {
    coefficients(tail, aoa, mach, reynolds, cl, cm, cd);
}

void GliderFin(VESSEL* /*vessel*/, double sideslip, double mach, double reynolds, void* /*context*/,
               double* cl, double* cm, double* cd) {
    coefficients(fin, sideslip, mach, reynolds, cl, cm, cd);
}
