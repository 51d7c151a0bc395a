#pragma once
// The drawing modes road kinds stamp on their primitives. The viewer draws the plan
// proper only; construction marks show when the construction drawing is switched on.

#include <cstdint>

namespace vellmar {

inline constexpr uint32_t kPlanModes = 1u << 0;
inline constexpr uint32_t kConstructionModes = 1u << 1;

}  // namespace vellmar
