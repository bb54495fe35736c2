// The three binary files of a compiled scenario: their bytes, and writing
// them.
#pragma once

#include <string>

#include "model/run_state.h"

namespace scenario {

// The bytes of the three files; no plan bytes when no plan was built.
struct binary_bytes {
  std::string plan;
  std::string stations;
  std::string grid;
};
binary_bytes serialise_binary_files(const run_state& st);

// Writes into folder, as one set that replaces the older files only once all
// are complete: the line plan NAME_linea.dat (only when the plan flag is
// set), the station file NAME_NUM.sim and the route grid NAME_NUM.dat.
// Throws io_error when one cannot be written; the older set then stays
// whole.
void write_binary_files(const run_state& st, const std::string& folder);

}  // namespace scenario
