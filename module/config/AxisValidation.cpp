#include "module/config/AxisValidation.h"

#include <cstddef>

namespace aeroquin {

bool isValidAxis(const std::vector<double>& intervals,
                 const std::vector<std::uint32_t>& increments) {
    if (intervals.size() < 2 || intervals.size() != increments.size() + 1) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < intervals.size(); ++i) {
        // Written so that a NaN bound fails as well.
        if (!(intervals[i] < intervals[i + 1])) {
            return false;
        }
    }
    return true;
}

}  // namespace aeroquin
