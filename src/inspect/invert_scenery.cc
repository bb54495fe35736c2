#include "inspect/invert_scenery.h"

#include <algorithm>
#include <functional>
#include <string>

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

constexpr std::uint8_t k_close_type = 3;  // the type of a section close after another

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
    std::vector<std::int64_t> rest[4];  // markers left, by cell index modulo 4
    for (std::int64_t c = first; c <= last; ++c)
      if (marker(c) && !explained(c) && !(markers && (c - first) % 4 == 3))
        rest[c % 4].push_back(c);
    for (const std::vector<std::int64_t>& row : rest)
      for (std::size_t i = 0; i < row.size();) {
        if (row[i] - 3 < first) {
          problems_.push_back("cell " + std::to_string(row[i]) +
                              ": a scenery marker that no section of its run can place");
          ++i;
          continue;
        }
        // As far along the row as every fourth cell is taken.
        std::size_t j = i;
        while (j + 1 < row.size() && markers_fit(row[j] + 1, row[j + 1])) ++j;
        out.push_back({row[i] - 3, row[j], type, true});
        i = j + 1;
      }
  }

 private:
  bool marker(std::int64_t c) const {
    return grid_[static_cast<std::size_t>(c)].tipo_cella == k_scenery_marker;
  }
  // Markers on cells first + 3, + 7, ... need those cells taken in the grid.
  bool markers_fit(std::int64_t first, std::int64_t last) const {
    for (std::int64_t c = first + 3; c <= last; c += 4)
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
      if (p.markers && c >= p.first && c <= p.last && (c - p.first) % 4 == 3) return true;
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
      if ((c - r.first) % 4 == 3) {
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
  // A type above 10 asks for markers; the compile keeps the low 8 bits.
  if (p.markers) return p.type == 0 ? 266 : p.type + 10;
  return p.type <= 10 ? p.type : p.type - 256;
}

std::vector<scenery_values> sections_of(const std::vector<piece>& pieces) {
  std::vector<scenery_values> out;
  for (const piece& p : pieces) {
    const auto inizio = static_cast<std::int32_t>(p.first * k_cell_metres);
    const auto fine = static_cast<std::int32_t>((p.last + 1) * k_cell_metres);
    // An empty section 200 m back keeps this one from counting as close.
    if (p.type != k_close_type && !out.empty() && std::int64_t{inizio} - out.back().fine <= 150)
      out.push_back({inizio - 200, inizio - 200, k_close_type});
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
std::vector<scenery_values> general_sections(const percorso_t& grid,
                                             std::vector<std::string>& problems) {
  const auto size = static_cast<std::int64_t>(grid.size());
  auto kind = [&](std::int64_t c) { return grid[static_cast<std::size_t>(c)].tipo_cella; };
  auto type = [&](std::int64_t c) { return grid[static_cast<std::size_t>(c)].ambiente; };
  // Markers on cells first + 3, + 7, ... up to last: none of them empty.
  auto fits = [&](std::int64_t first, std::int64_t last) {
    for (std::int64_t c = first + 3; c <= last; c += 4)
      if (kind(c) == k_empty) return false;
    return true;
  };
  std::vector<bool> placed(grid.size(), false);
  auto place = [&](const piece& p) {
    if (p.markers)
      for (std::int64_t c = p.first + 3; c <= p.last; c += 4)
        placed[static_cast<std::size_t>(c)] = true;
  };
  auto runs_where = [&](const std::vector<bool>& wanted) {
    std::vector<piece> runs;
    for (std::int64_t c = 0; c < size; ++c) {
      if (!wanted[static_cast<std::size_t>(c)]) continue;
      if (!runs.empty() && runs.back().type == type(c) && runs.back().last == c - 1)
        runs.back().last = c;
      else
        runs.push_back({c, c, type(c), false});
    }
    return runs;
  };
  auto with_markers = [&](piece& p) {
    bool needed = false;
    for (std::int64_t c = p.first + 3; c <= p.last; c += 4)
      needed = needed || kind(c) == k_scenery_marker;
    p.markers = needed && fits(p.first, p.last);
    place(p);
  };

  std::vector<bool> wanted(grid.size(), false);
  for (std::int64_t c = 0; c < size; ++c) wanted[static_cast<std::size_t>(c)] = type(c) != 0;
  for (piece p : runs_where(wanted)) with_markers(p);

  // Rows of the markers left, each as one section over them.
  std::vector<piece> rows;
  for (std::int64_t phase = 0; phase < 4; ++phase)
    for (std::int64_t c = phase; c < size; c += 4) {
      if (kind(c) != k_scenery_marker || placed[static_cast<std::size_t>(c)]) continue;
      if (c < 3) {
        problems.push_back("cell " + std::to_string(c) +
                           ": a scenery marker in the first three cells, which no section places");
        continue;
      }
      std::int64_t last = c;
      for (std::int64_t next = c + 4; next < size && kind(next) != k_empty; next += 4)
        if (kind(next) == k_scenery_marker) last = next;
      for (std::int64_t m = c; m <= last; m += 4) placed[static_cast<std::size_t>(m)] = true;
      rows.push_back({c - 3, last, k_close_type, true});
      for (std::int64_t w = c - 3; w <= last; ++w) wanted[static_cast<std::size_t>(w)] = true;
    }
  std::sort(rows.begin(), rows.end(),
            [](const piece& a, const piece& b) { return a.first < b.first; });

  std::vector<scenery_values> out;
  auto add = [&](const piece& p) {
    out.push_back({static_cast<std::int32_t>(p.first * k_cell_metres),
                   static_cast<std::int32_t>((p.last + 1) * k_cell_metres), written_type(p)});
  };
  // An empty section ending 200 m before p keeps p from counting as close.
  auto spaced_add = [&](const piece& p) {
    const std::int64_t inizio = p.first * k_cell_metres;
    if (p.type != k_close_type && !out.empty() && inizio - out.back().fine <= 150)
      out.push_back({static_cast<std::int32_t>(inizio), static_cast<std::int32_t>(inizio - 200),
                     k_close_type});
    add(p);
  };
  // A run after the last cell a section may start on starts there, after
  // the rows and before the runs, the one reaching further first; the runs
  // give the cells before it their types.
  const std::int64_t last_start = std::int64_t{last_cell(grid)} - 2;
  std::vector<piece> tail;
  std::vector<piece> spaced, close;
  for (piece p : runs_where(wanted)) {
    with_markers(p);
    if (p.first > last_start && last_start >= 0) {
      for (std::int64_t c = last_start; c < p.first; ++c)
        wanted[static_cast<std::size_t>(c)] = true;
      p.first = last_start;
      p.markers = false;
      tail.insert(tail.begin(), p);
    }
  }
  for (const piece& r : rows) add(r);
  for (const piece& p : tail) spaced_add(p);
  for (piece p : runs_where(wanted)) {
    if (p.first > last_start) continue;
    with_markers(p);
    (p.type == k_close_type ? close : spaced).push_back(p);
  }
  // Each next section more than 150 m after the one before: the nearest
  // such to the left, or an empty section ending 200 m before the leftmost.
  while (!spaced.empty()) {
    auto next = spaced.begin();
    if (!out.empty()) {
      const std::int64_t end = out.back().fine;
      next = std::find_if(spaced.begin(), spaced.end(),
                          [&](const piece& p) { return p.first * k_cell_metres - end > 150; });
      if (next == spaced.end()) next = spaced.begin();
    }
    spaced_add(*next);
    spaced.erase(next);
  }
  for (const piece& p : close) add(p);
  return out;
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
