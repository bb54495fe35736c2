// Gradients: one byte per cell, the gradient + 100, filled by a running index
// as the gradient records arrive in order of position.
#pragma once

#include <cstdint>

#include "model/percorso.h"

namespace scenario {

inline constexpr std::int32_t k_min_gradient = -100;
inline constexpr std::int32_t k_max_gradient = 155;

// The running state of the fill: the next cell to receive a gradient and the
// gradient in force (0 before the first record).
struct gradient_fill {
  std::int32_t next_cell = 0;
  std::int32_t in_force = 0;
};

// The gradient step of a record (p, v): cells from the running index up to
// the record's cell round(p / 50) receive the gradient in force; then v is
// in force. A record whose cell does not lie beyond the running index still
// writes one cell. v must lie in -100..155. A fill that would pass the
// grid's last cell throws compile_failure there, the cells before it written.
void gradient_step(percorso_t& grid, gradient_fill& fill, std::int32_t p, std::int32_t v);

// The final fill after the last record: up to, not including, cell P - 2;
// at least one cell is written, and one outside the grid throws
// compile_failure.
void final_gradient_fill(percorso_t& grid, gradient_fill& fill);

}  // namespace scenario
