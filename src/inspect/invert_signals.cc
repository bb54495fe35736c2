#include "inspect/invert_signals.h"

#include <map>

#include "common/numeric.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t modulo(std::int64_t a, std::int64_t m) {
  return ((a % m) + m) % m;
}

// The class that most of the signal's mark cells leave, among those the
// type value allows.
std::optional<std::int64_t> marked_class(const percorso_t& grid, std::int64_t k,
                                         std::int16_t type) {
  std::map<std::int64_t, int> votes;
  for (int b = 1; b <= 4; ++b) {
    const std::int64_t c = k - 2 * std::int64_t{b};
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

std::optional<std::int64_t> class_of_mark(std::uint8_t mark, int b) {
  // code x 10 + b = mark (mod 256): 5 x code = (mark - b) / 2 (mod 128), and
  // 77 is the inverse of 5 modulo 128.
  const std::int64_t twice = std::int64_t{mark} - b;
  if (modulo(twice, 2) != 0) return std::nullopt;
  return modulo(twice / 2 * 77, 128);
}

std::optional<std::int64_t> code_in_class(std::int16_t type, std::int64_t code_class) {
  // type = rapp x 10 + code (mod 65536): the code has the type's parity.
  if (modulo(type, 2) != modulo(code_class, 2)) return std::nullopt;
  for (std::int64_t c = code_class - 384; c < code_class + 384; c += 128)
    if (c >= -320 && c < 320 && modulo(std::int64_t{type} - c, 10) == 0) return c;
  return std::nullopt;
}

signal_values signal_with_code(const cella& s, std::size_t cell, std::int64_t code) {
  // Only sx = 2 keeps a delay.
  const bool delayed = s.ritardo != 0;
  const std::int64_t sx = delayed ? 2 : floor_div(code, 3);
  const std::int64_t dx = code - 3 * sx;
  const std::int64_t rapp = floor_div(std::int64_t{s.valore_d} - code, 10);
  const std::int32_t r = s.ritardo;
  const std::int32_t tempo = !delayed ? 0 : (r <= 100 ? r + 256 : r);
  return {(static_cast<std::int32_t>(cell) - 1) * k_cell_metres,
          static_cast<std::int32_t>(sx),
          s.valore_a / 10,
          s.valore_b / 10,
          s.valore_c / 10,
          static_cast<std::int32_t>(rapp),
          static_cast<std::int32_t>(dx),
          s.valore_a % 10,
          s.valore_b % 10,
          s.valore_c % 10,
          tempo};
}

std::int32_t signal_code(const signal_values& s) {
  return s[1] * 3 + s[6];
}

inverted<std::vector<signal_values>> invert_signals(const percorso_t& grid) {
  inverted<std::vector<signal_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = grid[c];
    if (cell.tipo_cella != k_signal) continue;
    const std::int16_t type = cell.valore_d;
    const std::optional<std::int64_t> voted =
        marked_class(grid, static_cast<std::int64_t>(c), type);
    const std::int64_t code = voted ? *code_in_class(type, *voted) : modulo(type, 10);
    out.records.push_back(signal_with_code(cell, c, code));
  }
  return out;
}

}  // namespace scenario
