#include "inspect/invert_code_points.h"

#include <algorithm>
#include <optional>
#include <string>

#include "model/run_state.h"
#include "model/scenario_constants.h"
#include "output/code_pass.h"

namespace scenario {
namespace {

// Where the pass, run on `before`, leaves the code points of 180 other
// than the grid shows: those it does not place, those it places where the
// grid has none. Both in increasing order.
struct pass_differences {
  std::vector<std::size_t> missing;
  std::vector<std::size_t> extra;

  bool none() const { return missing.empty() && extra.empty(); }
  // The first cell that differs; the grid's size when none does.
  std::size_t first(std::size_t cells) const {
    return std::min(missing.empty() ? cells : missing.front(),
                    extra.empty() ? cells : extra.front());
  }
};

pass_differences differences(const run_state& before, const percorso_t& grid) {
  run_state passed = before;
  code_point_pass(passed);
  pass_differences d;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    if (is_pass_code_point(grid[c]) && !is_pass_code_point(passed.percorso[c]))
      d.missing.push_back(c);
    if (!is_pass_code_point(grid[c]) && is_pass_code_point(passed.percorso[c]))
      d.extra.push_back(c);
  }
  return d;
}

// Every code point of 180 the pass leaves out goes back in as a code line,
// until the pass gives the grid's code points.
pass_differences all_at_once(run_state& before, const percorso_t& grid) {
  pass_differences d;
  for (int round = 0; round < 16; ++round) {
    d = differences(before, grid);
    if (d.missing.empty()) break;
    for (std::size_t c : d.missing) before.percorso[c] = grid[c];
  }
  return d;
}

// One code line at a time, at the first cell that differs: a code line
// there, or on the cell after or before it, which moves the pass's own
// code point there (a code point every 8 cells goes one cell back or on
// when its cell is taken). The one that leaves the first difference
// farthest on, and then the fewest, is kept.
pass_differences one_at_a_time(run_state& before, const percorso_t& grid) {
  pass_differences d = differences(before, grid);
  const std::size_t cells = grid.size();
  for (std::size_t round = 0; round < cells && !d.none(); ++round) {
    const std::size_t m = d.first(cells);
    std::optional<std::size_t> best;  // the cell whose code line goes back in
    pass_differences best_d = d;
    for (const std::size_t c : {m, m + 1, m - 1}) {
      if (c >= cells || !is_pass_code_point(grid[c]) || is_pass_code_point(before.percorso[c]))
        continue;
      // Tried in place (differences runs the pass on a copy), then undone.
      const cella kept = before.percorso[c];
      before.percorso[c] = grid[c];
      pass_differences t = differences(before, grid);
      before.percorso[c] = kept;
      const std::size_t first = t.first(cells), best_first = best_d.first(cells);
      if (first > best_first ||
          (first == best_first &&
           t.missing.size() + t.extra.size() < best_d.missing.size() + best_d.extra.size())) {
        best = c;
        best_d = std::move(t);
      }
    }
    if (!best || best_d.first(cells) <= m) break;
    before.percorso[*best] = grid[*best];
    d = std::move(best_d);
  }
  return d;
}

}  // namespace

inverted<std::vector<fill_values>> invert_code_points(const percorso_t& grid) {
  // The grid before the pass: its code points of 180 taken out.
  run_state removed;
  removed.percorso = grid;
  for (cella& c : removed.percorso)
    if (is_pass_code_point(c)) {
      c.tipo_cella = k_empty;
      c.valore_a = 0;
    }
  run_state before = removed;
  pass_differences d = all_at_once(before, grid);
  if (!d.none()) {
    // A code line that takes the cell of one of the pass's own code points
    // moves that one and every one after it in the same walk.
    run_state searched = removed;
    const pass_differences s = one_at_a_time(searched, grid);
    if (s.missing.size() + s.extra.size() < d.missing.size() + d.extra.size()) {
      before = std::move(searched);
      d = s;
    }
  }

  inverted<std::vector<fill_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = before.percorso[c];
    if (cell.tipo_cella == k_code_point_plain || cell.tipo_cella == k_code_point)
      out.records.push_back(
          {code_line_position(static_cast<std::int64_t>(c)), code_line_value(cell)});
  }
  for (std::size_t c : d.extra)
    out.problems.push_back("cell " + std::to_string(c) +
                           ": the compile would place a code point here, where the grid has none");
  for (std::size_t c : d.missing)
    out.problems.push_back("cell " + std::to_string(c) + ": a code point no code line gives");
  return out;
}

}  // namespace scenario
