// The inverse of the line's general section where the compile rearranges it:
// the kilometric references and the signal repetition.
#pragma once

#include <array>

#include "inspect/description_records.h"
#include "model/stazioni.h"

namespace scenario {

// References "uno", "due" and "tre" that the compile orders and adjusts into
// records 81 to 83 as the table holds them: the given ones in increasing
// order of position, or any order that gives the same records.
inverted<std::array<reference_values, 3>> invert_references(const stazioni_t& table);

// The signal repetition record that gives record 86 its start, end and code
// count.
inverted<repetition_values> invert_repetition(const stazioni_t& table);

}  // namespace scenario
