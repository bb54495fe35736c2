// The two halves of decompile and what they share: the tables as they stood
// before the compile stamped them, and where the parts that could not be
// inverted are told.
#pragma once

#include <string>
#include <vector>

#include "common/diagnostic.h"
#include "inspect/description_records.h"
#include "inspect/invert_plan.h"
#include "model/percorso.h"
#include "model/profilo.h"
#include "model/stazioni.h"
#include "output/plan_reader.h"

namespace scenario {

struct decompile_input {
  percorso_t grid;   // without the stamp of cell 1
  stazioni_t table;  // without the stamps of record 85
  const plan_source* plan = nullptr;
  // The plan's curves, when they were found as the plan was loaded.
  const curve_inversion* curves = nullptr;
};

// Collects the problems of the inverse steps as warnings on their file, at
// most k_shown per file and a count of the rest.
class problem_sink {
 public:
  static constexpr std::size_t k_shown = 20;

  // One file: "grid", "stations" or "plan" name its path.
  void add(const std::string& path, const std::vector<std::string>& problems);
  // The warnings, with the count of those left out.
  std::vector<diagnostic> warnings() const;

  std::string grid, stations, plan;  // the paths, for the warnings

 private:
  std::vector<diagnostic> shown_;
  std::vector<std::pair<std::string, std::size_t>> counts_;  // path, problems told
};

// The line description's records: general values, curves, gradients,
// scenery sections and boards.
line_records decompile_line(const decompile_input& in, problem_sink& sink);

// The train description's records: general values, adhesion, speed limits,
// stations, slowdowns, signals and code lines, in an order that leaves every
// approach mark.
train_records decompile_train(const decompile_input& in, problem_sink& sink);

}  // namespace scenario
