#include <algorithm>
#include <cmath>

#include "draw/picture_parts.h"

namespace scenario {

void svg_line(svg_writer& svg, double x1, double y1, double x2, double y2,
              const std::string& colour, const std::string& width, const std::string& dash) {
  if (dash.empty())
    svg.element("line", {{"x1", svg_number(x1)},
                         {"y1", svg_number(y1)},
                         {"x2", svg_number(x2)},
                         {"y2", svg_number(y2)},
                         {"stroke", colour},
                         {"stroke-width", width}});
  else
    svg.element("line", {{"x1", svg_number(x1)},
                         {"y1", svg_number(y1)},
                         {"x2", svg_number(x2)},
                         {"y2", svg_number(y2)},
                         {"stroke", colour},
                         {"stroke-width", width},
                         {"stroke-dasharray", dash}});
}

void small_text(svg_writer& svg, double x, double y, const std::string& text,
                const std::string& anchor, double size, const std::string& colour) {
  svg.text({{"x", svg_number(x)},
            {"y", svg_number(y)},
            {"font-size", svg_number(size)},
            {"text-anchor", anchor},
            {"fill", colour}},
           text);
}

// Boxes along a polyline, so that labels keep off it.
void keep_off(label_placer& placer, double x1, double y1, double x2, double y2) {
  placer.add_obstacle({std::min(x1, x2) - 1.5, std::min(y1, y2) - 1.5, std::max(x1, x2) + 1.5,
                       std::max(y1, y2) + 1.5});
}

// Candidates for a label of width w beside x on the rows at ys: first to the
// preferred side (+1 right, -1 left), then the other, then centred.
std::vector<box> beside(double x, std::initializer_list<double> ys, int side, double w, double h,
                        double gap) {
  std::vector<box> c;
  for (const double y : ys) {
    c.push_back(centred_box(x + side * (gap + w / 2), y, w, h));
    c.push_back(centred_box(x - side * (gap + w / 2), y, w, h));
    c.push_back(centred_box(x, y, w, h));
  }
  return c;
}

// Keeps a box inside the axis from left to right, sliding it along.
box inside(const distance_axis& ax, box b) {
  if (b.x0 < ax.left() - 4) b = {ax.left() - 4, b.y0, ax.left() - 4 + b.width(), b.y1};
  if (b.x1 > ax.right() + 4) b = {ax.right() + 4 - b.width(), b.y0, ax.right() + 4, b.y1};
  return b;
}

void label_text(svg_writer& svg, const box& b, const std::string& text, double size,
                const std::string& extra_style) {
  // The baseline sits a third of the font size below the box's middle.
  if (extra_style.empty())
    svg.text({{"x", svg_number((b.x0 + b.x1) / 2)},
              {"y", svg_number((b.y0 + b.y1) / 2 + size * 0.36)},
              {"font-size", svg_number(size)},
              {"text-anchor", "middle"}},
             text);
  else
    svg.text({{"x", svg_number((b.x0 + b.x1) / 2)},
              {"y", svg_number((b.y0 + b.y1) / 2 + size * 0.36)},
              {"font-size", svg_number(size)},
              {"text-anchor", "middle"},
              {"style", extra_style}},
             text);
}

void leader_line(svg_writer& svg, double x, double y, const box& b) {
  const double nx = std::clamp(x, b.x0, b.x1);
  const double ny = std::clamp(y, b.y0, b.y1);
  if (std::hypot(nx - x, ny - y) < 9) return;
  svg_line(svg, x, y, nx, ny, "#888", "0.8");
}

}  // namespace scenario
