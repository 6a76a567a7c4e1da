// The host's coefficient-table reader on arbitrary bytes: a table or a HostFileError.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Check.h"
#include "host/support/HostFileError.h"
#include "host/world/AeroTable.h"

using aeroquin::fuzz::check;
using namespace aeroquin::host;

namespace {

bool strictlyAscending(const std::vector<double>& values) {
    return std::adjacent_find(values.begin(), values.end(), std::greater_equal<>()) == values.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string name = "Config/Vessels/Fuzz.csv";
    try {
        const AeroTable table = AeroTable::fromText(text, name);
        const auto& machs = table.machs();
        const auto& aoas = table.aoas();
        check(machs.size() >= 2 && aoas.size() >= 2, "at least two Mach and two AOA values");
        check(strictlyAscending(machs) && strictlyAscending(aoas), "both axes strictly ascending");
        // Inside, on and beyond every edge, between grid lines, and NaN.
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        const double probesMach[] = {machs.front() - 1.0,         machs.front(),
                                     (machs[0] + machs[1]) / 2.0, machs.back(),
                                     machs.back() + 1.0,          nan};
        const double probesAoa[] = {aoas.front() - 1.0,        aoas.front(),
                                    (aoas[0] + aoas[1]) / 2.0, aoas.back(),
                                    aoas.back() + 1.0,         nan};
        for (const double mach : probesMach) {
            for (const double aoa : probesAoa) {
                const AeroCoefficients c = table.at(mach, aoa);
                if (std::isnan(mach) || std::isnan(aoa)) {
                    check(std::isnan(c.cl) && std::isnan(c.cd), "NaN in, NaN out");
                }
            }
        }
    } catch (const HostFileError& error) {
        aeroquin::fuzz::checkNamesFile(error.what(), name);
    }
    return 0;
}
