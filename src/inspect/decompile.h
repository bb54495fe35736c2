// decompile: from a scenario's three binary files back to a line and a train
// description that compile to the same files.
#pragma once

#include <string>
#include <vector>

#include "common/diagnostic.h"
#include "inspect/invert_plan.h"
#include "inspect/scenario_set.h"

namespace scenario {

struct decompiled {
  std::string nome_linea;          // the line name of record 85
  std::string numero_treno;        // the train number of record 86
  std::vector<std::string> line;   // the line description's lines
  std::vector<std::string> train;  // the train description's lines
  // Each part of the files that no description gives, as a warning naming
  // the file and the cell, record or metre.
  std::vector<diagnostic> warnings;
};

// The descriptions of the scenario in s, inverting every compile step: the
// stamps and the code points the compile adds itself are left out, since
// the compile adds them again. Reads nothing but s. curves, when given, are
// the plan's as it was loaded (load_scenario_files with it as the walker).
decompiled decompile(const loaded_scenario& s, const curve_inversion* curves = nullptr);

}  // namespace scenario
