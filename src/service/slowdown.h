// Slowdowns in the route grid.
#pragma once

#include <cstdint>

#include "model/cell_objects.h"

namespace scenario {

// memo_rallentamento: marks the end cell round((x + l)/50 + 1) (kind 2), the
// start cell round(x/50 + 1) (kind 3) and, for x above 1500, the warning cell
// round((x - 1200)/50 + 1) (kind 4) and, when f_ta asks, the approach cells
// h..h-3 with h = round((x - 1200)/50) (kind 5, values 1 to 4). The warning,
// start and end cells are all checked before any is written: 17, 18 or 19
// when one is taken. 20 when an approach cell is taken, after the other
// marks are written. A start or end cell outside the grid is refused before
// anything is written. Throws compile_failure when x + l overflows 32 bits.
// For 17 to 20, taken (when given) gets the index of the cell found taken.
std::int32_t memo_rallentamento(percorso_t& grid, const slowdown_record& r,
                                std::int64_t* taken = nullptr);

}  // namespace scenario
