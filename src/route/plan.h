// The plan of the line, built metre by metre: every new point continues the
// previous step, turned by the curvature where a curve runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/profilo.h"

namespace scenario {

// The curvature per metre named by a curve keyword: the lowest digit 1 to 6
// it holds picks 0.0001, 0.0002, 0.0004, 0.001, 0.002 or 0.003, negated when
// the keyword holds an "s" in either case. Nothing when there is no digit.
std::optional<double> curve_curvature(std::string_view keyword);

// Metres 0 and 1: (0, 0) and (0, 1), as 16-bit whole numbers.
void seed_plan(profilo_t& plan);

// Metre n continues the step from metre n - 2 to metre n - 1.
void straight_step(profilo_t& plan, std::size_t n);

// Metre n continues that step turned by curvature k: each new step component
// is one rounded product and one rounded sum (k*d1 + d0, d1 - d0*k); the step
// is never rescaled.
void curved_step(profilo_t& plan, std::size_t n, double k);

}  // namespace scenario
