// The panels along the distance axis: station names, the elevation profile,
// the speed limit, then the lanes and the axis itself. Every object is drawn
// where its cell begins (50 m times the cell index), the same place the
// per-cell values start from.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "draw/picture_parts.h"
#include "inspect/route_facts.h"
#include "model/cell_objects.h"

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
  const auto steps = static_cast<int>(std::floor((s.hi - s.lo) / step + 1e-3));
  for (int i = 0; i <= steps; ++i) {
    const double v = s.lo + i * step;
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

// The cells whose start lies in the stretch drawn.
struct cell_span {
  std::size_t first = 0;
  std::size_t last = 0;  // inclusive
};
cell_span cells_shown(const percorso_t& grid, const distance_axis& ax) {
  const auto first = static_cast<std::size_t>(std::ceil(ax.from() / k_cell_span));
  const auto last = static_cast<std::size_t>(std::floor(ax.to() / k_cell_span));
  return {std::min(first, grid.size()), std::min(last, grid.size())};
}

// A tooltip over the stretch x0 to x1 of a panel, for what its line shows.
// The strip paints nothing in any renderer (some converters paint a
// transparent fill opaque, or outline a shape that names no stroke) yet takes
// the pointer over its whole area.
// A gradient's strip leads to its record (open_stretch).
void hover_strip(svg_writer& svg, const scenario_view& view, double x0, double x1, double top,
                 double height, const std::string& title, std::size_t gradient_from = SIZE_MAX) {
  if (gradient_from == SIZE_MAX)
    open_titled(svg, title);
  else
    open_stretch(svg, view, title, "gradient", gradient_from);
  svg.element("rect", {{"x", svg_number(x0)},
                       {"y", svg_number(top)},
                       {"width", svg_number(std::max(x1 - x0, 0.5))},
                       {"height", svg_number(height)},
                       {"fill", "none"},
                       {"stroke", "none"},
                       {"pointer-events", "all"}});
  svg.close();
}

std::string stretch_text(const scenario_view& view, const cell_run& r) {
  return "cells " + std::to_string(r.first) + " to " + std::to_string(r.last) + ", from " +
         place_text(view, r.first * k_cell_span) + " to " +
         place_text(view, (r.last + 1) * k_cell_span);
}

// The gradient of every stretch as a tooltip, and of every long one as a
// label where there is room.
void gradient_labels(svg_writer& svg, const scenario_view& view, const distance_axis& ax,
                     const value_scale& s, const std::vector<double>& h, cell_span shown,
                     label_placer& placer) {
  const std::size_t first = shown.first;
  const std::size_t last = shown.last;
  for (const cell_run& r : runs_of(view.grid, &cella::pendenza)) {
    if (!ax.shows(r.first * k_cell_span, (r.last + 1) * k_cell_span)) continue;
    const int g = gradient_of(r.value);
    const std::string t = (g > 0 ? "+" : "") + std::to_string(g) + " \u2030";
    hover_strip(
        svg, view, ax.x(r.first * k_cell_span), ax.x((r.last + 1) * k_cell_span), s.top,
        k_elevation_height,
        "gradient " + t + " (pendenza " + std::to_string(r.value) + "), " + stretch_text(view, r),
        r.first * static_cast<std::size_t>(k_cell_span));
    const std::size_t mid = (r.first + r.last + 1) / 2;
    if (ax.x((r.last + 1) * k_cell_span) - ax.x(r.first * k_cell_span) < 30 || g == 0 ||
        mid < first || mid > last)
      continue;
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

void draw_elevation(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                    label_placer& placer) {
  const percorso_t& grid = view.grid;
  const std::vector<double> h = elevation_profile(grid);
  const cell_span shown = cells_shown(grid, ax);
  const std::size_t first = shown.first;
  const std::size_t last = std::max(first, shown.last);
  double lo = h[first];
  double hi = h[first];
  for (std::size_t n = first; n <= last; ++n) {
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
  placer.add_obstacle({ax.left() + 6, top - 16,
                       ax.left() + 8 + text_width("Elevation from the gradient of each cell", 12),
                       top - 1});

  std::string outline;
  for (std::size_t n = first; n <= last; ++n) {
    outline +=
        (n == first ? "M" : " L") + svg_number(ax.x(n * k_cell_span)) + " " + svg_number(s.y(h[n]));
    if (n > first)
      keep_off(placer, ax.x((n - 1) * k_cell_span), s.y(h[n - 1]), ax.x(n * k_cell_span),
               s.y(h[n]));
  }
  const std::string area = outline + " L" + svg_number(ax.x(last * k_cell_span)) + " " +
                           svg_number(s.bottom) + " L" + svg_number(ax.x(first * k_cell_span)) +
                           " " + svg_number(s.bottom) + " Z";
  svg.element("path", {{"d", area}, {"fill", "#eadfc8"}, {"stroke", "none"}});
  svg.element("path",
              {{"d", outline}, {"fill", "none"}, {"stroke", "#8b5a2b"}, {"stroke-width", "1.8"}});

  gradient_labels(svg, view, ax, s, h, {first, last}, placer);
}

// Slowdowns over the speed limit: the stretch from a start cell to the next
// end cell, the slowdown's speed across it, and its label.
void slowdown_stretches(svg_writer& svg, const scenario_view& view, const distance_axis& ax,
                        const value_scale& s, label_placer& placer) {
  const percorso_t& grid = view.grid;
  const double hi = s.hi;
  for (std::size_t n = 0; n < grid.size(); ++n) {
    if (grid[n].tipo_cella != k_slowdown_start) continue;
    std::size_t e = n + 1;
    while (e < grid.size() && grid[e].tipo_cella != k_slowdown_end) ++e;
    if (e == grid.size()) e = n + 1;
    if (!ax.shows(n * k_cell_span, e * k_cell_span)) continue;
    const double x0 = ax.x(n * k_cell_span);
    const double x1 = std::max(ax.x(e * k_cell_span), x0 + 2);
    const std::string t = "slowdown " + std::to_string(grid[n].valore_a) + " km/h";
    open_object(svg, view,
                t + ", cells " + std::to_string(n) + " to " + std::to_string(e) + ", from " +
                    place_text(view, n * k_cell_span) + " to " + place_text(view, e * k_cell_span) +
                    object_source(view, n),
                object_ref(view, n));
    svg.element("rect", {{"x", svg_number(x0)},
                         {"y", svg_number(s.top)},
                         {"width", svg_number(x1 - x0)},
                         {"height", svg_number(k_speed_height)},
                         {"fill", "#ff9800"},
                         {"fill-opacity", "0.25"}});
    const double v = grid[n].valore_a;
    const double y = s.y(std::clamp(v, 0.0, hi));
    svg_line(svg, x0 - 6, y, x1 + 6, y, "#e65100", "2", "4 2");
    svg.close();
    keep_off(placer, x0 - 6, y, x1 + 6, y);
    const double w = text_width(t, k_small_font) + 4;
    // Beside the slowdown's end, nearest its speed first, down and up the panel.
    std::vector<box> where = beside(x1, {y - 9, y + 10, y - 24}, 1, w, 13, 4);
    for (int i = 0; 24 + i * 14 < k_speed_height; ++i)
      for (const double row : {y + 24 + i * 14, y - 38 - i * 14})
        if (row > s.top + 7 && row < s.bottom - 7)
          for (const box& b : beside(x1, {row}, 1, w, 13, 4)) where.push_back(inside(ax, b));
    const placement p = placer.place(where);
    label_text(svg, p.where, t, k_small_font, "fill:#e65100;font-weight:bold");
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
  placer.add_obstacle({ax.left() + 6, top - 16,
                       ax.left() + 8 + text_width("Speed limit of the train", 12), top - 1});

  slowdown_stretches(svg, view, ax, s, placer);

  std::string steps;
  double previous_y = 0;
  std::vector<std::pair<box, std::string>> wanted;
  for (const cell_run& r : runs_of(grid, &cella::vel_limite)) {
    const double m0 = r.first * k_cell_span;
    const double m1 = (r.last + 1) * k_cell_span;
    if (!ax.shows(m0, m1)) continue;
    const double x0 = ax.x(m0);
    const double x1 = ax.x(m1);
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
    hover_strip(svg, view, x0, x1, s.top, k_speed_height,
                "speed limit " + std::to_string(r.value * 5) + " km/h, " + stretch_text(view, r));
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

// A step of 1, 2 or 5 times a power of ten (in km) that leaves at least
// `room` pixels between neighbouring labels.
double label_step_km(const distance_axis& ax, double room) {
  const double px_per_km = ax.pixels_per_metre() * 1000;
  for (double unit = 0.1;; unit *= 10)
    for (const double f : {1.0, 2.0, 5.0})
      if (f * unit * px_per_km >= room || f * unit >= 1e4) return f * unit;
}

// Where a station's name may go in the band, best first: centred over its
// tick in each row, then beside the tick, after it and before it, row by row.
std::vector<box> name_places(const distance_axis& ax, double x, double top, double width) {
  std::vector<box> places;
  places.reserve(std::size_t{3} * k_band_rows);
  for (int r = 0; r < k_band_rows; ++r)
    places.push_back(inside(ax, centred_box(x, top + k_band_row * (r + 0.5), width, 14)));
  for (int r = 0; r < k_band_rows; ++r)
    for (const double side : {1.0, -1.0})
      places.push_back(inside(
          ax, centred_box(x + side * (width / 2 + 3), top + k_band_row * (r + 0.5), width, 14)));
  return places;
}

// The end of the line, marked across the band and down to the lanes.
void draw_line_end(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                   double guide_bottom, label_placer& placer) {
  const double end_x = ax.x(view.route_end);
  const std::string t = "end of line";
  const double w = text_width(t, k_label_font) + 4;
  const placement p =
      placer.place({inside(ax, centred_box(end_x - w / 2 - 4, top + k_band_row / 2, w, 14)),
                    inside(ax, centred_box(end_x + w / 2 + 4, top + k_band_row / 2, w, 14))});
  label_text(svg, p.where, t, k_label_font, "fill:#c62828;font-weight:bold");
  svg_line(svg, end_x, top, end_x, guide_bottom, "#c62828", "1.2", "6 3");
  keep_off(placer, end_x, p.where.y1, end_x, guide_bottom);
}

// The station names over the panels, in up to three rows, each with a guide
// down to the lanes; the end of the line first. Returns the names that found
// no free place, for a note under the panels: none is dropped unseen.
std::vector<std::string> draw_station_band(svg_writer& svg, const scenario_view& view,
                                           const distance_axis& ax, double top, double guide_bottom,
                                           label_placer& placer) {
  if (ax.covers(view.route_end)) draw_line_end(svg, view, ax, top, guide_bottom, placer);
  std::vector<std::string> unplaced;
  for (const station_view& s : view.stations) {
    if (!ax.covers(s.posizione)) continue;
    const double x = ax.x(s.posizione);
    const placement p =
        placer.place_if_clear(name_places(ax, x, top, text_width(s.name, k_label_font) + 4));
    // A name left out takes its guide with it.
    if (!p.clear) {
      unplaced.push_back(s.name);
      continue;
    }
    open_object(
        svg, view,
        s.name + ", station at " + place_text(view, s.posizione) + slot_source(view, s.slot),
        slot_ref(view, s.slot));
    label_text(svg, p.where, s.name, k_label_font, "font-weight:bold;fill:#0d47a1");
    svg_line(svg, x, p.where.y1 + 1, x, guide_bottom, "#90a4c0", "0.9", "3 3");
    svg.close();
  }
  return unplaced;
}

// The note that names the stations the band had no room for, as many as
// the width takes, at y. Returns the y where it ends.
double draw_unnamed_note(svg_writer& svg, const distance_axis& ax, double y,
                         const std::vector<std::string>& names, label_placer& placer) {
  if (names.empty()) return y;
  const std::string head = "No room over the profile to name ";
  const std::string tail = " (their tooltips name them)";
  std::string list;
  std::size_t listed = 0;
  for (; listed < names.size(); ++listed) {
    const std::string more = ", and " + std::to_string(names.size() - listed - 1) + " more";
    std::string longer = list;
    longer.append(listed == 0 ? "" : ", ").append(names[listed]);
    std::string whole = head;
    whole.append(longer).append(more).append(tail);
    if (text_width(whole, k_small_font) > ax.right() - ax.left()) break;
    list = longer;
  }
  if (listed < names.size()) list += ", and " + std::to_string(names.size() - listed) + " more";
  const std::string note = head + list + tail;
  const double w = text_width(note, k_small_font) + 4;
  const placement p = placer.place({box{ax.left(), y, ax.left() + w, y + 12}});
  label_text(svg, p.where, note, k_small_font, "fill:#c62828");
  return y + 16;
}

// The distance axis at y: the route's kilometres, then a row of the
// railway's own kilometre posts. Returns the y where it ends.
double draw_axis(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double y,
                 label_placer& placer) {
  svg_line(svg, ax.left(), y, ax.right(), y, "#333", "1.2");
  const double major = label_step_km(ax, 64);
  const double minor = ax.pixels_per_metre() * major * 200 >= 5 ? major / 5 : major;
  const double first = std::ceil(ax.from() / 1000 / minor - 1e-9) * minor;
  for (double k = first; k * 1000 <= ax.to() + 1e-6; k += minor) {
    const bool is_major = std::abs(std::remainder(k, major)) < minor / 100;
    const double x = ax.x(k * 1000);
    svg_line(svg, x, y, x, y + (is_major ? 7 : 4), is_major ? "#333" : "#555",
             is_major ? "1.2" : "1");
    if (!is_major) continue;
    const std::string t = svg_number(std::round(k * 10) / 10);
    const placement p =
        placer.place_if_clear({centred_box(x, y + 16, text_width(t, 11) + 2, 13)}, false);
    if (p.clear) label_text(svg, p.where, t, 11);
  }
  small_text(svg, ax.left() - 8, y + 20, "route km", "end", 11, "#222");

  const double posts_y = y + 28;
  if (view.km_refs.empty()) {
    small_text(svg, ax.left(), posts_y + 14,
               "the line has no kilometric reference: no railway kilometre posts", "start", 11,
               "#666");
    return posts_y + 24;
  }
  small_text(svg, ax.left() - 8, posts_y + 14, "railway km", "end", 11, "#222");
  const double step_km = std::max(1.0, label_step_km(ax, text_width("000+000", 11) + 14));
  const auto step = static_cast<std::int64_t>(step_km * 1000);
  for (const km_post& post : km_posts(view.km_refs, ax.from(), ax.to(), step)) {
    const double x = ax.x(post.position);
    const std::string t = km_text(post.value);
    open_titled(svg, "kilometre post " + t + " at " +
                         std::to_string(static_cast<long long>(std::llround(post.position))) +
                         " m");
    svg_line(svg, x, posts_y, x, posts_y + 5, "#2e7d32", "1.4");
    svg.close();
    const placement p = placer.place_if_clear(
        {inside(ax, centred_box(x, posts_y + 13, text_width(t, 11) + 2, 13))}, false);
    if (p.clear) label_text(svg, p.where, t, 11, "fill:#2e7d32");
  }
  return posts_y + 24;
}

}  // namespace

double draw_profile_panels(svg_writer& svg, const scenario_view& view, double left, double right,
                           double top, label_placer& placer) {
  const distance_axis ax(left, right, view.from, view.to);
  const double band_bottom = top + k_band_rows * k_band_row + 4;
  const double elevation_top = band_bottom + k_panel_gap;
  const double speed_top = elevation_top + k_elevation_height + k_panel_gap + 8;
  const double lanes_top = speed_top + k_speed_height + 12;

  // Light lines at the route's whole kilometres behind the value panels.
  const double major = label_step_km(ax, 64);
  for (double k = std::ceil(ax.from() / 1000 / major - 1e-9) * major; k * 1000 <= ax.to() + 1e-6;
       k += major)
    svg_line(svg, ax.x(k * 1000), elevation_top, ax.x(k * 1000), lanes_top - 12, "#e2e2e2", "1");

  const std::vector<std::string> unnamed =
      draw_station_band(svg, view, ax, top, lanes_top - 12, placer);
  draw_elevation(svg, view, ax, elevation_top, placer);
  draw_speed(svg, view, ax, speed_top, placer);
  const double line_bottom = draw_line_lanes(svg, view, ax, lanes_top, placer);
  const double bottom = draw_lanes(svg, view, ax, line_bottom, placer);
  svg_line(svg, ax.left(), lanes_top, ax.left(), bottom, "#555", "1");
  const double axis_end = draw_axis(svg, view, ax, bottom, placer);
  const std::string caption = "distance along the line (km)";
  const double w = text_width(caption, 12) + 2;
  const placement p =
      placer.place({centred_box((ax.left() + ax.right()) / 2, axis_end + 10, w, 14)});
  label_text(svg, p.where, caption, 12, "fill:#222");
  return draw_unnamed_note(svg, ax, axis_end + 22, unnamed, placer);
}

}  // namespace scenario
