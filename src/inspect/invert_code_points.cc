#include "inspect/invert_code_points.h"

#include <string>

#include "model/run_state.h"
#include "model/scenario_constants.h"
#include "output/code_pass.h"

namespace scenario {
namespace {

bool passes_code(const cella& c) {
  return c.tipo_cella == k_code_point && c.valore_a == k_pass_code;
}

}  // namespace

inverted<std::vector<fill_values>> invert_code_points(const percorso_t& grid) {
  // The grid before the pass: its code points of 180 taken out.
  run_state before;
  before.percorso = grid;
  for (cella& c : before.percorso)
    if (passes_code(c)) {
      c.tipo_cella = k_empty;
      c.valore_a = 0;
    }
  // A code line of 180 where the pass places none goes back in, until the
  // pass gives the grid's code points.
  std::vector<std::size_t> missing;
  std::vector<std::size_t> extra;
  for (int round = 0; round < 16; ++round) {
    run_state passed = before;
    code_point_pass(passed);
    missing.clear();
    extra.clear();
    for (std::size_t c = 0; c < grid.size(); ++c) {
      if (passes_code(grid[c]) && !passes_code(passed.percorso[c])) missing.push_back(c);
      if (!passes_code(grid[c]) && passes_code(passed.percorso[c])) extra.push_back(c);
    }
    if (missing.empty()) break;
    for (std::size_t c : missing) before.percorso[c] = grid[c];
  }

  inverted<std::vector<fill_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = before.percorso[c];
    const auto position = static_cast<std::int32_t>(c) * k_cell_metres;
    // A code line of w > 0 stores its low 16 bits; one of 0 or less none.
    if (cell.tipo_cella == k_code_point_plain) out.records.push_back({position, 0});
    if (cell.tipo_cella == k_code_point)
      out.records.push_back({position, cell.valore_a > 0 ? cell.valore_a : cell.valore_a + 65536});
  }
  for (std::size_t c : extra)
    out.problems.push_back("cell " + std::to_string(c) +
                           ": the compile would place a code point here, where the grid has none");
  for (std::size_t c : missing)
    out.problems.push_back("cell " + std::to_string(c) + ": a code point no code line gives");
  return out;
}

}  // namespace scenario
