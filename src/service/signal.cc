#include "service/signal.h"

#include "model/fault_codes.h"

namespace scenario {

std::int32_t memo_segnale(percorso_t& grid, const signal_record& r) {
  const std::int64_t k = point_cell(r.posizione);
  // The farthest approach mark stands eight cells before the signal.
  if (!in_grid(grid, signal_mark_cell(k, k_approach_marks)) || !in_grid(grid, k))
    return k_fault_outside_grid;
  if (!is_free(grid[static_cast<std::size_t>(k)])) return k_fault_signal_taken;
  write_signal(grid, k, r);
  return 0;
}

}  // namespace scenario
