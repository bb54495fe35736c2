#include "service/slowdown.h"

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"

namespace scenario {

std::int32_t memo_rallentamento(percorso_t& grid, const slowdown_record& r, std::int64_t* taken) {
  std::int64_t unused = 0;
  std::int64_t& found = taken != nullptr ? *taken : unused;
  // Only slowdowns starting beyond 1500 m have a warning and approach cells.
  const bool warned = slowdown_warned(r.x);
  const bool approach = warned && r.f_ta != 0;
  const std::int64_t warning = warned ? slowdown_warning_cell(r.x) : 0;
  if (warned && !in_grid(grid, warning)) return k_fault_outside_grid;
  found = warning;
  if (warned && !is_free(grid[static_cast<std::size_t>(warning)])) return k_fault_warning_taken;

  const std::int64_t start = slowdown_start_cell(r.x);
  if (!in_grid(grid, start)) return k_fault_outside_grid;
  found = start;
  if (!is_free(grid[static_cast<std::size_t>(start)])) return k_fault_start_taken;

  const std::int64_t end = slowdown_end_cell(must_fit(add_32(r.x, r.l), "the end of a slowdown"));
  if (!in_grid(grid, end)) return k_fault_outside_grid;
  found = end;
  if (!is_free(grid[static_cast<std::size_t>(end)])) return k_fault_end_taken;

  // In this order: where a length below 0 puts the end in the start's or
  // the warning's cell, the later mark's kind is the one kept.
  write_slowdown_mark(grid[static_cast<std::size_t>(end)], k_slowdown_end, r);
  write_slowdown_mark(grid[static_cast<std::size_t>(start)], k_slowdown_start, r);
  if (warned) write_slowdown_mark(grid[static_cast<std::size_t>(warning)], k_slowdown_warning, r);
  if (!approach) return 0;
  const std::int64_t h = slowdown_approach_head(r.x);
  for (int i = 0; i < k_slowdown_approach_cells; ++i) {
    found = h - i;
    if (!is_free(grid[static_cast<std::size_t>(h - i)])) return k_fault_approach_taken;
  }
  for (int i = 0; i < k_slowdown_approach_cells; ++i)
    write_slowdown_approach(grid[static_cast<std::size_t>(h - i)], i, r);
  return 0;
}

}  // namespace scenario
