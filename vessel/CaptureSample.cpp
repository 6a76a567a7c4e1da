#include "vessel/CaptureSample.h"

#include <sstream>

namespace aeroquin {

std::string CaptureSample::toText() const {
    // A fresh stream in its default state: general notation, 6 significant digits, '.'.
    std::ostringstream text;
    text << mach << "; " << aoa << "; " << dynamicPressure << "; " << airspeed << "; " << clS
         << "; " << cdS << "; " << clS / cdS;
    return text.str();
}

}  // namespace aeroquin
