// Compile faults and source warnings as lines a person can act on, in the
// usual compiler form.
#pragma once

#include <string>

#include "run/run_state.h"

namespace scenario {

// Names of the two descriptions as they should appear in diagnostics.
struct source_names {
  std::string line_file;
  std::string train_file;
};

// Something in a description that compiles, but not as its author probably
// meant (a value the format keeps to its low bits, a record that is never
// read). A warning never changes what the compile produces.
struct source_warning {
  fault_origin origin = fault_origin::line_file;  // line_file or train_file
  int line = 0;                                   // source line, 0 when there is none
  std::string what;
};

// One line without line end: "FILE:LINE: error: WHAT (code N, at P m)". The
// line is left out where the fault has none. Faults of the code-point pass
// name the train description (whose slowdowns and signals they concern) and
// only the cell's position; faults of the run itself name the program. A
// run-time failure (code 25) says what failed instead of the code's words.
std::string format_fault(const fault& f, const source_names& names);

// One line without line end: "FILE:LINE: warning: WHAT".
std::string format_warning(const source_warning& w, const source_names& names);

}  // namespace scenario
