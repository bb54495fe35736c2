#include "inspect/mark_order.h"

#include <algorithm>
#include <optional>
#include <string>

#include "inspect/invert_signals.h"
#include "model/cell_objects.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

// One record that writes approach marks: a station (its marks fixed) or a
// signal (its marks follow its code).
struct writer {
  bool station = false;
  std::int16_t type = 0;                         // a signal's type value
  std::vector<std::pair<std::int64_t, int>> at;  // cell, b (1 nearest)
  // A signal under a station's stop: written before that station (this
  // writer's index); optional when nothing but its marks needs it.
  std::optional<std::size_t> under_station;
  bool optional = false;
};

// The cells a station marks before its stop, as the station reader writes
// them.
writer station_writer(const stazione& s) {
  writer w;
  w.station = true;
  if (!station_marks_cells(s.tipo_stazione)) return w;
  const std::int64_t stop = station_stop_cell(s.fine);
  for (int b = 1; b <= k_approach_marks; ++b)
    if (station_mark_written(stop, b)) w.at.push_back({station_mark_cell(stop, b), b});
  return w;
}

// The cells a signal in cell k marks, its type value that of the cell.
writer signal_writer(const percorso_t& grid, std::int64_t k) {
  writer w;
  w.type = grid[static_cast<std::size_t>(k)].valore_d;
  for (int b = 1; b <= k_approach_marks; ++b) w.at.push_back({signal_mark_cell(k, b), b});
  return w;
}

std::int64_t cell_of_signal(const signal_record& s) {
  return point_cell(s.posizione);
}

class peeler {
 public:
  peeler(const percorso_t& grid, std::vector<writer> writers, std::size_t stations)
      : grid_(&grid),
        writers_(std::move(writers)),
        stations_(stations),
        settled_(grid.size(), false),
        done_(writers_.size(), false),
        codes_(writers_.size(), std::nullopt),
        required_(grid.size(), false) {
    for (const writer& wr : writers_)
      if (!wr.optional)
        for (const auto& [cell, b] : wr.at)
          if (cell >= 0 && cell < static_cast<std::int64_t>(grid.size()))
            required_[static_cast<std::size_t>(cell)] = true;
  }

  // The writers, last written first. When none leaves every open cell of
  // its as the grid shows it, the one leaving fewest wrong goes, and those
  // cells are kept in wrong().
  std::vector<std::size_t> peel(bool with_optional) {
    std::vector<std::size_t> last_first;
    std::size_t next_station = stations_;  // stations go last to first
    // How many records still to place, optional ones aside, mark each cell.
    std::vector<int> required_left(grid_->size(), 0);
    for (const writer& wr : writers_)
      if (!wr.optional)
        for (const auto& [cell, b] : wr.at)
          if (open(cell)) ++required_left[static_cast<std::size_t>(cell)];
    auto sole = [&](std::size_t w) {
      for (const auto& [cell, b] : writers_[w].at)
        if (open_mark(cell) && required_left[static_cast<std::size_t>(cell)] == 0) return true;
      return false;
    };
    for (;;) {
      // A record that must be written whose marks every open cell of its
      // shows; then an optional one whose marks are all shown, first one
      // leaving a mark that no record still to place writes; failing all,
      // the record leaving fewest marks wrong.
      std::optional<std::size_t> best;
      std::vector<std::int64_t> best_wrong;
      for (int tier = 0; tier < 4 && !(best && best_wrong.empty()); ++tier) {
        const bool optional = tier == 1 || tier == 2;
        if (optional && !with_optional) continue;
        for (std::size_t w = writers_.size(); w-- > 0;) {
          const writer& wr = writers_[w];
          if (done_[w] || wr.optional != optional || (wr.station && w + 1 != next_station) ||
              (wr.under_station && !done_[*wr.under_station]))
            continue;
          std::vector<std::int64_t> wrong = wrong_cells(w);
          if (tier < 3 && !wrong.empty()) continue;
          if (optional && (!any_open_mark(w) || (tier == 1 && !sole(w)))) continue;
          if (!best || wrong.size() < best_wrong.size()) {
            best = w;
            best_wrong = std::move(wrong);
            if (best_wrong.empty()) break;
          }
        }
      }
      if (!best) break;
      const std::size_t w = *best;
      done_[w] = true;
      if (writers_[w].station) --next_station;
      for (const auto& [cell, b] : writers_[w].at) {
        if (!writers_[w].optional && open(cell)) --required_left[static_cast<std::size_t>(cell)];
        settle(cell);
      }
      wrong_.insert(wrong_.end(), best_wrong.begin(), best_wrong.end());
      last_first.push_back(w);
    }
    return last_first;
  }

  const std::optional<std::int64_t>& code_class(std::size_t w) const { return codes_[w]; }
  // An open cell with a mark: one that some record must have left. A mark
  // of 0 where a record that must be written marks the cell is one too: a
  // code whose mark wraps to 0 was written there after it.
  bool open_mark(std::int64_t cell) const {
    return open(cell) && (mark(cell) != 0 || required_[static_cast<std::size_t>(cell)]);
  }
  // The cells left with a mark other than the grid's.
  const std::vector<std::int64_t>& wrong() const { return wrong_; }

 private:
  std::uint8_t mark(std::int64_t cell) const {
    return (*grid_)[static_cast<std::size_t>(cell)].preavviso;
  }
  void settle(std::int64_t cell) {
    if (cell >= 0 && cell < static_cast<std::int64_t>(grid_->size()))
      settled_[static_cast<std::size_t>(cell)] = true;
  }
  bool any_open_mark(std::size_t w) const {
    for (const auto& [cell, b] : writers_[w].at)
      if (open_mark(cell)) return true;
    return false;
  }
  bool open(std::int64_t cell) const {
    return cell >= 0 && cell < static_cast<std::int64_t>(grid_->size()) &&
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
        if (open(cell) && station_mark_b(mark(cell)) != b) wrong.push_back(cell);
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

  const percorso_t* grid_;
  std::vector<writer> writers_;
  std::size_t stations_;
  std::vector<bool> settled_;
  std::vector<bool> done_;
  std::vector<std::optional<std::int64_t>> codes_;
  std::vector<std::int64_t> wrong_;
  std::vector<bool> required_;  // cells a record that must be written marks
};

// Writers 0 to stations - 1 are the stations, then the signals, then
// those that may lie under stops.
std::vector<writer> writers_of(const percorso_t& grid, const stazioni_t& table,
                               std::size_t stations, const std::vector<signal_record>& signals,
                               const std::vector<std::size_t>& covered) {
  std::vector<writer> writers;
  for (std::size_t s = 1; s <= stations; ++s) writers.push_back(station_writer(table[s]));
  for (const signal_record& s : signals) writers.push_back(signal_writer(grid, cell_of_signal(s)));
  for (std::size_t cell : covered) {
    writer w = signal_writer(grid, static_cast<std::int64_t>(cell));
    w.under_station = static_cast<std::size_t>(grid[cell].valore_a) - 1;
    w.optional = grid[cell].ritardo == 0;
    writers.push_back(std::move(w));
  }
  return writers;
}

// A mark on a cell that no writer marks.
void unwritten_marks(const percorso_t& grid, const std::vector<writer>& writers,
                     std::vector<std::string>& problems) {
  std::vector<bool> marked(grid.size(), false);
  for (const writer& w : writers)
    for (const auto& [cell, b] : w.at)
      if (cell >= 0 && cell < static_cast<std::int64_t>(grid.size()))
        marked[static_cast<std::size_t>(cell)] = true;
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (!marked[c] && grid[c].preavviso != 0)
      problems.push_back("cell " + std::to_string(c) + ": approach mark " +
                         std::to_string(grid[c].preavviso) + " that no station or signal writes");
}

// One peeling of the writers: the order it found and the cells it leaves
// with another mark than the grid's.
struct attempt {
  peeler p;
  std::vector<std::size_t> order;
  std::vector<std::int64_t> wrong;
};

attempt peeled(const percorso_t& grid, const std::vector<writer>& writers, std::size_t stations,
               bool with_optional) {
  attempt a{peeler(grid, writers, stations), {}, {}};
  const std::vector<std::size_t> last_first = a.p.peel(with_optional);
  a.order.assign(last_first.rbegin(), last_first.rend());
  std::vector<bool> placed(writers.size(), false);
  for (std::size_t w : a.order) placed[w] = true;
  // Open cells that only optional records mark are left as they are.
  a.wrong = a.p.wrong();
  for (std::size_t w = 0; w < writers.size(); ++w)
    if (writers[w].optional && !placed[w])
      for (const auto& [cell, b] : writers[w].at)
        if (a.p.open_mark(cell)) a.wrong.push_back(cell);
  std::sort(a.wrong.begin(), a.wrong.end());
  a.wrong.erase(std::unique(a.wrong.begin(), a.wrong.end()), a.wrong.end());
  return a;
}

// The cells the order leaves wrong, each told as a mark no writer writes or
// one no order leaves.
void wrong_marks(const percorso_t& grid, const std::vector<writer>& writers,
                 const std::vector<std::int64_t>& wrong, std::vector<std::string>& problems) {
  for (std::int64_t cell : wrong) {
    const std::uint8_t mark = grid[static_cast<std::size_t>(cell)].preavviso;
    // Whether any record marking the cell writes its mark.
    bool written = false;
    for (const writer& w : writers)
      for (const auto& [c, b] : w.at)
        if (c == cell) {
          const auto code_class = class_of_mark(mark, b);
          written = written || (w.station ? station_mark_b(mark) == b
                                          : code_class && code_in_class(w.type, *code_class));
        }
    problems.push_back("cell " + std::to_string(cell) + ": approach mark " + std::to_string(mark) +
                       (written ? ", which no order of the stations and signals marking it "
                                  "leaves there"
                                : ", which none of the stations and signals marking it writes"));
  }
}

// The code of each signal writer and the order of the signals among the
// stations, from a peeling.
record_order order_of(const attempt& chosen, const std::vector<writer>& writers,
                      std::size_t stations, const std::vector<signal_record>& signals) {
  record_order out;
  for (std::size_t i = 0; i + stations < writers.size(); ++i) {
    const std::size_t w = stations + i;
    const std::optional<std::int64_t>& c = chosen.p.code_class(w);
    out.codes.push_back(c                    ? *code_in_class(writers[w].type, *c)
                        : i < signals.size() ? signal_code(signals[i])
                                             : ((writers[w].type % 10) + 10) % 10);
  }
  std::size_t stations_written = 0;
  for (std::size_t w : chosen.order) {
    if (w < stations) {
      ++stations_written;
      continue;
    }
    out.signals.push_back(w - stations);
    out.before.push_back(stations_written);
  }
  return out;
}

}  // namespace

inverted<record_order> order_marks(const percorso_t& grid, const stazioni_t& table,
                                   std::size_t stations, const std::vector<signal_record>& signals,
                                   const std::vector<std::size_t>& covered) {
  const std::vector<writer> writers = writers_of(grid, table, stations, signals, covered);
  inverted<record_order> out;
  unwritten_marks(grid, writers, out.problems);
  // Signals under stops only where the records that must be written do
  // not leave every mark.
  attempt chosen = peeled(grid, writers, stations, false);
  if (!chosen.wrong.empty()) {
    attempt with_optional = peeled(grid, writers, stations, true);
    if (with_optional.wrong.size() < chosen.wrong.size()) chosen = std::move(with_optional);
  }
  wrong_marks(grid, writers, chosen.wrong, out.problems);
  out.records = order_of(chosen, writers, stations, signals);
  return out;
}

inverted<signal_order> invert_signal_order(const percorso_t& grid, const stazioni_t& table,
                                           std::size_t stations,
                                           const std::vector<std::size_t>& over_slowdowns) {
  const std::vector<signal_record> signals = invert_signals(grid).records;
  // Stop cells where a signal's position check and its marks let one
  // stand (one whose values b, c and d were 0 leaves only its marks).
  // A stop over a slowdown's cell hides no signal.
  std::vector<std::size_t> covered;
  for (auto c = static_cast<std::size_t>(k_signal_mark_reach); c + 1 < grid.size(); ++c) {
    const cella& cell = grid[c];
    if (cell.tipo_cella == k_station_stop && cell.valore_a >= 1 &&
        static_cast<std::size_t>(cell.valore_a) <= stations &&
        !std::binary_search(over_slowdowns.begin(), over_slowdowns.end(), c))
      covered.push_back(c);
  }
  inverted<record_order> order = order_marks(grid, table, stations, signals, covered);
  inverted<signal_order> out;
  out.problems = std::move(order.problems);
  for (std::size_t i = 0; i < order.records.signals.size(); ++i) {
    const std::size_t index = order.records.signals[i];
    const std::int64_t code = order.records.codes[index];
    if (index < signals.size()) {
      const std::int64_t cell = cell_of_signal(signals[index]);
      out.records.signals.push_back(
          signal_in_cell(grid[static_cast<std::size_t>(cell)], cell, code));
    } else {
      const std::size_t cell = covered[index - signals.size()];
      cella under = grid[cell];
      under.valore_a = 0;  // the stop's number took the signal's first value
      out.records.signals.push_back(signal_in_cell(under, static_cast<std::int64_t>(cell), code));
      out.records.under_stops.push_back(cell);
    }
    out.records.before.push_back(order.records.before[i]);
  }
  std::sort(out.records.under_stops.begin(), out.records.under_stops.end());
  return out;
}

}  // namespace scenario
