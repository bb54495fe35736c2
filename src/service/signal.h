// Signals in the route grid.
#pragma once

#include <cstdint>

#include "model/cell_objects.h"
#include "model/percorso.h"

namespace scenario {

// memo_segnale: puts signal r in cell k = round(posizione / 50 + 1) as
// write_signal does: the aspect and type values, the clearing delay and the
// approach marks (sx*3 + dx)*10 + b on cells k - 2b, b = 1..4. Returns 0, 16
// when cell k is taken, or the fault for marks that would fall before cell 0;
// nothing is written then. The caller has checked that k lies inside the
// grid's end.
std::int32_t memo_segnale(percorso_t& grid, const signal_record& r);

}  // namespace scenario
