// Writes the three binary files of a compiled scenario.
#pragma once

#include <string>

#include "run/run_state.h"

namespace scenario {

// Writes into folder, in this order and each replacing any older file: the
// line plan NAME_linea.dat (only when the plan flag is set), the station file
// NAME_NUM.sim and the route grid NAME_NUM.dat. Throws io_error when a file
// cannot be written; the files written before it stay complete.
void write_binary_files(const run_state& st, const std::string& folder);

}  // namespace scenario
