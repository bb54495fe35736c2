#include "service/signal.h"

#include "common/numeric.h"
#include "model/fault_codes.h"

namespace scenario {

std::int32_t memo_segnale(percorso_t& grid, std::int32_t posizione, const signal_record& r) {
  const std::int64_t k = point_cell(posizione);
  // The farthest approach mark stands eight cells before the signal.
  if (!in_grid(grid, k - 8) || !in_grid(grid, k)) return k_fault_outside_grid;
  cella& cell = grid[static_cast<std::size_t>(k)];
  if (!is_free(cell)) return k_fault_signal_taken;

  cell.tipo_cella = k_signal;
  cell.valore_d = low_16(std::int64_t{r.rapp} * 10 + std::int64_t{r.sx} * 3 + r.dx);
  cell.valore_a = low_16(std::int64_t{r.s1} * 10 + r.d1);
  cell.valore_b = low_16(std::int64_t{r.s2} * 10 + r.d2);
  cell.valore_c = low_16(std::int64_t{r.s3} * 10 + r.d3);

  std::int32_t delay = r.tempo;
  if (delay >= 1 && delay <= 100) delay = 101;
  cell.ritardo = r.sx == 2 ? low_8(delay) : std::uint8_t{0};

  const std::int64_t code = std::int64_t{r.sx} * 3 + r.dx;
  for (int b = 1; b <= 4; ++b)
    grid[static_cast<std::size_t>(k - 2 * std::int64_t{b})].preavviso = low_8(code * 10 + b);
  return 0;
}

}  // namespace scenario
