#include "route/gradient.h"

#include "common/numeric.h"
#include "model/cell_objects.h"
#include "model/scenario_constants.h"

namespace scenario {
void gradient_step(percorso_t& grid, gradient_fill& fill, std::int32_t p, std::int32_t v) {
  const std::int64_t m = round_half_even(p, k_cell_metres);
  if (m > 0) {
    do {
      cell_at(grid, fill.next_cell, p).pendenza = gradient_kept(fill.in_force);
      ++fill.next_cell;
    } while (fill.next_cell < m);
  }
  fill.in_force = v;
}

void final_gradient_fill(percorso_t& grid, gradient_fill& fill) {
  const std::int32_t stop = last_cell(grid) - 2;
  do {
    // Only records sharing the last cells can have pushed the index past the
    // grid; that write fails the compile.
    cell_at(grid, fill.next_cell).pendenza = gradient_kept(fill.in_force);
    ++fill.next_cell;
  } while (fill.next_cell < stop);
}

}  // namespace scenario
