#include "module/vessel/CaptureSample.h"

#include <array>
#include <charconv>

namespace aeroquin {

namespace {

// One number as a fresh output stream writes it in the classic locale: general notation with
// 6 significant digits (printf's %g), "inf", "-inf", "nan" and "-nan" as they come. to_chars
// gives those very characters at a tenth of a stream's cost, and this runs every frame.
char* put(char* out, char* end, double value) {
    return std::to_chars(out, end, value, std::chars_format::general, 6).ptr;
}

}  // namespace

std::string CaptureSample::toText() const {
    // Seven numbers of at most 13 characters ("-1.23457e-308") and six separators.
    std::array<char, 128> text{};
    char* out = text.data();
    char* const end = text.data() + text.size();
    for (const double value : {mach, aoa, dynamicPressure, airspeed, clS, cdS}) {
        out = put(out, end, value);
        *out++ = ';';
        *out++ = ' ';
    }
    out = put(out, end, clS / cdS);
    return {text.data(), out};
}

}  // namespace aeroquin
