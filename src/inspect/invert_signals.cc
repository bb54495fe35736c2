#include "inspect/invert_signals.h"

#include <map>

#include "model/cell_objects.h"

namespace scenario {
namespace {

std::int64_t modulo(std::int64_t a, std::int64_t m) {
  return ((a % m) + m) % m;
}

// The class that most of the signal's mark cells leave, among those the
// type value allows.
std::optional<std::int64_t> marked_class(const percorso_t& grid, std::int64_t k,
                                         std::int16_t type) {
  std::map<std::int64_t, int> votes;
  for (int b = 1; b <= k_approach_marks; ++b) {
    const std::int64_t c = signal_mark_cell(k, b);
    if (c < 0) continue;
    const auto code_class = class_of_mark(grid[static_cast<std::size_t>(c)].preavviso, b);
    if (code_class && code_in_class(type, *code_class)) ++votes[*code_class];
  }
  std::optional<std::int64_t> best;
  int most = 0;
  for (const auto& [code_class, count] : votes)
    if (count > most) {
      most = count;
      best = code_class;
    }
  return best;
}

}  // namespace

inverted<std::vector<signal_record>> invert_signals(const percorso_t& grid) {
  inverted<std::vector<signal_record>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = grid[c];
    if (cell.tipo_cella != k_signal) continue;
    const std::int16_t type = cell.valore_d;
    const std::optional<std::int64_t> voted =
        marked_class(grid, static_cast<std::int64_t>(c), type);
    const std::int64_t code = voted ? *code_in_class(type, *voted) : modulo(type, 10);
    out.records.push_back(signal_in_cell(cell, static_cast<std::int64_t>(c), code));
  }
  return out;
}

}  // namespace scenario
