// The inverse of the scenery sections: the "montagna" records that give
// every cell its scenery type and place the scenery markers.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// One section per run of cells of one scenery type, with markers (type + 10)
// unless one of its every-fourth cells is empty in the grid (a marker under a
// later object counts either way). A run split by markers out of step, or
// the rest of a section that a later one (of type 3) covers in part, takes
// more than one section; a section starting 150 m or less after the one
// before would become type 3, so one that is not gets an empty section
// before it (no cells, far enough back). The result is checked by marking
// it again; cells it does not give are the problems.
inverted<std::vector<scenery_values>> invert_scenery(const percorso_t& grid);

}  // namespace scenario
