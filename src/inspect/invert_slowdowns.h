// The inverse of the slowdown marks: slowdown records from their start, end,
// warning and approach cells.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// A "rallentamento" record per slowdown start cell: its position 50 m
// before the cell, its speed, flag and second value from the cell, its
// length to the first end cell after it with the same values (0 when there
// is none: the start then covers its end), f_ta 1 when its four approach
// cells are marked. A start whose approach cells stand one cell further
// back was written 25 m earlier, on a half cell. Start, end, warning and
// approach cells that no record gives are the problems.
inverted<std::vector<slowdown_values>> invert_slowdowns(const percorso_t& grid);

}  // namespace scenario
