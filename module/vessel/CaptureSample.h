// One measured test point.
#pragma once

#include <string>

namespace aeroquin {

struct CaptureSample {
    double mach = 0.0;
    double aoa = 0.0;              // deg, as the sweep gives it
    double dynamicPressure = 0.0;  // Pa
    double airspeed = 0.0;         // m/s, commanded in the pre-step
    double clS = 0.0;              // lift / q, m^2
    double cdS = 0.0;              // drag / q, m^2

    // "mach; aoa; q; v; clS; cdS; clS/cdS": general notation, 6 significant digits, from a
    // fresh stream. This is both the status text and the report row.
    [[nodiscard]] std::string toText() const;
    // The same text into `text`, whose capacity a caller of every frame keeps.
    void toText(std::string& text) const;
};

}  // namespace aeroquin
