// The train compiler: reads a train description into the station table and
// the route grid that the line compiler left.
#pragma once

#include <string_view>

#include "model/run_state.h"

namespace scenario {

// Compiles the text of a train description into st, whose grid must exist.
// Faults are recorded in st; the result says how reading ended. The
// compiler never touches a file.
compile_end compile_train(std::string_view text, run_state& st);

}  // namespace scenario
