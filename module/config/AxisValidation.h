// The rule that a test axis must satisfy.
#pragma once

#include <cstdint>
#include <vector>

namespace aeroquin {

// True when there are at least two strictly ascending bounds and exactly one step count per
// interval. The step counts themselves are not examined.
[[nodiscard]] bool isValidAxis(const std::vector<double>& intervals,
                               const std::vector<std::uint32_t>& increments);

}  // namespace aeroquin
