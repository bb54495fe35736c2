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
  const bool warned = r.x > 1500;
  const bool approach = warned && r.f_ta != 0;
  const std::int64_t warning =
      warned ? round_half_even(std::int64_t{r.x} - 1200 + k_cell_metres, k_cell_metres) : 0;
  if (warned && !in_grid(grid, warning)) return k_fault_outside_grid;
  found = warning;
  if (warned && !is_free(grid[static_cast<std::size_t>(warning)])) return k_fault_warning_taken;

  const std::int64_t start = point_cell(r.x);
  if (!in_grid(grid, start)) return k_fault_outside_grid;
  found = start;
  if (!is_free(grid[static_cast<std::size_t>(start)])) return k_fault_start_taken;

  const std::int64_t end = point_cell(must_fit(add_32(r.x, r.l), "the end of a slowdown"));
  if (!in_grid(grid, end)) return k_fault_outside_grid;
  found = end;
  if (!is_free(grid[static_cast<std::size_t>(end)])) return k_fault_end_taken;

  cella& end_cell = grid[static_cast<std::size_t>(end)];
  cella& start_cell = grid[static_cast<std::size_t>(start)];
  const std::int16_t v = low_16(r.v);
  const std::int16_t d_v = low_16(r.d_v);
  end_cell.tipo_cella = k_slowdown_end;
  if (r.d_v != 0) end_cell.valore_b = d_v;
  start_cell.tipo_cella = k_slowdown_start;
  if (r.d_v != 0) start_cell.valore_b = d_v;
  if (warned) {
    cella& warning_cell = grid[static_cast<std::size_t>(warning)];
    warning_cell.tipo_cella = k_slowdown_warning;
    if (r.d_v != 0) warning_cell.valore_b = d_v;
    warning_cell.valore_a = v;
  }
  for (cella* c : {&start_cell, &end_cell}) {
    c->valore_a = v;
    c->valore_c = low_16(r.f_tt);
  }

  if (!approach) return 0;
  const std::int64_t h = round_half_even(std::int64_t{r.x} - 1200, k_cell_metres);
  for (int i = 0; i < 4; ++i) {
    found = h - i;
    if (!is_free(grid[static_cast<std::size_t>(h - i)])) return k_fault_approach_taken;
  }
  for (int i = 0; i < 4; ++i) {
    cella& c = grid[static_cast<std::size_t>(h - i)];
    c.tipo_cella = k_slowdown_approach;
    c.valore_a = static_cast<std::int16_t>(i + 1);
    if (r.d_v != 0) c.valore_b = static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

}  // namespace scenario
