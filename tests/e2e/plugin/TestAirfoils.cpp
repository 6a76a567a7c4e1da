// Coefficient functions for the end-to-end tests, with the simulator's callback signature.
#include <cmath>
#include <csignal>
#include <cstdlib>
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

// A name a class file may give that is no function at all.
extern "C" __attribute__((visibility("default"))) int NotAFunction[4];
int NotAFunction[4] = {1, 2, 3, 4};

// Throws what is no standard exception, in the check before the first frame already.
TEST_AIRFOILS_EXPORT void ThrowsInteger(VESSEL* /*vessel*/, double /*aoa*/, double /*mach*/,
                                        double /*re*/, void* /*context*/, double* /*cl*/,
                                        double* /*cm*/, double* /*cd*/) {
    throw 42;
}

// Finite, but too large for any force: lift 1e308 q S overflows in flight.
TEST_AIRFOILS_EXPORT void HugeLift(VESSEL* vessel, double aoa, double mach, double re,
                                   void* context, double* cl, double* cm, double* cd) {
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
    *cl = 1e308;
}

namespace {
// In flight at Mach 0.7 only: the check before the first frame asks other Mach numbers.
bool atMachPointSeven(double mach) {
    return std::abs(mach - 0.7) < 1e-6;
}
}  // namespace

TEST_AIRFOILS_EXPORT void HangsAtMachPointSeven(VESSEL* vessel, double aoa, double mach, double re,
                                                void* context, double* cl, double* cm, double* cd) {
    while (atMachPointSeven(mach)) {
        // A volatile read keeps the loop from being optimised away.
        static volatile int spin = 0;
        spin = spin + 1;
    }
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
}

TEST_AIRFOILS_EXPORT void CrashesAtMachPointSeven(VESSEL* vessel, double aoa, double mach,
                                                  double re, void* context, double* cl, double* cm,
                                                  double* cd) {
    if (atMachPointSeven(mach)) {
        std::raise(SIGSEGV);
    }
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
}

TEST_AIRFOILS_EXPORT void ExitsAtMachPointSeven(VESSEL* vessel, double aoa, double mach, double re,
                                                void* context, double* cl, double* cm, double* cd) {
    if (atMachPointSeven(mach)) {
        std::exit(0);
    }
    SmoothWing(vessel, aoa, mach, re, context, cl, cm, cd);
}
