// One measured test point.
#pragma once

namespace aeroquin {

struct CaptureSample {
    double mach = 0.0;
    double aoa = 0.0;              // deg, as the sweep gives it
    double dynamicPressure = 0.0;  // Pa
    double airspeed = 0.0;         // m/s, commanded in the pre-step
    double clS = 0.0;              // lift / q, m^2
    double cdS = 0.0;              // drag / q, m^2
    // Pitching moment about the centre of gravity / q, m^3 (moment coefficient x area x chord),
    // nose-up positive; read only in a capture that reports moments.
    double cmSc = 0.0;
};

}  // namespace aeroquin
