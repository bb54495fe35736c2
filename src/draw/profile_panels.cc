// The panels along the distance axis: station names, the elevation profile,
// the speed limit, then the lanes and the axis itself. Every object is drawn
// where its cell begins (50 m times the cell index), the same place the
// per-cell values start from.
#include <algorithm>
#include <cmath>
#include <string>

#include "draw/picture_parts.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

constexpr double k_band_row = 16;
constexpr int k_band_rows = 3;
constexpr double k_elevation_height = 180;
constexpr double k_speed_height = 170;
constexpr double k_panel_gap = 18;

// Picture y of a value between lo (at bottom) and hi (at top).
struct value_scale {
  double top;
  double bottom;
  double lo;
  double hi;
  double y(double v) const { return bottom - (bottom - top) * (v - lo) / (hi - lo); }
};

// A step of 1, 2 or 5 times a power of ten giving about `count` steps.
double nice_step(double range, int count) {
  const double raw = std::max(range, 1e-9) / count;
  const double unit = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double f : {1.0, 2.0, 5.0})
    if (f * unit >= raw) return f * unit;
  return 10 * unit;
}

std::string num_text(double v) {
  return svg_number(std::round(v * 10) / 10);
}

// Ticks, labels and grid lines of a value axis on the left, and its title.
void value_axis(svg_writer& svg, const distance_axis& ax, const value_scale& s, double step,
                const std::string& title) {
  for (double v = s.lo; v <= s.hi + step / 1000; v += step) {
    const double y = s.y(v);
    svg_line(svg, ax.left(), y, ax.right(), y, "#ececec", "1");
    svg_line(svg, ax.left() - 4, y, ax.left(), y, "#555", "1");
    small_text(svg, ax.left() - 7, y + 3.5, num_text(v), "end");
  }
  svg_line(svg, ax.left(), s.top, ax.left(), s.bottom, "#555", "1");
  const double cy = (s.top + s.bottom) / 2;
  svg.text({{"x", "0"},
            {"y", "0"},
            {"font-size", "12"},
            {"text-anchor", "middle"},
            {"fill", "#222"},
            {"transform",
             "translate(" + svg_number(ax.left() - 52) + " " + svg_number(cy) + ") rotate(-90)"}},
           title);
}

void draw_elevation(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                    label_placer& placer) {
  const percorso_t& grid = view.grid;
  const std::vector<double> h = elevation_profile(grid);
  const std::size_t last = std::min(h.size() - 1, static_cast<std::size_t>(ax.end() / k_cell_span));
  double lo = h[0];
  double hi = h[0];
  for (std::size_t n = 0; n <= last; ++n) {
    lo = std::min(lo, h[n]);
    hi = std::max(hi, h[n]);
  }
  const double step = nice_step(hi - lo, 5);
  lo = std::floor(lo / step) * step;
  hi = std::ceil(hi / step) * step;
  if (hi <= lo) hi = lo + step;
  const value_scale s{top, top + k_elevation_height, lo, hi};
  value_axis(svg, ax, s, step, "elevation (m)");
  small_text(svg, ax.left() + 6, top - 4, "Elevation from the gradient of each cell", "start", 12,
             "#222");

  std::string outline;
  for (std::size_t n = 0; n <= last; ++n) {
    outline +=
        (n == 0 ? "M" : " L") + svg_number(ax.x(n * k_cell_span)) + " " + svg_number(s.y(h[n]));
    if (n > 0)
      keep_off(placer, ax.x((n - 1) * k_cell_span), s.y(h[n - 1]), ax.x(n * k_cell_span),
               s.y(h[n]));
  }
  const std::string area = outline + " L" + svg_number(ax.x(last * k_cell_span)) + " " +
                           svg_number(s.bottom) + " L" + svg_number(ax.x(0)) + " " +
                           svg_number(s.bottom) + " Z";
  svg.element("path", {{"d", area}, {"fill", "#eadfc8"}, {"stroke", "none"}});
  svg.element("path",
              {{"d", outline}, {"fill", "none"}, {"stroke", "#8b5a2b"}, {"stroke-width", "1.8"}});

  // The gradient of every long stretch, where there is room for it.
  for (const cell_run& r : runs_of(grid, &cella::pendenza)) {
    if (r.last - r.first + 1 < 30 || r.value == 100 || r.last > last) continue;
    const int g = r.value - 100;
    const std::string t = (g > 0 ? "+" : "") + std::to_string(g) + " \u2030";
    const std::size_t mid = (r.first + r.last + 1) / 2;
    const double x = ax.x(mid * k_cell_span);
    const double y = s.y(h[mid]);
    const double w = text_width(t, k_small_font) + 2;
    const placement p =
        placer.place_if_clear({centred_box(x, y - 11, w, 12), centred_box(x, y - 25, w, 12),
                               centred_box(x, y + 12, w, 12)},
                              false);
    if (p.clear) label_text(svg, p.where, t, k_small_font, "fill:#7a4a1e");
  }
}

void draw_speed(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                label_placer& placer) {
  const percorso_t& grid = view.grid;
  int top_speed = 0;
  for (const cella& c : grid) top_speed = std::max(top_speed, c.vel_limite * 5);
  const double hi = std::max(20.0, std::ceil((top_speed + 10) / 20.0) * 20);
  const value_scale s{top, top + k_speed_height, 0, hi};
  value_axis(svg, ax, s, hi > 200 ? 50 : 20, "speed limit (km/h)");
  small_text(svg, ax.left() + 6, top - 4, "Speed limit of the train", "start", 12, "#222");

  // Slowdowns: the stretch from a start cell to the next end cell.
  for (std::size_t n = 0; n < grid.size(); ++n) {
    if (grid[n].tipo_cella != k_slowdown_start) continue;
    std::size_t e = n + 1;
    while (e < grid.size() && grid[e].tipo_cella != k_slowdown_end) ++e;
    if (e == grid.size()) e = n + 1;
    const double x0 = ax.x(n * k_cell_span);
    const double x1 = std::max(ax.x(e * k_cell_span), x0 + 2);
    svg.element("rect", {{"x", svg_number(x0)},
                         {"y", svg_number(s.top)},
                         {"width", svg_number(x1 - x0)},
                         {"height", svg_number(k_speed_height)},
                         {"fill", "#ff9800"},
                         {"fill-opacity", "0.25"}});
    const double v = grid[n].valore_a;
    const double y = s.y(std::clamp(v, 0.0, hi));
    svg_line(svg, x0 - 6, y, x1 + 6, y, "#e65100", "2", "4 2");
    const std::string t = "slowdown " + std::to_string(grid[n].valore_a) + " km/h";
    const double w = text_width(t, k_small_font) + 4;
    const placement p = placer.place(beside(x1, {y - 9, y + 10, y - 24}, 1, w, 13, 4));
    label_text(svg, p.where, t, k_small_font, "fill:#e65100;font-weight:bold");
  }

  std::string steps;
  double previous_y = 0;
  std::vector<std::pair<box, std::string>> wanted;
  for (const cell_run& r : runs_of(grid, &cella::vel_limite)) {
    const double m0 = r.first * k_cell_span;
    if (!ax.covers(m0)) break;
    const double x0 = ax.x(m0);
    const double x1 = ax.x((r.last + 1) * k_cell_span);
    const double y = s.y(r.value * 5);
    if (steps.empty()) {
      steps = "M" + svg_number(x0) + " " + svg_number(y);
    } else {
      steps += " V" + svg_number(y);
      keep_off(placer, x0, previous_y, x0, y);
    }
    steps += " H" + svg_number(x1);
    keep_off(placer, x0, y, x1, y);
    previous_y = y;
    if (x1 - x0 > 24) {
      const std::string t = std::to_string(r.value * 5);
      wanted.push_back({centred_box((x0 + x1) / 2, y - 8, text_width(t, k_small_font) + 2, 12), t});
    }
  }
  svg.element("path",
              {{"d", steps}, {"fill", "none"}, {"stroke", "#1565c0"}, {"stroke-width", "2"}});
  for (const auto& [b, t] : wanted) {
    const box below{b.x0, b.y0 + 18, b.x1, b.y1 + 18};
    const placement p = placer.place_if_clear({b, below}, false);
    if (p.clear) label_text(svg, p.where, t, k_small_font, "fill:#1565c0");
  }
}

}  // namespace

double draw_profile_panels(svg_writer& svg, const scenario_view& view, double left, double right,
                           double top, label_placer& placer) {
  const distance_axis ax(left, right, view.axis_end);
  const double band_bottom = top + k_band_rows * k_band_row + 4;
  const double elevation_top = band_bottom + k_panel_gap;
  const double speed_top = elevation_top + k_elevation_height + k_panel_gap + 8;
  const double lanes_top = speed_top + k_speed_height + 12;
  const double lanes_bottom = lanes_top + lanes_height();

  // Whole kilometres: a major step that gives at most 16 labels.
  const double km = view.axis_end / 1000;
  double major = 1;
  for (const double step : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0}) {
    major = step;
    if (km / step <= 16) break;
  }
  const double minor = (ax.x(major * 1000 / 5) - ax.x(0)) >= 5 ? major / 5 : major;
  for (double k = 0; k <= km + 1e-9; k += major)
    svg_line(svg, ax.x(k * 1000), elevation_top, ax.x(k * 1000), lanes_bottom, "#e2e2e2", "1");

  // Station names in up to three rows, each with a guide down to the lanes.
  {
    const double end_x = ax.x(view.route_end);
    const std::string t = "end of line";
    const double w = text_width(t, k_label_font) + 4;
    const placement p =
        placer.place({inside(ax, centred_box(end_x - w / 2 - 4, top + k_band_row / 2, w, 14)),
                      inside(ax, centred_box(end_x + w / 2 + 4, top + k_band_row / 2, w, 14))});
    label_text(svg, p.where, t, k_label_font, "fill:#c62828;font-weight:bold");
    svg_line(svg, end_x, top, end_x, lanes_bottom, "#c62828", "1.2", "6 3");
  }
  for (const station_view& s : view.stations) {
    const double x = ax.x(s.posizione);
    const double w = text_width(s.name, k_label_font) + 4;
    std::vector<box> rows;
    for (int r = 0; r < k_band_rows; ++r)
      rows.push_back(inside(ax, centred_box(x, top + k_band_row * (r + 0.5), w, 14)));
    const placement p = placer.place(rows);
    label_text(svg, p.where, s.name, k_label_font, "font-weight:bold;fill:#0d47a1");
    svg_line(svg, x, p.where.y1 + 1, x, lanes_bottom, "#90a4c0", "0.9", "3 3");
  }

  draw_elevation(svg, view, ax, elevation_top, placer);
  draw_speed(svg, view, ax, speed_top, placer);
  const double bottom = draw_lanes(svg, view, ax, lanes_top, placer);

  // The distance axis under the lanes.
  svg_line(svg, ax.left(), bottom, ax.right(), bottom, "#333", "1.2");
  if (minor < major)
    for (double k = 0; k <= km + 1e-9; k += minor)
      svg_line(svg, ax.x(k * 1000), bottom, ax.x(k * 1000), bottom + 4, "#555", "1");
  for (double k = 0; k <= km + 1e-9; k += major) {
    svg_line(svg, ax.x(k * 1000), bottom, ax.x(k * 1000), bottom + 7, "#333", "1.2");
    small_text(svg, ax.x(k * 1000), bottom + 20, svg_number(k), "middle", 11);
  }
  small_text(svg, (ax.left() + ax.right()) / 2, bottom + 40, "distance along the line (km)",
             "middle", 12, "#222");
  return bottom + 48;
}

}  // namespace scenario
