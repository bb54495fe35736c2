// Compile faults and source warnings as diagnostics a person can act on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/diagnostic.h"
#include "model/run_state.h"
#include "run/compile.h"

namespace scenario {

// Names of the two descriptions as they should appear in diagnostics.
struct source_names {
  std::string line_file;
  std::string train_file;
};

// "FILE:LINE: error: WHAT (code N, at P m)". The line is left out where the
// fault has none. Faults of the code-point pass name the train description
// (whose slowdowns and signals they concern) and only the cell's position;
// faults of the run itself name the program. A run-time failure (code 25)
// says what failed instead of the code's words.
diagnostic fault_diagnostic(const fault& f, const source_names& names);

// "FILE:LINE: warning: WHAT".
diagnostic warning_diagnostic(const source_warning& w, const source_names& names);

// What a compile tells its user: the warnings (when asked for), then every
// fault in the order recorded, the last being the one pending; each as check
// shows it, with its column, source line and notes.
std::vector<diagnostic> compile_diagnostics(const compile_result& r, bool with_warnings);

// The one diagnostic of a stamp conflict (message 1250 or 1251), with a
// note at the record whose object holds grid cell 1 when the compile traced
// its sources, else a note on what to move.
diagnostic stamp_conflict_diagnostic(const compile_result& r);

// What a check tells its user of a compile that kept going: every fault and
// warning in source order (the line description, the train description,
// then the faults of the pass and the run), each with its column, its
// source line (from the texts compiled) and notes where the cause lies
// elsewhere. Messages and source lines come as UTF-8, control characters
// other than tabs replaced.
std::vector<diagnostic> check_diagnostics(const compile_result& r, std::string_view line_text,
                                          std::string_view train_text);

}  // namespace scenario
