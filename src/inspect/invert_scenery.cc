#include "inspect/invert_scenery.h"

#include <algorithm>
#include <functional>
#include <string>

#include "model/cell_objects.h"
#include "model/scenario_constants.h"
#include "route/scenery.h"

namespace scenario {
namespace {

// Cells first to last of scenery type `type`, marked or not.
struct piece {
  std::int64_t first = 0, last = 0;
  std::uint8_t type = 0;
  bool markers = false;
};

constexpr std::uint8_t k_close_type = k_close_scenery_type;
// How far before a section an empty one keeps it from counting as close.
constexpr std::int32_t k_spacer_back = 200;

std::vector<piece> runs_of(const percorso_t& grid) {
  std::vector<piece> runs;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const std::uint8_t t = grid[c].ambiente;
    if (t == 0) continue;
    const auto at = static_cast<std::int64_t>(c);
    if (!runs.empty() && runs.back().type == t && runs.back().last == at - 1)
      runs.back().last = at;
    else
      runs.push_back({at, at, t, false});
  }
  return runs;
}

// Sections for cells first..last of one type: one over them all, with
// markers when every fourth cell from the first is taken in the grid; then,
// for markers out of its step, one more section of the type for each row of
// them (marked after it, so it marks only the cells still empty). A marker
// for which `explained` holds is left to another section.
class painter {
 public:
  painter(const percorso_t& grid, std::vector<std::string>& problems)
      : grid_(grid), problems_(problems) {}

  void paint(std::int64_t first, std::int64_t last, std::uint8_t type,
             const std::function<bool(std::int64_t)>& explained, std::vector<piece>& out) {
    const bool markers = markers_fit(first, last);
    out.push_back({first, last, type, markers});
    std::vector<std::int64_t> rest[k_scenery_marker_step];  // markers left, by cell index modulo 4
    for (std::int64_t c = first; c <= last; ++c)
      if (marker(c) && !explained(c) && !(markers && scenery_marker_cell(first, c)))
        rest[c % k_scenery_marker_step].push_back(c);
    for (const std::vector<std::int64_t>& row : rest)
      for (std::size_t i = 0; i < row.size();) {
        if (scenery_first_for_marker(row[i]) < first) {
          problems_.push_back("cell " + std::to_string(row[i]) +
                              ": a scenery marker that no section of its run can place");
          ++i;
          continue;
        }
        // As far along the row as every fourth cell is taken.
        std::size_t j = i;
        while (j + 1 < row.size() && markers_fit(row[j] + 1, row[j + 1])) ++j;
        out.push_back({scenery_first_for_marker(row[i]), row[j], type, true});
        i = j + 1;
      }
  }

 private:
  bool marker(std::int64_t c) const {
    return grid_[static_cast<std::size_t>(c)].tipo_cella == k_scenery_marker;
  }
  // Markers on the marker cells of first..last need those cells taken in
  // the grid.
  bool markers_fit(std::int64_t first, std::int64_t last) const {
    for (std::int64_t c = scenery_first_marker(first); c <= last; c += k_scenery_marker_step)
      if (grid_[static_cast<std::size_t>(c)].tipo_cella == k_empty) return false;
    return true;
  }

  const percorso_t& grid_;
  std::vector<std::string>& problems_;
};

bool never(std::int64_t) {
  return false;
}

// One piece per run.
std::vector<piece> plain_pieces(const percorso_t& grid, std::vector<std::string>& problems) {
  painter s(grid, problems);
  std::vector<piece> out;
  for (const piece& r : runs_of(grid)) s.paint(r.first, r.last, r.type, never, out);
  return out;
}

// A section that later ones (of type 3, being close) cover in part shows as
// a run followed by runs of type 3, and maybe by the rest of it: one
// section for the whole of it, as far as its markers reach, then the
// covering ones.
std::vector<piece> overlapping_pieces(const percorso_t& grid, std::vector<std::string>& problems) {
  const std::vector<piece> runs = runs_of(grid);
  painter s(grid, problems);
  std::vector<piece> out;
  auto marked_before = [&](std::int64_t c) {
    for (const piece& p : out)
      if (p.markers && c <= p.last && scenery_marker_cell(p.first, c)) return true;
    return false;
  };
  for (std::size_t i = 0; i < runs.size();) {
    const piece& r = runs[i];
    std::size_t k = i + 1;  // past the covering runs
    while (k < runs.size() && runs[k].type == k_close_type && runs[k].first == runs[k - 1].last + 1)
      ++k;
    if (r.type == k_close_type || k == i + 1) {
      s.paint(r.first, r.last, r.type, marked_before, out);
      ++i;
      continue;
    }
    const bool rest =
        k < runs.size() && runs[k].type == r.type && runs[k].first == runs[k - 1].last + 1;
    const std::int64_t covered_last = runs[k - 1].last;
    std::int64_t last = rest ? runs[k].last : r.last;
    for (std::int64_t c = r.last + 1; !rest && c <= covered_last; ++c)
      if (scenery_marker_cell(r.first, c)) {
        if (grid[static_cast<std::size_t>(c)].tipo_cella == k_empty) break;
        if (grid[static_cast<std::size_t>(c)].tipo_cella == k_scenery_marker) last = c;
      }
    s.paint(
        r.first, last, r.type,
        [&](std::int64_t c) { return (c > r.last && c <= covered_last) || marked_before(c); }, out);
    for (std::size_t j = i + 1; j < k; ++j)
      s.paint(runs[j].first, runs[j].last, runs[j].type, marked_before, out);
    i = rest ? k + 1 : k;
  }
  return out;
}

std::int32_t written_type(const piece& p) {
  return scenery_tipo_of(p.type, p.markers);
}

std::vector<scenery_values> sections_of(const std::vector<piece>& pieces) {
  std::vector<scenery_values> out;
  for (const piece& p : pieces) {
    const auto inizio = static_cast<std::int32_t>(p.first * k_cell_metres);
    const auto fine = static_cast<std::int32_t>((p.last + 1) * k_cell_metres);
    // An empty section 200 m back keeps this one from counting as close.
    if (p.type != k_close_type && !out.empty() &&
        scenery_close(std::int64_t{inizio} - out.back().fine))
      out.push_back({inizio - k_spacer_back, inizio - k_spacer_back, k_close_type});
    out.push_back({inizio, fine, written_type(p)});
  }
  return out;
}

// Sections for any grid. Markers do not depend on the order of the
// sections (a marker stays, and the sections come before every object), so
// first one section for each row of markers, every fourth cell, that no
// later section places, its type written over; then one section per run
// of a scenery type (and of type 0 over the cells the rows wrote), each
// more than 150 m after the one before it in the file, or after an empty
// section put there for that, unless it is of type 3 anyway.
class general_builder {
 public:
  general_builder(const percorso_t& grid, std::vector<std::string>& problems)
      : grid_(grid),
        problems_(problems),
        size_(static_cast<std::int64_t>(grid.size())),
        placed_(grid.size(), false),
        wanted_(grid.size(), false) {}

  std::vector<scenery_values> sections() {
    for (std::int64_t c = 0; c < size_; ++c) wanted_[static_cast<std::size_t>(c)] = type(c) != 0;
    for (piece p : runs_where()) with_markers(p);
    const std::vector<piece> rows = marker_rows();
    const std::vector<piece> tail = tail_runs();
    for (const piece& r : rows) add(r);
    for (const piece& p : tail) spaced_add(p);
    std::vector<piece> spaced, close;
    for (piece p : runs_where()) {
      if (p.first > last_start()) continue;
      with_markers(p);
      (p.type == k_close_type ? close : spaced).push_back(p);
    }
    add_spaced(spaced);
    for (const piece& p : close) add(p);
    return std::move(out_);
  }

 private:
  std::uint8_t kind(std::int64_t c) const { return grid_[static_cast<std::size_t>(c)].tipo_cella; }
  std::uint8_t type(std::int64_t c) const { return grid_[static_cast<std::size_t>(c)].ambiente; }
  // The last cell a section may start on.
  std::int64_t last_start() const { return std::int64_t{last_cell(grid_)} - 2; }

  // Markers on the marker cells of first..last: none of them empty.
  bool fits(std::int64_t first, std::int64_t last) const {
    for (std::int64_t c = scenery_first_marker(first); c <= last; c += k_scenery_marker_step)
      if (kind(c) == k_empty) return false;
    return true;
  }

  // The runs of one scenery type over the cells wanted.
  std::vector<piece> runs_where() const {
    std::vector<piece> runs;
    for (std::int64_t c = 0; c < size_; ++c) {
      if (!wanted_[static_cast<std::size_t>(c)]) continue;
      if (!runs.empty() && runs.back().type == type(c) && runs.back().last == c - 1)
        runs.back().last = c;
      else
        runs.push_back({c, c, type(c), false});
    }
    return runs;
  }

  // p with markers where one of its marker cells shows one and all fit;
  // its markers are then placed.
  void with_markers(piece& p) {
    bool needed = false;
    for (std::int64_t c = scenery_first_marker(p.first); c <= p.last; c += k_scenery_marker_step)
      needed = needed || kind(c) == k_scenery_marker;
    p.markers = needed && fits(p.first, p.last);
    if (p.markers)
      for (std::int64_t c = scenery_first_marker(p.first); c <= p.last; c += k_scenery_marker_step)
        placed_[static_cast<std::size_t>(c)] = true;
  }

  // The rows of the markers left, each as one section over them, in order
  // of their first cells; their cells are wanted from then on.
  std::vector<piece> marker_rows() {
    std::vector<piece> rows;
    for (std::int64_t phase = 0; phase < k_scenery_marker_step; ++phase)
      for (std::int64_t c = phase; c < size_; c += k_scenery_marker_step) {
        if (kind(c) != k_scenery_marker || placed_[static_cast<std::size_t>(c)]) continue;
        if (scenery_first_for_marker(c) < 0) {
          problems_.push_back(
              "cell " + std::to_string(c) +
              ": a scenery marker in the first three cells, which no section places");
          continue;
        }
        std::int64_t last = c;
        for (std::int64_t next = c + k_scenery_marker_step; next < size_ && kind(next) != k_empty;
             next += k_scenery_marker_step)
          if (kind(next) == k_scenery_marker) last = next;
        for (std::int64_t m = c; m <= last; m += k_scenery_marker_step)
          placed_[static_cast<std::size_t>(m)] = true;
        rows.push_back({scenery_first_for_marker(c), last, k_close_type, true});
        for (std::int64_t w = scenery_first_for_marker(c); w <= last; ++w)
          wanted_[static_cast<std::size_t>(w)] = true;
      }
    std::sort(rows.begin(), rows.end(),
              [](const piece& a, const piece& b) { return a.first < b.first; });
    return rows;
  }

  // A run after the last cell a section may start on starts there, after
  // the rows and before the runs, the one reaching further first; the runs
  // give the cells before it their types.
  std::vector<piece> tail_runs() {
    const std::int64_t start = last_start();
    std::vector<piece> tail;
    for (piece p : runs_where()) {
      with_markers(p);
      if (p.first > start && start >= 0) {
        for (std::int64_t c = start; c < p.first; ++c) wanted_[static_cast<std::size_t>(c)] = true;
        p.first = start;
        p.markers = false;
        tail.insert(tail.begin(), p);
      }
    }
    return tail;
  }

  void add(const piece& p) {
    out_.push_back({static_cast<std::int32_t>(p.first * k_cell_metres),
                    static_cast<std::int32_t>((p.last + 1) * k_cell_metres), written_type(p)});
  }
  // An empty section ending 200 m before p keeps p from counting as close.
  void spaced_add(const piece& p) {
    const std::int64_t inizio = p.first * k_cell_metres;
    if (p.type != k_close_type && !out_.empty() && scenery_close(inizio - out_.back().fine))
      out_.push_back({static_cast<std::int32_t>(inizio),
                      static_cast<std::int32_t>(inizio - k_spacer_back), k_close_type});
    add(p);
  }
  // Each next section not close after the one before: the nearest such to
  // the left, or an empty section ending 200 m before the leftmost.
  void add_spaced(std::vector<piece>& spaced) {
    while (!spaced.empty()) {
      auto next = spaced.begin();
      if (!out_.empty()) {
        const std::int64_t end = out_.back().fine;
        next = std::find_if(spaced.begin(), spaced.end(), [&](const piece& p) {
          return !scenery_close(p.first * k_cell_metres - end);
        });
        if (next == spaced.end()) next = spaced.begin();
      }
      spaced_add(*next);
      spaced.erase(next);
    }
  }

  const percorso_t& grid_;
  std::vector<std::string>& problems_;
  std::int64_t size_;
  std::vector<bool> placed_;  // marker cells a section places
  std::vector<bool> wanted_;  // cells a section must cover
  std::vector<scenery_values> out_;
};

std::vector<scenery_values> general_sections(const percorso_t& grid,
                                             std::vector<std::string>& problems) {
  return general_builder(grid, problems).sections();
}

// The cells whose scenery type or marker the sections do not give.
std::vector<std::int64_t> mismatches(const percorso_t& grid,
                                     const std::vector<scenery_values>& sections,
                                     std::vector<std::string>& problems) {
  percorso_t marked(grid.size());
  scenery_sections state;
  for (const scenery_values& s : sections) {
    std::int32_t tipo = s.tipo;
    if (std::int64_t{s.inizio} + 100 > std::int64_t{k_cell_metres} * last_cell(grid))
      problems.push_back("cell " + std::to_string(s.inizio / k_cell_metres) +
                         ": a scenery section starts too close to the end of the grid");
    if (memo_montagna(marked, state, s.inizio, s.fine, tipo) != 0) {
      problems.push_back("cell " + std::to_string(s.inizio / k_cell_metres) +
                         ": more scenery sections than a line description may hold");
      break;
    }
  }
  std::vector<std::int64_t> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const std::uint8_t kind = grid[c].tipo_cella;
    const bool marker = marked[c].tipo_cella == k_scenery_marker;
    if (marked[c].ambiente != grid[c].ambiente || (kind == k_scenery_marker && !marker) ||
        (kind == k_empty && marker))
      out.push_back(static_cast<std::int64_t>(c));
  }
  return out;
}

}  // namespace

inverted<std::vector<scenery_values>> invert_scenery(const percorso_t& grid) {
  // The plainest sections that give the grid; those for any grid last, and
  // when even they do not, what they miss.
  auto plain = [](const percorso_t& g, std::vector<std::string>& problems) {
    return sections_of(plain_pieces(g, problems));
  };
  auto overlapping = [](const percorso_t& g, std::vector<std::string>& problems) {
    return sections_of(overlapping_pieces(g, problems));
  };
  using attempt =
      std::function<std::vector<scenery_values>(const percorso_t&, std::vector<std::string>&)>;
  inverted<std::vector<scenery_values>> out;
  std::vector<std::int64_t> miss;
  for (const attempt& sections_for :
       {attempt(plain), attempt(overlapping), attempt(general_sections)}) {
    out.problems.clear();
    out.records = sections_for(grid, out.problems);
    miss = mismatches(grid, out.records, out.problems);
    if (miss.empty() && out.problems.empty()) return out;
  }
  for (std::int64_t c : miss)
    out.problems.push_back("cell " + std::to_string(c) +
                           ": no scenery sections give this cell's scenery type and marker");
  return out;
}

}  // namespace scenario
