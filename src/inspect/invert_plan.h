// The inverse of the plan: the curve records that build the line plan metre
// by metre.
#pragma once

#include <cstdint>
#include <vector>

#include "inspect/description_records.h"
#include "model/profilo.h"
#include "output/plan_reader.h"

namespace scenario {

// Every metre from 2 is a straight step or a curved step of one of the six
// curvature classes, either way, and comes out of the plan exactly (bit for
// bit); each run of curved metres of one class is a curve record, from the
// metre before the run for the run's length. A run that the position check
// (start + 100 <= 50 x last_cell) would refuse but that continues the run
// before it starts earlier, under the run before, which the compile draws
// only from where that one ends.
// The plan is walked in metre order, a window at a time.
inverted<std::vector<curve_values>> invert_plan(const plan_source& plan, std::int32_t last_cell);
inverted<std::vector<curve_values>> invert_plan(const profilo_t& plan, std::int32_t last_cell);

}  // namespace scenario
