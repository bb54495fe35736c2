#include "inspect/invert_signals.h"

#include <map>

#include "model/scenario_constants.h"

namespace scenario {
namespace {

// The code whose approach marks most of the signal's mark cells hold, among
// those the type value allows.
std::optional<std::int32_t> marked_code(const percorso_t& grid, std::int64_t k, std::int32_t type) {
  std::map<std::int32_t, int> votes;
  for (std::int64_t b = 1; b <= 4; ++b) {
    const std::int64_t c = k - 2 * b;
    if (c < 0) continue;
    // code x 10 + b, below 256: a mark of another signal on this cell ends
    // in another digit.
    const std::int32_t mark = grid[static_cast<std::size_t>(c)].preavviso;
    const std::int32_t code = (mark - static_cast<std::int32_t>(b)) / 10;
    if (mark % 10 == b && (type - code) % 10 == 0) ++votes[code];
  }
  std::optional<std::int32_t> best;
  int most = 0;
  for (const auto& [code, n] : votes)
    if (n > most) {
      most = n;
      best = code;
    }
  return best;
}

}  // namespace

std::int32_t signal_code(const signal_values& s) {
  return s[1] * 3 + s[6];
}

inverted<std::vector<signal_values>> invert_signals(const percorso_t& grid) {
  inverted<std::vector<signal_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = grid[c];
    if (cell.tipo_cella != k_signal) continue;
    const std::int32_t type = cell.valore_d;
    const bool delayed = cell.ritardo != 0;
    std::int32_t code =
        marked_code(grid, static_cast<std::int64_t>(c), type).value_or(((type % 10) + 10) % 10);
    // Only sx = 2 keeps a delay, and then the code is 6 + dx.
    if (delayed && code < 6) code += 10;
    const std::int32_t sx = delayed ? 2 : (code >= 0 ? code / 3 : -((-code + 2) / 3));
    const std::int32_t dx = code - 3 * sx;
    const std::int32_t rapp = (type - code) / 10;
    const std::int32_t r = cell.ritardo;
    const std::int32_t tempo = sx != 2 ? 0 : (r >= 1 && r <= 100 ? r + 256 : r);
    out.records.push_back({(static_cast<std::int32_t>(c) - 1) * k_cell_metres, sx,
                           cell.valore_a / 10, cell.valore_b / 10, cell.valore_c / 10, rapp, dx,
                           cell.valore_a % 10, cell.valore_b % 10, cell.valore_c % 10, tempo});
  }
  return out;
}

}  // namespace scenario
