// The line compiler: reads a line description into the route grid, the
// header slots of the station table and, when the plan flag is set, the plan.
#pragma once

#include <string_view>

#include "model/run_state.h"

namespace scenario {

// Compiles the text of a line description into st (the grid and the plan are
// created by its route-length record). Faults are recorded in st; the result
// says how reading ended, and so what becomes of the description files. The
// compiler never touches a file.
compile_end compile_line(std::string_view text, run_state& st);

// For a compile that goes on after faults and has no route length that
// makes a grid: the grid (and the plan, when asked for) of the longest route
// there can be, against which the rest is checked.
void make_stand_in_grid(run_state& st);

}  // namespace scenario
