// The lanes of lineside objects under the speed limit: station areas and
// stops, signals, boards, the slowdown marks and the code points, each drawn
// where its cell begins, with labels placed after every glyph is down.
#include <algorithm>
#include <iterator>
#include <string>

#include "common/utf8_text.h"
#include "draw/picture_parts.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

struct lane {
  const char* name;
  double height;
};
constexpr lane k_lanes[] = {
    {"stations", 22}, {"signals", 32}, {"boards", 34}, {"slowdown", 36}, {"code points", 22}};

}  // namespace

double draw_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer) {
  const percorso_t& grid = view.grid;
  double y = top;
  double lane_top[std::size(k_lanes)];
  for (std::size_t i = 0; i < std::size(k_lanes); ++i) {
    lane_top[i] = y;
    if (i % 2 == 0)
      svg.element("rect", {{"x", svg_number(ax.left())},
                           {"y", svg_number(y)},
                           {"width", svg_number(ax.right() - ax.left())},
                           {"height", svg_number(k_lanes[i].height)},
                           {"fill", "#f4f6f8"}});
    small_text(svg, ax.left() - 8, y + k_lanes[i].height / 2 + 4, k_lanes[i].name, "end", 11,
               "#222");
    y += k_lanes[i].height;
  }
  const double bottom = y;
  svg_line(svg, ax.left(), top, ax.left(), bottom, "#555", "1");

  // Stations: the area of each, and its stop cell.
  for (const station_view& s : view.stations) {
    const double x0 = ax.x(s.inizio);
    const double x1 = std::max(ax.x(s.fine), x0 + 2);
    svg.element("rect", {{"x", svg_number(x0)},
                         {"y", svg_number(lane_top[0] + 7)},
                         {"width", svg_number(x1 - x0)},
                         {"height", "8"},
                         {"fill", "#9cc3f0"},
                         {"stroke", "#4a7fbf"},
                         {"stroke-width", "0.8"}});
  }
  for (std::size_t n = 0; n < grid.size(); ++n) {
    const cella& c = grid[n];
    const double m = n * k_cell_span;
    if (!ax.covers(m)) continue;
    const double x = ax.x(m);
    switch (c.tipo_cella) {
      case k_station_stop:
        svg_line(svg, x, lane_top[0] + 3, x, lane_top[0] + 19, "#0d47a1", "2");
        break;
      case k_signal: {
        const double t = lane_top[1];
        const std::string colour = c.ritardo > 0 ? "#c62828" : "#263238";
        svg_line(svg, x, t + 28, x, t + 12, "#263238", "1.5");
        svg.element(
            "circle",
            {{"cx", svg_number(x)}, {"cy", svg_number(t + 9)}, {"r", "4"}, {"fill", colour}});
        placer.add_obstacle(centred_box(x, t + 18, 9, 22));
        break;
      }
      case k_speed_board:
      case k_text_board: {
        const double t = lane_top[2];
        svg.element("rect", {{"x", svg_number(x - 4)},
                             {"y", svg_number(t + 19)},
                             {"width", "8"},
                             {"height", "11"},
                             {"fill", c.tipo_cella == k_speed_board ? "white" : "#ddd"},
                             {"stroke", "#111"},
                             {"stroke-width", "1.2"}});
        placer.add_obstacle(centred_box(x, t + 24.5, 10, 13));
        break;
      }
      case k_slowdown_warning: {
        const double t = lane_top[3];
        svg.element("polygon", {{"points", svg_number(x) + "," + svg_number(t + 6) + " " +
                                               svg_number(x - 7) + "," + svg_number(t + 19) + " " +
                                               svg_number(x + 7) + "," + svg_number(t + 19)},
                                {"fill", "#fdd835"},
                                {"stroke", "#111"},
                                {"stroke-width", "1"}});
        placer.add_obstacle({x - 7, t + 6, x + 7, t + 19});
        break;
      }
      case k_slowdown_approach:
        svg.element("circle", {{"cx", svg_number(x)},
                               {"cy", svg_number(lane_top[3] + 14)},
                               {"r", "2"},
                               {"fill", "#888"}});
        break;
      case k_slowdown_start:
      case k_slowdown_end: {
        const double t = lane_top[3];
        const bool start = c.tipo_cella == k_slowdown_start;
        svg_line(svg, x, t + 30, x, t + 6, "#e65100", "1.5");
        // The flag points into the slowdown: right at the start, left at the end.
        const double fx = start ? x : x - 8;
        svg.element("rect", {{"x", svg_number(fx)},
                             {"y", svg_number(t + 6)},
                             {"width", "8"},
                             {"height", "6"},
                             {"fill", start ? "#e65100" : "white"},
                             {"stroke", "#e65100"},
                             {"stroke-width", "1"}});
        placer.add_obstacle({x - 8, t + 6, x + 8, t + 30});
        break;
      }
      case k_code_point:
      case k_code_point_plain: {
        const double cy = lane_top[4] + 11;
        svg.element("polygon", {{"points", svg_number(x) + "," + svg_number(cy - 6) + " " +
                                               svg_number(x + 3.5) + "," + svg_number(cy) + " " +
                                               svg_number(x) + "," + svg_number(cy + 6) + " " +
                                               svg_number(x - 3.5) + "," + svg_number(cy)},
                                {"fill", c.tipo_cella == k_code_point ? "#6a1b9a" : "white"},
                                {"stroke", "#6a1b9a"},
                                {"stroke-width", "1.2"}});
        break;
      }
      default:
        break;
    }
  }

  // Labels after every glyph, so that none covers one.
  for (std::size_t n = 0; n < grid.size(); ++n) {
    const cella& c = grid[n];
    const double m = n * k_cell_span;
    if (!ax.covers(m)) continue;
    const double x = ax.x(m);
    std::string t;
    std::vector<box> where;
    // The slowdown's labels must appear; the others give way when crowded.
    const bool must = c.tipo_cella == k_slowdown_warning || c.tipo_cella == k_slowdown_start ||
                      c.tipo_cella == k_slowdown_end;
    if (c.tipo_cella == k_signal && c.ritardo > 0) {
      t = std::to_string(c.ritardo) + " s";
      where =
          beside(x, {lane_top[1] + 9, lane_top[1] + 23}, 1, text_width(t, k_small_font) + 2, 12);
    } else if (c.tipo_cella == k_speed_board) {
      t = std::to_string(c.valore_a / 20);
      if (c.valore_a % 20 != 0) t += "/" + std::to_string(c.valore_a % 20 * 5);
      const double w = text_width(t, k_small_font) + 2;
      where = {centred_box(x, lane_top[2] + 10, w, 12)};
      for (const box& b : beside(x, {lane_top[2] + 10, lane_top[2] + 24}, 1, w, 12))
        where.push_back(b);
    } else if (c.tipo_cella == k_text_board) {
      const auto slot = static_cast<std::size_t>(c.valore_a);
      t = slot < view.table.size() ? view.table[slot].nome : std::string();
      if (t.empty()) t = "text board";
      where =
          beside(x, {lane_top[2] + 10, lane_top[2] + 24}, 1, text_width(t, k_small_font) + 2, 12);
    } else if (c.tipo_cella == k_slowdown_warning) {
      t = "warning " + std::to_string(c.valore_a);
      where = beside(x, {lane_top[3] + 13, lane_top[3] + 28}, -1, text_width(t, k_small_font) + 2,
                     12, 9);
    } else if (c.tipo_cella == k_slowdown_start) {
      t = "start";
      where = beside(x, {lane_top[3] + 10, lane_top[3] + 26}, -1, text_width(t, k_small_font) + 2,
                     12, 10);
    } else if (c.tipo_cella == k_slowdown_end) {
      t = "end";
      where = beside(x, {lane_top[3] + 10, lane_top[3] + 26}, 1, text_width(t, k_small_font) + 2,
                     12, 10);
    } else {
      continue;
    }
    for (box& b : where) b = inside(ax, b);
    const placement p = must ? placer.place(where) : placer.place_if_clear(where);
    if (must || p.clear) label_text(svg, p.where, utf8_from_1252(t), k_small_font);
  }
  return bottom;
}

double lanes_height() {
  double h = 0;
  for (const lane& l : k_lanes) h += l.height;
  return h;
}

}  // namespace scenario
