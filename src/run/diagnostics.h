// Compile faults as lines a person can act on, in the usual compiler form.
#pragma once

#include <string>

#include "run/run_state.h"

namespace scenario {

// Names of the two descriptions as they should appear in diagnostics.
struct source_names {
  std::string line_file;
  std::string train_file;
};

// One line without line end: "FILE:LINE: error: WHAT (code N, at P m)". The
// file and line are left out where the fault has none; faults of the
// code-point pass name the cell's position instead.
std::string format_fault(const fault& f, const source_names& names);

}  // namespace scenario
