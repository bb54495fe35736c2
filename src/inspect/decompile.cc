#include "inspect/decompile.h"

#include <algorithm>

#include "inspect/decompile_parts.h"
#include "inspect/description_text.h"
#include "model/scenario_constants.h"

namespace scenario {

void problem_sink::add(const std::string& path, const std::vector<std::string>& problems) {
  auto count =
      std::find_if(counts_.begin(), counts_.end(), [&](const auto& c) { return c.first == path; });
  if (count == counts_.end()) count = counts_.insert(counts_.end(), {path, 0});
  for (const std::string& p : problems) {
    if (count->second++ >= k_shown) continue;
    diagnostic d;
    d.level = severity::warning;
    d.file = path;
    d.message = p;
    shown_.push_back(std::move(d));
  }
}

std::vector<diagnostic> problem_sink::warnings() const {
  std::vector<diagnostic> out = shown_;
  for (const auto& [path, n] : counts_)
    if (n > k_shown) {
      diagnostic d;
      d.level = severity::warning;
      d.file = path;
      d.message = std::to_string(n - k_shown) + " more parts that could not be inverted";
      out.push_back(std::move(d));
    }
  return out;
}

decompiled decompile(const loaded_scenario& s, const curve_inversion* curves) {
  // The stamps come back from the compile; the places they take held 0.
  const std::shared_ptr<const plan_source> plan = s.plan_points();
  decompile_input in{s.grid.grid, s.stations.stations, plan.get(), curves};
  if (in.grid.size() > k_stamp_cell_index) {
    in.grid[k_stamp_cell_index].valore_a = 0;
    in.grid[k_stamp_cell_index].valore_b = 0;
  }
  in.table[k_slot_line].campo_2 = 0;
  in.table[k_slot_line].orario = 0;

  problem_sink sink;
  sink.grid = s.grid.path;
  sink.stations = s.stations.path;
  sink.plan = s.plan.path;
  decompiled out;
  out.nome_linea = s.stations.stations[k_slot_line].nome;
  out.numero_treno = s.stations.stations[k_slot_repetition].nome;
  out.line = line_description_lines(decompile_line(in, sink));
  out.train = train_description_lines(decompile_train(in, sink));
  out.warnings = sink.warnings();
  return out;
}

}  // namespace scenario
