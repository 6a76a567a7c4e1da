// The sailplane's coefficient functions: the signature of the simulator's airfoil callback
// (AirfoilCoeffFuncEx), angle in rad over the full circle, C linkage so that a class file can
// name them.
#pragma once

class VESSEL;  // the simulator's vessel interface; not needed by the functions

#ifdef _WIN32
#define GLIDER_AERO_API extern "C"
#else
#define GLIDER_AERO_API extern "C" __attribute__((visibility("default")))
#endif

GLIDER_AERO_API void GliderWing(VESSEL* vessel, double aoa, double mach, double reynolds,
                                void* context, double* cl, double* cm, double* cd);
GLIDER_AERO_API void GliderTail(VESSEL* vessel, double aoa, double mach, double reynolds,
                                void* context, double* cl, double* cm, double* cd);
// The fin's angle is the sideslip angle.
GLIDER_AERO_API void GliderFin(VESSEL* vessel, double sideslip, double mach, double reynolds,
                               void* context, double* cl, double* cm, double* cd);
