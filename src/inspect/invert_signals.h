// The inverse of the signal marks: signal records from their cells and
// approach marks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "inspect/description_records.h"
#include "model/cell_objects.h"
#include "model/percorso.h"

namespace scenario {

// A "segnale" record per signal cell, 50 m before it. Each aspect value
// s x 10 + d splits into its digits; the type value rapp x 10 + sx x 3 + dx
// splits with the code sx x 3 + dx that most of the approach marks
// ((sx x 3 + dx) x 10 + 1 to 4, 100 to 400 m before, low 8 bits) agree on,
// or its last digit when none does (model/cell_objects.h holds both
// directions of the rule). The order of the records settles the
// code again (order_marks), where other marks cover a signal's.
inverted<std::vector<signal_record>> invert_signals(const percorso_t& grid);

}  // namespace scenario
