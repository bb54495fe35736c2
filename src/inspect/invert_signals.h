// The inverse of the signal marks: signal records from their cells and
// approach marks.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// A "segnale" record per signal cell, 50 m before it. Each aspect value
// s x 10 + d splits into its digits; the type value rapp x 10 + sx x 3 + dx
// splits with the code sx x 3 + dx that most of the approach marks
// ((sx x 3 + dx) x 10 + 1 to 4, 100 to 400 m before) agree on, or its last
// digit when none does. sx is 2 where the cell keeps a clearing delay (the
// delay then comes back as written: 1 to 100 were raised to 101), else a
// third of the code as the shipped signals have it.
inverted<std::vector<signal_values>> invert_signals(const percorso_t& grid);

// The code sx x 3 + dx of a signal record.
std::int32_t signal_code(const signal_values& s);

}  // namespace scenario
