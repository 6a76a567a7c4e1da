// Coefficient functions for the end-to-end tests, with the simulator's callback signature.
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

class VESSEL;

#define TEST_AIRFOILS_EXPORT extern "C" __attribute__((visibility("default")))

// Smooth over the whole circle and independent of the Reynolds number, so that a table sampled
// from it reproduces it up to interpolation error.
TEST_AIRFOILS_EXPORT void SmoothWing(VESSEL* /*vessel*/, double aoa, double mach, double /*re*/,
                                     void* /*context*/, double* cl, double* cm, double* cd) {
    *cl = 1.2 * std::sin(2.0 * aoa) * (1.0 + 0.2 * mach);
    *cm = -0.1 * std::sin(aoa);
    *cd = 0.03 + 1.1 * std::sin(aoa) * std::sin(aoa) + 0.02 * mach * mach;
}

// SmoothWing for an airfoil named Wing, as long as the host hands over a vessel and the airfoil's
// name as the context; a value that is not a number otherwise.
TEST_AIRFOILS_EXPORT void CheckedWing(VESSEL* vessel, double aoa, double mach, double re,
                                      void* context, double* cl, double* cm, double* cd) {
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
    if (vessel == nullptr || context == nullptr ||
        std::strcmp(static_cast<const char*>(context), "Wing") != 0) {
        *cl = std::numeric_limits<double>::quiet_NaN();
    }
}

// Breaks down between 30 and 90 degrees.
TEST_AIRFOILS_EXPORT void NanPastThirty(VESSEL* vessel, double aoa, double mach, double re,
                                        void* context, double* cl, double* cm, double* cd) {
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
    if (aoa > 30.5 * std::numbers::pi / 180.0 && aoa < 0.5 * std::numbers::pi) {
        *cd = std::numeric_limits<double>::quiet_NaN();
    }
}
