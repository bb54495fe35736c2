#include "inspect/mark_order.h"

#include <algorithm>
#include <optional>
#include <string>

#include "inspect/invert_signals.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

// One record that writes approach marks: a station (its marks fixed) or a
// signal (its marks follow its code).
struct writer {
  bool station = false;
  std::int16_t type = 0;                         // a signal's type value
  std::vector<std::pair<std::int64_t, int>> at;  // cell, b (1 nearest)
};

// A station of a type below 25 other than 5 and 6 marks the four cells
// before its stop cell, those after cell 1, with 80 + b.
writer station_writer(const stazione& s) {
  writer w;
  w.station = true;
  if (s.tipo_stazione >= 25 || s.tipo_stazione == 5 || s.tipo_stazione == 6) return w;
  const std::int64_t stop = s.fine / k_cell_metres - 1;
  for (int b = 1; b <= 4; ++b)
    if (stop - b > 1) w.at.push_back({stop - b, b});
  return w;
}

// A signal marks the cells 2, 4, 6 and 8 before its own with code x 10 + b.
writer signal_writer(const percorso_t& grid, const signal_values& s) {
  writer w;
  const std::int64_t k = s[0] / k_cell_metres + 1;
  w.type = grid[static_cast<std::size_t>(k)].valore_d;
  for (int b = 1; b <= 4; ++b) w.at.push_back({k - 2 * std::int64_t{b}, b});
  return w;
}

class peeler {
 public:
  peeler(const percorso_t& grid, std::vector<writer> writers, std::size_t stations)
      : grid_(grid),
        writers_(std::move(writers)),
        stations_(stations),
        settled_(grid.size(), false),
        done_(writers_.size(), false),
        codes_(writers_.size(), std::nullopt) {}

  // The writers, last written first. When none leaves every open cell of
  // its as the grid shows it, the one leaving fewest wrong goes, and those
  // cells are kept in wrong().
  std::vector<std::size_t> peel() {
    std::vector<std::size_t> last_first;
    std::size_t next_station = stations_;  // stations go last to first
    while (last_first.size() < writers_.size()) {
      std::optional<std::size_t> best;
      std::vector<std::int64_t> best_wrong;
      for (std::size_t w = writers_.size(); w-- > 0;) {
        if (done_[w] || (writers_[w].station && w + 1 != next_station)) continue;
        std::vector<std::int64_t> wrong = wrong_cells(w);
        if (!best || wrong.size() < best_wrong.size()) {
          best = w;
          best_wrong = std::move(wrong);
          if (best_wrong.empty()) break;
        }
      }
      const std::size_t w = *best;
      done_[w] = true;
      if (writers_[w].station) --next_station;
      for (const auto& [cell, b] : writers_[w].at) settle(cell);
      wrong_.insert(wrong_.end(), best_wrong.begin(), best_wrong.end());
      last_first.push_back(w);
    }
    return last_first;
  }

  const std::optional<std::int64_t>& code_class(std::size_t w) const { return codes_[w]; }
  // The cells left with a mark other than the grid's.
  const std::vector<std::int64_t>& wrong() const { return wrong_; }

 private:
  std::uint8_t mark(std::int64_t cell) const {
    return grid_[static_cast<std::size_t>(cell)].preavviso;
  }
  void settle(std::int64_t cell) {
    if (cell >= 0 && cell < static_cast<std::int64_t>(grid_.size()))
      settled_[static_cast<std::size_t>(cell)] = true;
  }
  bool open(std::int64_t cell) const {
    return cell >= 0 && cell < static_cast<std::int64_t>(grid_.size()) &&
           !settled_[static_cast<std::size_t>(cell)];
  }

  // The open cells w would leave with another mark than the grid's, were
  // it written last of those still to place; a signal takes the code class
  // most of them ask for.
  std::vector<std::int64_t> wrong_cells(std::size_t w) {
    const writer& wr = writers_[w];
    std::vector<std::int64_t> wrong;
    if (wr.station) {
      for (const auto& [cell, b] : wr.at)
        if (open(cell) && mark(cell) != 80 + b) wrong.push_back(cell);
      return wrong;
    }
    std::optional<std::int64_t> chosen;
    int most = 0;
    for (const auto& [cell, b] : wr.at) {
      if (!open(cell)) continue;
      const std::optional<std::int64_t> c = class_of_mark(mark(cell), b);
      if (!c || !code_in_class(wr.type, *c)) continue;
      int votes = 0;
      for (const auto& [other, ob] : wr.at)
        if (open(other) && class_of_mark(mark(other), ob) == c) ++votes;
      if (votes > most) {
        most = votes;
        chosen = c;
      }
    }
    for (const auto& [cell, b] : wr.at)
      if (open(cell) && (!chosen || class_of_mark(mark(cell), b) != chosen)) wrong.push_back(cell);
    codes_[w] = chosen;
    return wrong;
  }

  const percorso_t& grid_;
  std::vector<writer> writers_;
  std::size_t stations_;
  std::vector<bool> settled_;
  std::vector<bool> done_;
  std::vector<std::optional<std::int64_t>> codes_;
  std::vector<std::int64_t> wrong_;
};

}  // namespace

inverted<record_order> order_marks(const percorso_t& grid, const stazioni_t& table,
                                   std::size_t stations,
                                   const std::vector<signal_values>& signals) {
  // Writers 0 to stations - 1 are the stations, then the signals.
  std::vector<writer> writers;
  for (std::size_t s = 1; s <= stations; ++s) writers.push_back(station_writer(table[s]));
  for (const signal_values& s : signals) writers.push_back(signal_writer(grid, s));
  std::vector<bool> marked(grid.size(), false);
  for (const writer& w : writers)
    for (const auto& [cell, b] : w.at)
      if (cell >= 0 && cell < static_cast<std::int64_t>(grid.size()))
        marked[static_cast<std::size_t>(cell)] = true;

  inverted<record_order> out;
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (!marked[c] && grid[c].preavviso != 0)
      out.problems.push_back("cell " + std::to_string(c) + ": approach mark " +
                             std::to_string(grid[c].preavviso) +
                             " that no station or signal writes");

  peeler p(grid, writers, stations);
  const std::vector<std::size_t> last_first = p.peel();
  const std::vector<std::size_t> order(last_first.rbegin(), last_first.rend());
  std::vector<std::int64_t> wrong = p.wrong();
  std::sort(wrong.begin(), wrong.end());
  for (std::int64_t cell : wrong) {
    const std::uint8_t mark = grid[static_cast<std::size_t>(cell)].preavviso;
    // Whether any record marking the cell writes its mark.
    bool written = false;
    for (const writer& w : writers)
      for (const auto& [c, b] : w.at)
        if (c == cell) {
          const auto code_class = class_of_mark(mark, b);
          written = written ||
                    (w.station ? mark == 80 + b : code_class && code_in_class(w.type, *code_class));
        }
    out.problems.push_back(
        "cell " + std::to_string(cell) + ": approach mark " + std::to_string(mark) +
        (written ? ", which no order of the stations and signals marking it "
                   "leaves there"
                 : ", which none of the stations and signals marking it writes"));
  }

  for (std::size_t i = 0; i < signals.size(); ++i) {
    const std::size_t w = stations + i;
    const std::int16_t type = writers[w].type;
    const std::optional<std::int64_t>& c = p.code_class(w);
    out.records.codes.push_back(c ? *code_in_class(type, *c) : signal_code(signals[i]));
  }
  std::size_t stations_written = 0;
  for (std::size_t w : order) {
    if (w < stations) {
      ++stations_written;
      continue;
    }
    out.records.signals.push_back(w - stations);
    out.records.before.push_back(stations_written);
  }
  return out;
}

}  // namespace scenario
