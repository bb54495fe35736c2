#include "route/percorso.h"

#include "common/numeric.h"

namespace scenario {

std::int64_t point_cell(std::int32_t p) {
  return round_half_even(static_cast<std::int64_t>(p) + 50, 50);
}

}  // namespace scenario
