#include "inspect/invert_slowdowns.h"

#include <algorithm>
#include <optional>
#include <string>

#include "model/scenario_constants.h"

namespace scenario {
namespace {

// Whether a slowdown starting at x, where there is such a start, has its
// approach head (the approach cell that holds 1) in cell h.
bool approach_head_is(std::optional<std::int32_t> x, std::int64_t h) {
  return x && slowdown_approach_head(*x) == h;
}

class slowdown_reader {
 public:
  explicit slowdown_reader(const percorso_t& grid) : grid_(grid), claimed_(grid.size(), false) {}

  // Every slowdown with a start cell shown, then those whose start a stop
  // took, found from the warning, approach and end cells they left.
  inverted<slowdown_order> read_all() {
    for (std::int64_t c = 0; c < size(); ++c)
      if (is(c, k_slowdown_start)) read(c);
    for (std::int64_t c = 0; c < size(); ++c)
      if (shown(c, k_slowdown_warning) && stop_keeps(slowdown_start_of_warning(c), kept(c).d_v) &&
          start_fits(slowdown_start_of_warning(c)))
        read(slowdown_start_of_warning(c));
    for (std::int64_t c = 0; c < size(); ++c) {
      if (!shown(c, k_slowdown_approach)) continue;
      const std::optional<int> i = slowdown_approach_index(at(c));
      if (!i) continue;
      // Cell h - i holds i + 1.
      if (const std::optional<std::int64_t> start = start_for_approach(c + *i)) read(*start);
    }
    for (std::int64_t e = 0; e < size(); ++e) {
      if (!shown(e, k_slowdown_end)) continue;
      for (std::int64_t start = e - 1; start > 1; --start)
        if (stop_keeps(start, kept(e).d_v, kept(e).f_tt) && start_fits(start)) {
          read(start);
          break;
        }
    }
    const std::vector<std::string> rest = unclaimed();
    out_.problems.insert(out_.problems.end(), rest.begin(), rest.end());
    std::sort(out_.records.under_stops.begin(), out_.records.under_stops.end());
    return std::move(out_);
  }

 private:
  // The slowdown whose start cell, shown or under a stop, is `start`.
  void read(std::int64_t start) {
    const slowdown_kept s = kept(start);
    std::optional<std::int16_t> v;
    if (at(start).tipo_cella == k_slowdown_start) v = s.v;
    const std::int16_t b = s.d_v, f_tt = s.f_tt;
    under_ = 0;
    take(start);
    std::int32_t x = point_position(start);
    std::int32_t f_ta = 0, d_v = b;
    if (slowdown_warned(x)) {
      const std::int64_t warning = start - k_slowdown_warning_cells;
      if (is(warning, k_slowdown_warning) && (!v || kept(warning).v == *v) &&
          kept(warning).d_v == b) {
        v = kept(warning).v;
        take(warning);
      } else if (stop_keeps(warning, b, 0)) {
        take(warning);
      } else {
        out_.problems.push_back("cell " + std::to_string(start) +
                                ": a slowdown start whose warning cell " + std::to_string(warning) +
                                " holds neither its warning nor a station stop over it");
      }
      read_approach(start, x, f_ta, d_v);
    }
    // The end: the first after the start, else (a length below 0) the
    // nearest before it.
    const auto end_of_this = [&](std::int64_t e) {
      return is(e, k_slowdown_end) && !claimed(e) && (!v || kept(e).v == *v) && kept(e).d_v == b &&
             kept(e).f_tt == f_tt;
    };
    std::int64_t end = start;
    for (std::int64_t e = start + 1; e < size() && end == start; ++e)
      if (end_of_this(e)) end = e;
    for (std::int64_t e = start - 1; e >= 0 && end == start; --e)
      if (end_of_this(e)) end = e;
    if (end != start) v = kept(end).v;
    take(end);
    const std::int32_t length = point_position(end) - x;
    out_.records.slowdowns.push_back({x, v.value_or(0), length, f_tt, f_ta, d_v});
    out_.records.under_station.push_back(under_);
  }

  // The start under a stop whose approach head is h: one cell after its
  // warning cell's place, or two for a start on a half cell.
  std::optional<std::int64_t> start_for_approach(std::int64_t h) const {
    const std::int64_t first = h + k_slowdown_warning_cells + 1;
    for (std::int64_t start = first; start <= first + 1; ++start) {
      const slowdown_starts xs = slowdown_starts_in(start);
      if ((approach_head_is(xs.whole, h) || approach_head_is(xs.half, h)) && stop_under(start) &&
          start_fits(start))
        return start;
    }
    return std::nullopt;
  }

  // The approach cells of the slowdown starting in cell `start`: those of a
  // start at the cell's position or, for an even cell, on the half cell
  // before it (x then moves there). f_ta is 1 where they are found; d_v is
  // read from value b of the start's marks and the approach cells.
  void read_approach(std::int64_t start, std::int32_t& x, std::int32_t& f_ta, std::int32_t& d_v) {
    const slowdown_starts xs = slowdown_starts_in(start);
    std::int64_t h = slowdown_approach_head(xs.whole);
    if (xs.half && !approach_at(h) && approach_at(slowdown_approach_head(*xs.half))) {
      x = *xs.half;
      h = slowdown_approach_head(x);
    } else if (!approach_at(h)) {
      return;
    }
    f_ta = 1;
    bool numbered = true;  // approach cells showing their number in value b too
    for (int i = 0; i < k_slowdown_approach_cells; ++i) {
      numbered = numbered && at(h - i).valore_b == i + 1;
      take(h - i);
    }
    d_v = slowdown_d_v(static_cast<std::int16_t>(d_v), numbered);
  }

  // Marks of a slowdown that no start claimed.
  std::vector<std::string> unclaimed() const {
    std::vector<std::string> out;
    for (std::int64_t c = 0; c < size(); ++c) {
      const std::uint8_t kind = at(c).tipo_cella;
      if (!claimed(c) && kind >= k_slowdown_end && kind <= k_slowdown_approach)
        out.push_back("cell " + std::to_string(c) + ": a " + std::string(cell_kind_name(kind)) +
                      " that belongs to no slowdown start");
    }
    return out;
  }

  std::int64_t size() const { return static_cast<std::int64_t>(grid_.size()); }
  const cella& at(std::int64_t c) const { return grid_[static_cast<std::size_t>(c)]; }
  slowdown_kept kept(std::int64_t c) const { return slowdown_kept_in(at(c)); }
  bool claimed(std::int64_t c) const { return claimed_[static_cast<std::size_t>(c)]; }
  bool is(std::int64_t c, std::uint8_t kind) const {
    return c >= 0 && c < size() && at(c).tipo_cella == kind;
  }
  bool shown(std::int64_t c, std::uint8_t kind) const { return is(c, kind) && !claimed(c); }
  // A station stop no slowdown has taken yet, keeping nothing but what a
  // slowdown's cell leaves (values b and c).
  bool stop_under(std::int64_t c) const {
    return shown(c, k_station_stop) && at(c).valore_a >= 1 && at(c).valore_d == 0 &&
           at(c).ritardo == 0;
  }
  bool stop_keeps(std::int64_t c, std::int16_t d_v) const {
    return stop_under(c) && kept(c).d_v == d_v;
  }
  bool stop_keeps(std::int64_t c, std::int16_t d_v, std::int16_t f_tt) const {
    return stop_keeps(c, d_v) && kept(c).f_tt == f_tt;
  }
  // A start under a stop whose warning cell, where it needs one, is shown
  // with the same second value or lies under a stop too.
  bool start_fits(std::int64_t start) const {
    if (!slowdown_warned(point_position(start))) return true;
    const std::int64_t warning = start - k_slowdown_warning_cells;
    const std::int16_t b = kept(start).d_v;
    return (shown(warning, k_slowdown_warning) && kept(warning).d_v == b) ||
           stop_keeps(warning, b, 0);
  }
  // Cells h to h - 3 hold the approach values 1 to 4, or one of them lies
  // under a stop that keeps what an approach cell leaves.
  bool approach_at(std::int64_t h) const {
    for (int i = 0; i < k_slowdown_approach_cells; ++i) {
      const bool mark = is(h - i, k_slowdown_approach) && slowdown_approach_index(at(h - i)) == i;
      const bool covered = stop_under(h - i) && slowdown_approach_b_c(at(h - i), i);
      if (!mark && !covered) return false;
    }
    return true;
  }
  void take(std::int64_t c) {
    if (c < 0 || c >= size()) return;
    claimed_[static_cast<std::size_t>(c)] = true;
    if (at(c).tipo_cella != k_station_stop) return;
    out_.records.under_stops.push_back(static_cast<std::size_t>(c));
    under_ = under_ == 0 ? at(c).valore_a : std::min<std::int32_t>(under_, at(c).valore_a);
  }

  const percorso_t& grid_;
  std::vector<bool> claimed_;
  inverted<slowdown_order> out_;
  std::int32_t under_ = 0;  // the lowest station over the slowdown being read
};

}  // namespace

inverted<slowdown_order> invert_slowdowns(const percorso_t& grid) {
  return slowdown_reader(grid).read_all();
}

}  // namespace scenario
