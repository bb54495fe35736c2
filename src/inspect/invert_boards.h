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
// 10 x first + second into their two digits. A station stop written later
// over a board keeps the board's values b, c and d: a stop cell holding
// any of them gets a board too, whose first value the stop replaced (0),
// but for the stop cells in `over_signals` (in increasing order), where a
// signal left them, and those in `over_slowdowns` (in increasing order:
// invert_slowdowns' under_stops), over a slowdown's cells.
inverted<std::vector<speed_board_values>> invert_speed_boards(
    const percorso_t& grid, const std::vector<std::size_t>& over_signals,
    const std::vector<std::size_t>& over_slowdowns);

// The station stop cells that keep nothing of an earlier object (values b,
// c, d and the delay all 0) and are not in `over_slowdowns` (as above),
// where a text board's position check lets one stand: where a board the
// grid no longer shows can have been.
std::vector<std::size_t> bare_stops(const percorso_t& grid,
                                    const std::vector<std::size_t>& over_slowdowns);

// The records of the text boards: from 80 down to the lowest one a board
// cell shows or a text above the last station's record holds. Those no
// cell shows are boards a station stop covered later.
struct board_slots {
  int lowest = k_first_board_slot + 1;  // k_first_board_slot + 1 when there are none
  std::vector<int> hidden;              // the records no board cell shows, from the highest
};
board_slots text_board_slots(const percorso_t& grid, const stazioni_t& table);

// A text-board record per text board, in the order of the records they
// take (80, 79, ...), with the record's text: at its cell, 50 m before it,
// or, for a record no cell shows, on one of `covering_stops` (taken in
// order), which a station stop covered later. Cells out of that order,
// records holding more than a text, and texts no board can have shown are
// the problems.
inverted<std::vector<text_board_values>> invert_text_boards(
    const percorso_t& grid, const stazioni_t& table,
    const std::vector<std::size_t>& covering_stops = {});

}  // namespace scenario
