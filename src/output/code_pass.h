// The pass over the compiled grid that adds code points (kind 12, code 180)
// around slowdowns.
#pragma once

#include <cstdint>

#include "model/cell_objects.h"
#include "model/run_state.h"

namespace scenario {

// minimo: y when x is greater than y, otherwise x.
std::int32_t minimo(std::int32_t x, std::int32_t y);

// The pass over cells 1 to P - 2 in order, working in place:
//  A  before every signal in the 20 cells before a slowdown warning, a code
//     point on one of its two preceding cells (or an existing one lowered to
//     180); fault 11 when neither can take one;
//  B1 before a slowdown start, one code point in each of three bands at
//     250-350, 550-650 and 900-1000 m; fault 12 for a band with no free cell;
//  B2 through a slowdown slower than 110 km/h, a code point every 8 cells
//     up to its end; fault 13 when none of three cells is free;
//  B3 after such a slowdown's end, a code point before the first signal
//     within 12 cells; fault 13 when neither cell before it is free.
// Faults are only recorded. A walk or look-ahead never passes the grid's last
// cell; a slowdown start with no end after it gets no B3 mark.
void code_point_pass(run_state& st);

}  // namespace scenario
