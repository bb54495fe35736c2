// The lanes of the line's own properties along the distance axis: the
// curves read off the plan (class and side), the scenery sections with
// their markers, and the adhesion.
#include <algorithm>
#include <cmath>
#include <string>

#include "draw/picture_parts.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

constexpr double k_curve_lane = 34;
constexpr double k_scenery_lane = 24;
constexpr double k_adhesion_lane = 22;

// Bands of one lane laid left to right: each starts where the one before
// ended at the earliest, so that no two share a place however narrow.
class band_row {
 public:
  box take(double x0, double x1, double y0, double y1) {
    x0 = std::max(x0, end_);
    x1 = std::max(x1, x0 + 1);
    end_ = x1;
    return {x0, y0, x1, y1};
  }

 private:
  double end_ = -1e300;
};

std::string metres_words(const scenario_view& view, double m0, double m1) {
  return "from " + place_text(view, m0) + " to " + place_text(view, m1);
}

void curve_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                label_placer& placer) {
  lane_band(svg, ax, top, k_curve_lane, "curves", true);
  const double mid = top + k_curve_lane / 2;
  svg_line(svg, ax.left(), mid, ax.right(), mid, "#b0b8c0", "1");
  small_text(svg, ax.left() + 3, top + 9, "right", "start", 8, "#777");
  small_text(svg, ax.left() + 3, top + k_curve_lane - 2, "left", "start", 8, "#777");
  placer.add_obstacle({ax.left() + 2, top, ax.left() + 28, top + 10});
  placer.add_obstacle({ax.left() + 2, top + k_curve_lane - 10, ax.left() + 28, top + k_curve_lane});
  band_row right;
  band_row left;
  for (const curve_run& c : view.outline.curves()) {
    const double m0 = static_cast<double>(c.first);
    const double m1 = static_cast<double>(c.last);
    if (!ax.shows(m0, m1)) continue;
    // Sharper curves stand taller: class 1 is 4 px, class 6 fifteen.
    const double h = c.curve_class == 0 ? 8 : 2 + 2.2 * c.curve_class;
    const bool to_right = c.side > 0;
    const box b = (to_right ? right : left)
                      .take(ax.x(m0), ax.x(m1), to_right ? mid - h : mid, to_right ? mid : mid + h);
    const std::string name =
        std::string(to_right ? "d" : "s") +
        (c.curve_class == 0 ? std::string("?") : std::to_string(c.curve_class));
    const double k = std::abs(c.curvature);
    open_stretch(svg, view,
                 std::string("curve to the ") + (to_right ? "right" : "left") +
                     (c.curve_class == 0 ? std::string(" of no curvature class")
                                         : ", class " + std::to_string(c.curve_class)) +
                     " (" + svg_number(k * 1000) + " per km, radius about " +
                     std::to_string(static_cast<long long>(std::llround(1 / k))) + " m), " +
                     metres_words(view, m0, m1),
                 "curve", c.first);
    svg_rect(svg, b, to_right ? "#5c6bc0" : "#26a69a");
    svg.close();
    placer.add_mark(b);
    const double w = text_width(name, 9) + 2;
    const double ly = to_right ? mid + 7 : mid - 7;
    const placement p = placer.place_if_clear({centred_box((b.x0 + b.x1) / 2, ly, w, 10)}, false);
    if (p.clear) label_text(svg, p.where, name, 9, to_right ? "fill:#3949ab" : "fill:#00796b");
  }
}

const char* scenery_colour(int type) {
  static constexpr const char* k_colours[] = {"#c5e1a5", "#a1887f", "#90caf9", "#ffcc80",
                                              "#ce93d8", "#80cbc4", "#e6ee9c", "#b0bec5"};
  return k_colours[static_cast<std::size_t>(type) % 8];
}

void scenery_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer) {
  lane_band(svg, ax, top, k_scenery_lane, "scenery", false);
  const percorso_t& grid = view.grid;
  band_row row;
  for (const cell_run& r : runs_of(grid, &cella::ambiente)) {
    const double m0 = r.first * k_cell_span;
    const double m1 = (r.last + 1) * k_cell_span;
    if (r.value == 0 || !ax.shows(m0, m1)) continue;
    const box b = row.take(ax.x(m0), ax.x(m1), top + 4, top + 20);
    std::vector<std::size_t> markers;
    for (std::size_t n = r.first; n <= r.last; ++n)
      if (grid[n].tipo_cella == k_scenery_marker && ax.covers(n * k_cell_span))
        markers.push_back(n);
    std::string title = "scenery type " + std::to_string(r.value) + ", cells " +
                        std::to_string(r.first) + " to " + std::to_string(r.last) + ", " +
                        metres_words(view, m0, m1);
    if (!markers.empty()) {
      title += "; " + std::to_string(markers.size()) + " markers, in cells";
      for (std::size_t i = 0; i < markers.size() && i < 12; ++i)
        title += " " + std::to_string(markers[i]);
      if (markers.size() > 12) title += " ...";
    }
    open_object(svg, view, title + scenery_source(view, r.first), scenery_ref(view, r.first));
    svg_rect(svg, b, scenery_colour(r.value), "#777", "0.6");
    // The markers as ticks where they stand apart, else one dotted line.
    const double spacing = ax.pixels_per_metre() * 4 * k_cell_span;
    if (spacing >= 3) {
      for (const std::size_t n : markers) {
        const double x = ax.x(n * k_cell_span);
        svg_line(svg, x, top + 13, x, top + 20, "#333", "1");
      }
    } else if (!markers.empty()) {
      svg_line(
          svg, ax.x(markers.front() * k_cell_span), top + 17,
          std::max(ax.x(markers.back() * k_cell_span), ax.x(markers.front() * k_cell_span) + 1),
          top + 17, "#333", "1.5", "1 1");
    }
    svg.close();
    placer.add_mark(b);
    const std::string t = "type " + std::to_string(r.value);
    const double w = text_width(t, 9) + 2;
    // Written inside its own band, as part of its mark.
    if (b.width() >= w + 2)
      label_text(svg, centred_box((b.x0 + b.x1) / 2, top + 9, w, 9), t, 9, "fill:#333");
  }
}

void adhesion_lane(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                   label_placer& placer) {
  lane_band(svg, ax, top, k_adhesion_lane, "adhesion", true);
  band_row row;
  for (const cell_run& r : runs_of(view.grid, &cella::aderenza)) {
    const double m0 = r.first * k_cell_span;
    const double m1 = (r.last + 1) * k_cell_span;
    if (!ax.shows(m0, m1)) continue;
    const box b = row.take(ax.x(m0), ax.x(m1), top + 5, top + 17);
    // Darker for more grip.
    const int shade = 235 - std::min<int>(r.value, 255) * 120 / 255;
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02x%02xff", shade, shade);
    open_titled(svg, "adhesion " + std::to_string(r.value) + ", cells " + std::to_string(r.first) +
                         " to " + std::to_string(r.last) + ", " + metres_words(view, m0, m1));
    svg_rect(svg, b, colour);
    svg.close();
    const std::string t = std::to_string(r.value);
    const double w = text_width(t, 9) + 2;
    const box label =
        centred_box((std::max(b.x0, ax.left()) + std::min(b.x1, ax.right())) / 2, top + 11, w, 10);
    if (b.width() >= w + 4 && placer.place_if_clear({label}, false).clear)
      label_text(svg, label, t, 9, "fill:#1a237e");
  }
}

}  // namespace

double draw_line_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax,
                       double top, label_placer& placer) {
  double y = top;
  curve_lane(svg, view, ax, y, placer);
  y += k_curve_lane;
  scenery_lane(svg, view, ax, y, placer);
  y += k_scenery_lane;
  adhesion_lane(svg, view, ax, y, placer);
  return y + k_adhesion_lane;
}

}  // namespace scenario
