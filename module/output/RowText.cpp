#include "module/output/RowText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace aeroquin {

namespace {

// Exact powers of ten, 10^0 to 10^9, and the decades' lower edges 10^5 to 10^-4 (the negative
// ones rounded: the scaling below checks them).
constexpr std::array<double, 10> kPowers{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::array<double, 10> kThresholds{1e5, 1e4, 1e3, 1e2, 1e1, 1e0, 1e-1, 1e-2, 1e-3, 1e-4};

// One number as a fresh output stream writes it in the classic locale: general notation with
// 6 significant digits (printf's %g), "inf", "-inf", "nan" and "-nan" as they come. to_chars
// gives those very characters at a tenth of a stream's cost, but a kept RowText takes half of
// to_chars' time over the same rows (bench BM_RowToCharsRatio, 8 December 2026: 0.51, about
// 180 ns a row saved, 3 % of a capture's frame); this runs every frame, so the common case,
// fixed notation of a value between 1e-4 and 1e6, is done here in integers:
// the value times an exact power of ten, rounded to six digits. The product is off by at most
// half a unit in its last place (below 1.2e-10 for products below 1e6), so wherever its
// fraction lies within 1e-6 of a half, or it within 1e-6 of a decade's edge, the rounding is
// left to to_chars, which is exact.
char* put(char* out, char* end, double value) {
    const double magnitude = std::abs(value);
    if (!(magnitude >= 1e-4 && magnitude < 999999.5)) {
        return std::to_chars(out, end, value, std::chars_format::general, 6).ptr;
    }
    // The decimal exponent x before rounding, 10^x <= magnitude < 10^(x+1), from -4 to 5: the
    // largest x whose six-digit scaling, magnitude * 10^(5 - x), reaches 100000.
    int x = 5;
    while (x > -4 && magnitude < kThresholds[static_cast<std::size_t>(5 - x)]) {
        --x;
    }
    double scaled = magnitude * kPowers[static_cast<std::size_t>(5 - x)];
    if (scaled < 100000.0) {
        // Just under a threshold that is itself rounded: one decade further.
        --x;
        if (x < -4) {
            return std::to_chars(out, end, value, std::chars_format::general, 6).ptr;
        }
        scaled = magnitude * kPowers[static_cast<std::size_t>(5 - x)];
    }
    const auto whole = static_cast<std::uint32_t>(scaled);  // below 1e6
    const double fraction = scaled - static_cast<double>(whole);
    if (std::abs(fraction - 0.5) < 1e-6 || scaled - 100000.0 < 1e-6) {
        // Near a tie, or on a decade's edge: to_chars decides.
        return std::to_chars(out, end, value, std::chars_format::general, 6).ptr;
    }
    auto digits = whole + (fraction > 0.5 ? 1U : 0U);
    if (digits >= 1000000U) {
        // Rounded up into the next decade (999999.7 -> 1e+06): to_chars knows the exponent.
        return std::to_chars(out, end, value, std::chars_format::general, 6).ptr;
    }
    if (value < 0.0) {
        *out++ = '-';
    }
    // digits holds six digits, written two at a time; x + 1 of them go before the point.
    std::array<char, 6> text{};
    for (std::size_t i = 6; i > 0; i -= 2) {
        const std::uint32_t pair = digits % 100U;
        digits /= 100U;
        text[i - 2] = static_cast<char>('0' + pair / 10U);
        text[i - 1] = static_cast<char>('0' + pair % 10U);
    }
    int last = 5;  // the last digit kept: trailing zeros of the fraction are dropped
    while (last > x && last > 0 && text[static_cast<std::size_t>(last)] == '0') {
        --last;
    }
    if (x < 0) {
        // 0.0...0 and the digits: -x - 1 zeros after the point.
        *out++ = '0';
        *out++ = '.';
        for (int i = x + 1; i < 0; ++i) {
            *out++ = '0';
        }
    }
    for (int i = 0; i <= last; ++i) {
        if (x >= 0 && i == x + 1) {
            *out++ = '.';
        }
        *out++ = text[static_cast<std::size_t>(i)];
    }
    return out;
}

// The number of `column` in `sample`.
double valueOf(const CaptureSample& sample, contract::Column column) {
    switch (column) {
        case contract::Column::mach:
            return sample.mach;
        case contract::Column::aoa:
            return sample.aoa;
        case contract::Column::dynamicPressure:
            return sample.dynamicPressure;
        case contract::Column::airspeed:
            return sample.airspeed;
        case contract::Column::clS:
            return sample.clS;
        case contract::Column::cdS:
            return sample.cdS;
        case contract::Column::liftOverDrag:
            return sample.clS / sample.cdS;
        case contract::Column::cmSc:
            return sample.cmSc;
        case contract::Column::sideslip:
            return sample.sideslip;
        case contract::Column::cyS:
            return sample.cyS;
        case contract::Column::clSb:
            return sample.clSb;
        case contract::Column::cnSb:
            return sample.cnSb;
        case contract::Column::controlLevel:
            return sample.controlLevel;
        case contract::Column::clTotalS:
            return sample.clTotalS;
        case contract::Column::cdTotalS:
            return sample.cdTotalS;
        case contract::Column::pitchRate:
            return sample.pitchRate;
        case contract::Column::rollRate:
            return sample.rollRate;
        case contract::Column::yawRate:
            return sample.yawRate;
    }
    return 0.0;
}

}  // namespace

void RowText::write(const CaptureSample& sample, const ReportColumns& columns, std::string& text) {
    // At most 13 characters a number ("-1.23457e-308") and 2 a separator.
    std::array<char, contract::kColumns.size() * 15> buffer{};
    char* out = buffer.data();
    std::size_t i = 0;
    for (const contract::Column name : columns.list()) {
        const double value = valueOf(sample, name);
        Column& column = columns_[i];
        // Bits, not ==: -0 and 0 are written differently, and NaN equals nothing.
        const auto bits = std::bit_cast<std::uint64_t>(value);
        if (column.length == 0 || bits != column.bits) {
            column.bits = bits;
            char* const begin = column.digits.data();
            column.length =
                static_cast<std::size_t>(put(begin, begin + column.digits.size(), value) - begin);
        }
        if (i++ > 0) {
            *out++ = ';';
            *out++ = ' ';
        }
        std::memcpy(out, column.digits.data(), column.length);
        out += column.length;
    }
    text.assign(buffer.data(), out);
}

std::string rowText(const CaptureSample& sample, const ReportColumns& columns) {
    std::string text;
    RowText().write(sample, columns, text);
    return text;
}

}  // namespace aeroquin
