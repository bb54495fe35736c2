#include "inspect/invert_slowdowns.h"

#include <string>

#include "model/scenario_constants.h"

namespace scenario {
namespace {

// Slowdowns starting beyond this have a warning cell 1200 m (24 cells) before.
constexpr std::int32_t k_warned_after = 1500;
constexpr std::int64_t k_warning_cells = 24;

class slowdown_reader {
 public:
  explicit slowdown_reader(const percorso_t& grid) : grid_(grid), claimed_(grid.size(), false) {}

  slowdown_values read(std::size_t start) {
    const cella& s = grid_[start];
    claimed_[start] = true;
    const auto c = static_cast<std::int64_t>(start);
    std::int64_t end = c;
    for (std::int64_t e = c + 1; e < size(); ++e)
      if (is(e, k_slowdown_end) && !claimed_[static_cast<std::size_t>(e)] &&
          same_values(at(e), s)) {
        end = e;
        break;
      }
    claim(end);
    std::int32_t x = static_cast<std::int32_t>((c - 1) * k_cell_metres);
    std::int32_t f_ta = 0;
    if (x > k_warned_after) {
      const std::int64_t warning = c - k_warning_cells;
      if (is(warning, k_slowdown_warning) && at(warning).valore_a == s.valore_a &&
          at(warning).valore_b == s.valore_b)
        claim(warning);
      // Approach cells h to h - 3 with h = round((x - 1200) / 50): the cell
      // before the warning cell, or one more back when x lies on a half cell.
      if (approach_at(warning - 1)) {
        f_ta = 1;
      } else if (start % 2 == 0 && approach_at(warning - 2)) {
        f_ta = 1;
        x -= k_cell_metres / 2;
      }
      if (f_ta != 0)
        for (std::int64_t i = 0; i < 4; ++i) claim(warning - 1 - (x % 50 != 0 ? 1 : 0) - i);
    }
    const auto length = static_cast<std::int32_t>((end - 1) * k_cell_metres - x);
    return {x, s.valore_a, length, s.valore_c, f_ta, s.valore_b};
  }

  // Marks of a slowdown that no start claimed.
  std::vector<std::string> unclaimed() const {
    std::vector<std::string> out;
    for (std::size_t c = 0; c < grid_.size(); ++c) {
      const std::uint8_t kind = grid_[c].tipo_cella;
      if (!claimed_[c] && kind >= k_slowdown_end && kind <= k_slowdown_approach)
        out.push_back("cell " + std::to_string(c) + ": a " + std::string(cell_kind_name(kind)) +
                      " that belongs to no slowdown start");
    }
    return out;
  }

 private:
  std::int64_t size() const { return static_cast<std::int64_t>(grid_.size()); }
  const cella& at(std::int64_t c) const { return grid_[static_cast<std::size_t>(c)]; }
  bool is(std::int64_t c, std::uint8_t kind) const {
    return c >= 0 && c < size() && at(c).tipo_cella == kind;
  }
  void claim(std::int64_t c) { claimed_[static_cast<std::size_t>(c)] = true; }
  static bool same_values(const cella& a, const cella& b) {
    return a.valore_a == b.valore_a && a.valore_b == b.valore_b && a.valore_c == b.valore_c;
  }
  // Cells h to h - 3 hold the approach values 1 to 4.
  bool approach_at(std::int64_t h) const {
    for (std::int64_t i = 0; i < 4; ++i)
      if (!is(h - i, k_slowdown_approach) || at(h - i).valore_a != i + 1) return false;
    return true;
  }

  const percorso_t& grid_;
  std::vector<bool> claimed_;
};

}  // namespace

inverted<std::vector<slowdown_values>> invert_slowdowns(const percorso_t& grid) {
  inverted<std::vector<slowdown_values>> out;
  slowdown_reader reader(grid);
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (grid[c].tipo_cella == k_slowdown_start) out.records.push_back(reader.read(c));
  out.problems = reader.unclaimed();
  return out;
}

}  // namespace scenario
