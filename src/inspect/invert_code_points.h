// The inverse of the code points: the code lines ("abbattimento") among the
// code points of a grid, the others being the ones the compile adds itself.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// Code lines (position, value) for the code points of `grid` (as it stood
// before the stamps) that the code-point pass does not place: every code
// point without a value or with a value other than the pass's 180, and each
// one of 180 the pass, run again on the grid without them, leaves out. A
// code line lies in cell round(p / 50), so p is 50 x the cell. Code points
// the pass places where the grid shows none are the problems.
inverted<std::vector<fill_values>> invert_code_points(const percorso_t& grid);

}  // namespace scenario
