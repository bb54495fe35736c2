// The lanes of lineside objects under the line's own lanes: station areas
// and stops, signals, boards, the slowdown marks and the code points, each
// drawn where its cell begins. Objects closer than their glyphs are wide
// are drawn as one group whose tooltip lists them; labels are placed after
// every glyph is down.
#include <algorithm>
#include <functional>
#include <string>

#include "common/utf8_text.h"
#include "draw/glyphs.h"
#include "draw/picture_parts.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

constexpr double k_station_lane = 24;
constexpr double k_signal_lane = 36;
constexpr double k_board_lane = 34;
constexpr double k_slowdown_lane = 48;
constexpr double k_code_lane = 24;

// A label wanted beside a glyph once every glyph is down.
struct wanted_label {
  std::string text;
  std::vector<box> candidates;
  bool must = false;
  std::string style;
};

// One object of a lane: its cell, x, tooltip and record.
struct lane_object {
  std::size_t cell = 0;
  double x = 0;
  std::string title;
  source_ref from;
};

// The objects of the kinds given that stand in the stretch drawn.
std::vector<lane_object> objects_of(const scenario_view& view, const distance_axis& ax,
                                    std::initializer_list<std::uint8_t> kinds,
                                    const std::function<std::string(std::size_t)>& title) {
  std::vector<lane_object> out;
  for (std::size_t n = 0; n < view.grid.size(); ++n) {
    const std::uint8_t k = view.grid[n].tipo_cella;
    if (std::find(kinds.begin(), kinds.end(), k) == kinds.end()) continue;
    const double m = n * k_cell_span;
    if (!ax.covers(m)) continue;
    out.push_back({n, ax.x(m), title(n), object_ref(view, n)});
  }
  return out;
}

// Draws each object with glyph, or each group of objects too close to part
// as one bar at group_y (which leads to its first object's record); single
// objects may want a label.
void draw_objects(svg_writer& svg, const scenario_view& view, label_placer& placer,
                  const std::vector<lane_object>& objects, double glyph_width, double group_y,
                  const std::string& colour, const std::string& what,
                  const std::function<box(const lane_object&)>& glyph,
                  const std::function<void(const lane_object&, const box&)>& single) {
  std::vector<double> xs;
  xs.reserve(objects.size());
  for (const lane_object& o : objects) xs.push_back(o.x);
  std::vector<std::pair<box, std::string>> counts;  // placed once every glyph is down
  for (const point_group& g : group_points(xs, glyph_width)) {
    if (g.members.size() == 1 && g.x0 == g.x1) {
      const lane_object& o = objects[g.members[0]];
      open_object(svg, view, o.title, o.from);
      const box b = glyph(o);
      svg.close();
      placer.add_mark(b);
      if (single) single(o, b);
      continue;
    }
    std::vector<std::string> lines;
    for (const std::size_t i : g.members) lines.push_back(objects[i].title);
    open_object(svg, view, group_title(what, lines), objects[g.members[0]].from);
    const box b = group_glyph(svg, g.x0, g.x1, group_y, colour);
    svg.close();
    placer.add_mark(b);
    counts.push_back({b, std::to_string(g.members.size())});
  }
  for (const auto& [b, n] : counts) {
    const double w = text_width(n, k_small_font) + 2;
    const double y = (b.y0 + b.y1) / 2;
    const placement p = placer.place_if_clear(
        {centred_box(b.x1 + w / 2 + 2, y, w, 11), centred_box(b.x0 - w / 2 - 2, y, w, 11),
         centred_box((b.x0 + b.x1) / 2, b.y0 - 7, w, 11)},
        false);
    if (p.clear) label_text(svg, p.where, n, k_small_font, "fill:" + colour);
  }
}

std::string cell_words(const scenario_view& view, std::size_t n) {
  return "cell " + std::to_string(n) + ", " + place_text(view, n * k_cell_span);
}

void station_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer) {
  lane_band(svg, ax, top, k_station_lane, "stations", true);
  const percorso_t& grid = view.grid;
  for (const station_view& s : view.stations) {
    if (!ax.shows(s.inizio, s.fine)) continue;
    const stazione& r = view.table[static_cast<std::size_t>(s.slot)];
    const double x0 = ax.x(s.inizio);
    const double x1 = std::max(ax.x(s.fine), x0 + 2);
    box mark{x0, top + 7, x1, top + 15};
    std::string title = s.name + ", station " + std::to_string(s.slot) + " (type " +
                        std::to_string(r.tipo_stazione) + ") at " + place_text(view, s.posizione) +
                        "; area " + std::to_string(s.inizio) + " to " + std::to_string(s.fine) +
                        " m";
    if (r.orario != 0) {
      char t[32];
      std::snprintf(t, sizeof t, "; time %02d:%02d:%02d", r.orario / 3600, r.orario / 60 % 60,
                    r.orario % 60);
      title += t;
    }
    open_object(svg, view, title + slot_source(view, s.slot), slot_ref(view, s.slot));
    svg_rect(svg, mark, "#9cc3f0", "#4a7fbf", "0.8");
    // Its stop: the cell the station marks with its number.
    for (std::size_t n = 0; n < grid.size(); ++n) {
      if (grid[n].tipo_cella != k_station_stop || grid[n].valore_a != s.slot) continue;
      if (!ax.covers(n * k_cell_span)) continue;
      const double x = ax.x(n * k_cell_span);
      svg_line(svg, x, top + 3, x, top + 19, "#0d47a1", "2");
      mark = {std::min(mark.x0, x - 1), top + 3, std::max(mark.x1, x + 1), top + 19};
    }
    svg.close();
    placer.add_mark(mark);
  }
}

void signal_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                 label_placer& placer, std::vector<wanted_label>& labels) {
  lane_band(svg, ax, top, k_signal_lane, "signals", false);
  const percorso_t& grid = view.grid;
  const auto objects = objects_of(view, ax, {k_signal}, [&](std::size_t n) {
    const cella& c = grid[n];
    std::string t = "signal, " + cell_words(view, n) + "; aspects " + std::to_string(c.valore_a) +
                    " " + std::to_string(c.valore_b) + " " + std::to_string(c.valore_c) +
                    ", type " + std::to_string(c.valore_d);
    if (c.ritardo > 0) t += "; clearing delay " + std::to_string(c.ritardo) + " s";
    return t + object_source(view, n);
  });
  draw_objects(
      svg, view, placer, objects, 9, top + 18, "#263238", "signals",
      [&](const lane_object& o) { return signal_glyph(svg, o.x, top + 33, grid[o.cell]); },
      [&](const lane_object& o, const box&) {
        const cella& c = grid[o.cell];
        if (c.ritardo == 0) return;
        const std::string t = std::to_string(c.ritardo) + " s";
        labels.push_back({t,
                          beside(o.x, {top + 12, top + 26}, 1, text_width(t, k_small_font) + 2, 12),
                          false, "fill:#c62828"});
      });
}

std::string board_text(const scenario_view& view, const cella& c) {
  const auto slot = static_cast<std::size_t>(c.valore_a);
  std::string t = slot < view.table.size() ? utf8_from_1252(view.table[slot].nome) : std::string();
  return t.empty() ? std::string("text board") : t;
}

void board_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                label_placer& placer, std::vector<wanted_label>& labels) {
  lane_band(svg, ax, top, k_board_lane, "boards", true);
  const percorso_t& grid = view.grid;
  const auto objects = objects_of(view, ax, {k_speed_board, k_text_board}, [&](std::size_t n) {
    const cella& c = grid[n];
    if (c.tipo_cella == k_text_board)
      return "text board \"" + board_text(view, c) + "\", " + cell_words(view, n) +
             object_source(view, n);
    return "speed board, " + cell_words(view, n) + "; values " + std::to_string(c.valore_a) + " " +
           std::to_string(c.valore_b) + " " + std::to_string(c.valore_c) + " " +
           std::to_string(c.valore_d) + object_source(view, n);
  });
  draw_objects(
      svg, view, placer, objects, 10, top + 24.5, "#111111", "boards",
      [&](const lane_object& o) {
        return board_glyph(svg, o.x, top + 24.5, grid[o.cell].tipo_cella == k_text_board);
      },
      [&](const lane_object& o, const box&) {
        const cella& c = grid[o.cell];
        std::string t;
        if (c.tipo_cella == k_text_board) {
          t = board_text(view, c);
        } else {
          t = std::to_string(c.valore_a / 20);
          if (c.valore_a % 20 != 0) t += "/" + std::to_string(c.valore_a % 20 * 5);
        }
        const double w = text_width(t, k_small_font) + 2;
        std::vector<box> where{centred_box(o.x, top + 10, w, 12)};
        for (const box& b : beside(o.x, {top + 10, top + 24}, 1, w, 12)) where.push_back(b);
        labels.push_back({t, where, false, ""});
      });
}

std::string slowdown_title(const scenario_view& view, const char* what, std::size_t n) {
  return std::string(what) + ", " + cell_words(view, n) + "; " +
         std::to_string(view.grid[n].valore_a) + " km/h" + object_source(view, n);
}

// The approach marks under the warnings: one short line for the marks of
// adjacent cells.
void approach_marks(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double y,
                    label_placer& placer) {
  const percorso_t& grid = view.grid;
  const auto approach = objects_of(view, ax, {k_slowdown_approach}, [&](std::size_t n) {
    return "slowdown approach mark " + std::to_string(grid[n].valore_a) + ", " +
           cell_words(view, n) + object_source(view, n);
  });
  for (std::size_t i = 0; i < approach.size();) {
    std::size_t j = i;
    while (j + 1 < approach.size() && approach[j + 1].cell == approach[j].cell + 1) ++j;
    std::vector<std::string> lines;
    for (std::size_t k = i; k <= j; ++k) lines.push_back(approach[k].title);
    open_object(svg, view, group_title("slowdown approach marks", lines), approach[i].from);
    const double x0 = approach[i].x;
    const double x1 = std::max(approach[j].x, x0 + 2);
    svg_line(svg, x0, y, x1, y, "#666", "2");
    svg.close();
    placer.add_mark({x0 - 0.5, y - 1, x1 + 0.5, y + 1});
    i = j + 1;
  }
}

// Starts and ends on the lane's lower row, each start paired with the end
// after it: the start's flag points back, the end's on, so they never meet.
void slowdown_flags(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                    label_placer& placer, std::vector<wanted_label>& labels) {
  const percorso_t& grid = view.grid;
  const auto is_start = [&](const lane_object& f) {
    return grid[f.cell].tipo_cella == k_slowdown_start;
  };
  const std::vector<lane_object> flags =
      objects_of(view, ax, {k_slowdown_start, k_slowdown_end}, [&](std::size_t n) {
        return slowdown_title(
            view, grid[n].tipo_cella == k_slowdown_start ? "slowdown start" : "slowdown end", n);
      });
  for (std::size_t i = 0; i < flags.size();) {
    const bool pair = is_start(flags[i]) && i + 1 < flags.size() && !is_start(flags[i + 1]);
    const std::size_t last = pair ? i + 1 : i;
    open_object(svg, view, pair ? flags[i].title + "\n" + flags[last].title : flags[i].title,
                flags[i].from);
    box b = slowdown_flag(svg, flags[i].x, top, is_start(flags[i]));
    if (pair) {
      const box e = slowdown_flag(svg, std::max(flags[last].x, flags[i].x + 1.8), top, false);
      b = {b.x0, b.y0, e.x1, e.y1};
    }
    svg.close();
    placer.add_mark(b);
    const double row = top + 9;
    if (is_start(flags[i]))
      labels.push_back({"start",
                        beside(b.x0 - 1, {row}, -1, text_width("start", k_small_font) + 2, 12, 3),
                        true, ""});
    if (pair || !is_start(flags[i]))
      labels.push_back({"end",
                        beside(b.x1 + 1, {row}, 1, text_width("end", k_small_font) + 2, 12, 3),
                        true, ""});
    i = last + 1;
  }
}

void slowdown_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                   label_placer& placer, std::vector<wanted_label>& labels) {
  lane_band(svg, ax, top, k_slowdown_lane, "slowdown", false);
  const percorso_t& grid = view.grid;
  // The warnings on the upper row, their approach marks under them.
  draw_objects(
      svg, view, placer,
      objects_of(view, ax, {k_slowdown_warning},
                 [&](std::size_t n) { return slowdown_title(view, "slowdown warning", n); }),
      14, top + 10, "#f9a825", "slowdown warnings",
      [&](const lane_object& o) { return warning_glyph(svg, o.x, top + 3); },
      [&](const lane_object& o, const box&) {
        const std::string t = "warning " + std::to_string(grid[o.cell].valore_a);
        labels.push_back(
            {t, beside(o.x, {top + 10}, -1, text_width(t, k_small_font) + 2, 12, 9), true, ""});
      });
  approach_marks(svg, view, ax, top + 19.5, placer);
  slowdown_flags(svg, view, ax, top + 26, placer, labels);
}

void code_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
               label_placer& placer) {
  lane_band(svg, ax, top, k_code_lane, "code points", true);
  const percorso_t& grid = view.grid;
  const auto objects = objects_of(view, ax, {k_code_point, k_code_point_plain}, [&](std::size_t n) {
    const cella& c = grid[n];
    std::string t = c.tipo_cella == k_code_point ? "code point " + std::to_string(c.valore_a)
                                                 : std::string("code point without value");
    const std::string from = object_source(view, n);
    return t + ", " + cell_words(view, n) + (from.empty() ? " (placed around the slowdown)" : from);
  });
  draw_objects(
      svg, view, placer, objects, 8, top + 12, "#6a1b9a", "code points",
      [&](const lane_object& o) {
        return code_point_glyph(svg, o.x, top + 12, grid[o.cell].tipo_cella == k_code_point);
      },
      nullptr);
}

}  // namespace

double draw_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer) {
  std::vector<wanted_label> labels;
  double y = top;
  station_lane(svg, view, ax, y, placer);
  y += k_station_lane;
  signal_lane(svg, view, ax, y, placer, labels);
  y += k_signal_lane;
  board_lane(svg, view, ax, y, placer, labels);
  y += k_board_lane;
  slowdown_lane(svg, view, ax, y, placer, labels);
  y += k_slowdown_lane;
  code_lane(svg, view, ax, y, placer);
  y += k_code_lane;

  // The slowdown's labels must appear; the others give way when crowded.
  for (wanted_label& l : labels) {
    for (box& b : l.candidates) b = inside(ax, b);
    const placement p = l.must ? placer.place(l.candidates) : placer.place_if_clear(l.candidates);
    if (l.must || p.clear) label_text(svg, p.where, l.text, k_small_font, l.style);
  }
  return y;
}

}  // namespace scenario
