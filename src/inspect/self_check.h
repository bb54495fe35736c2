// decompile's check of its own result: the descriptions it wrote compiled
// again, in memory, and compared with the files they came from.
#pragma once

#include <string>
#include <vector>

#include "common/diagnostic.h"
#include "inspect/decompile.h"
#include "inspect/scenario_set.h"
#include "run/compile.h"

namespace scenario {

struct self_check {
  compile_result compiled;  // the compile of the written descriptions
  // Each cell, record or metre that differs, as an error on its file (at
  // most k_shown per file, then a count).
  std::vector<diagnostic> differences;
  bool same_files = false;  // the three files come back byte for byte
};

inline constexpr std::size_t k_shown_differences = 20;

// Compiles d's descriptions, named line_name and train_name in diagnostics,
// under d's names with the plan, and compares the three files with s.
self_check check_decompiled(const loaded_scenario& s, const decompiled& d,
                            const std::string& line_name, const std::string& train_name);

}  // namespace scenario
