// The inverse of the lineside boards: speed boards from their packed cells,
// text boards from their cells and the table's text slots.
#pragma once

#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"
#include "model/stazioni.h"

namespace scenario {

// A "indicatori_vmax" record per speed-board cell, 50 m before it: each
// packed value 20 x first speed + second speed / 5 splits into a first
// speed and a second speed of 0 to 95 (an empty field when 0), the stripes
// 10 x first + second into their two digits.
inverted<std::vector<speed_board_values>> invert_speed_boards(const percorso_t& grid);

// A text-board record per text-board cell, 50 m before it, in the order of
// the slots the boards take (80, 79, ...), with the slot's text. Slots out
// of that order, slots holding more than a text, and texts no board shows are
// the problems.
inverted<std::vector<text_board_values>> invert_text_boards(const percorso_t& grid,
                                                            const stazioni_t& table);

}  // namespace scenario
