#include <algorithm>
#include <cmath>

#include "draw/picture_parts.h"

namespace scenario {

std::string place_text(const scenario_view& view, double metres) {
  std::string t = std::to_string(static_cast<long long>(std::llround(metres))) + " m";
  if (const auto km = railway_metres_at(view.km_refs, metres))
    t += ", km " + km_text(std::llround(*km));
  return t;
}

namespace {

std::string source_of(const scenario_view& view, const source_ref& r) {
  if (!r.known()) return {};
  const std::string& file = r.origin == fault_origin::line_file ? view.line_file : view.train_file;
  return " (" + file + ":" + std::to_string(r.line) + ")";
}

}  // namespace

source_ref object_ref(const scenario_view& view, std::size_t cell) {
  if (view.sources == nullptr || cell >= view.sources->objects.size()) return {};
  return view.sources->objects[cell];
}

source_ref scenery_ref(const scenario_view& view, std::size_t cell) {
  if (view.sources == nullptr || cell >= view.sources->scenery.size()) return {};
  return view.sources->scenery[cell];
}

source_ref slot_ref(const scenario_view& view, int slot) {
  if (view.sources == nullptr || slot < 0 || slot >= k_station_slots) return {};
  return view.sources->slots[static_cast<std::size_t>(slot)];
}

std::string object_source(const scenario_view& view, std::size_t cell) {
  return source_of(view, object_ref(view, cell));
}

std::string scenery_source(const scenario_view& view, std::size_t cell) {
  return source_of(view, scenery_ref(view, cell));
}

std::string slot_source(const scenario_view& view, int slot) {
  return source_of(view, slot_ref(view, slot));
}

std::string record_id(const source_ref& from) {
  return (from.origin == fault_origin::line_file ? "line:" : "train:") + std::to_string(from.line);
}

void svg_rect(svg_writer& svg, const box& b, const std::string& fill, const std::string& stroke,
              const std::string& width) {
  if (stroke.empty())
    svg.element("rect", {{"x", svg_number(b.x0)},
                         {"y", svg_number(b.y0)},
                         {"width", svg_number(b.width())},
                         {"height", svg_number(b.height())},
                         {"fill", fill}});
  else
    svg.element("rect", {{"x", svg_number(b.x0)},
                         {"y", svg_number(b.y0)},
                         {"width", svg_number(b.width())},
                         {"height", svg_number(b.height())},
                         {"fill", fill},
                         {"stroke", stroke},
                         {"stroke-width", width}});
}

void open_titled(svg_writer& svg, const std::string& title) {
  svg.open("g");
  svg.title(title);
}

void open_object(svg_writer& svg, const scenario_view& view, const std::string& title,
                 const source_ref& from) {
  if (!view.record_ids || !from.known()) return open_titled(svg, title);
  svg.open("g", {{"data-record", record_id(from)}});
  svg.title(title);
}

void open_stretch(svg_writer& svg, const scenario_view& view, const std::string& title,
                  std::string_view what, std::size_t metres) {
  if (!view.record_ids) return open_titled(svg, title);
  svg.open("g", {{"data-record", std::string(what) + ":" + std::to_string(metres)}});
  svg.title(title);
}

std::vector<point_group> group_points(const std::vector<double>& xs, double glyph_width,
                                      double pitch) {
  // Chains of objects each closer than a glyph to the one before.
  std::vector<point_group> chains;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (!chains.empty() && xs[i] - chains.back().x1 < glyph_width + 2) {
      chains.back().members.push_back(i);
      chains.back().x1 = xs[i];
    } else {
      chains.push_back({{i}, xs[i], xs[i]});
    }
  }
  // A long chain is cut at every pitch pixels, so that a crowded lane still
  // tells where its objects stand; each piece keeps within its own pitch.
  std::vector<point_group> groups;
  for (const point_group& c : chains) {
    if (c.members.size() == 1) {
      groups.push_back(c);
      continue;
    }
    if (c.x1 - c.x0 <= 2 * pitch) {
      groups.push_back({c.members, c.x0 - 3, std::max(c.x1 + 3, c.x0 + 3)});
      continue;
    }
    double bin = -1;
    for (const std::size_t i : c.members) {
      const double b = std::floor(xs[i] / pitch);
      if (i == c.members.front() || b != bin) {
        bin = b;
        groups.push_back({{}, std::max(bin * pitch + 1, xs[i] - 3), 0});
      }
      groups.back().members.push_back(i);
      groups.back().x1 = std::max(std::min((bin + 1) * pitch - 1, xs[i] + 3), groups.back().x0 + 1);
    }
  }
  return groups;
}

std::string group_title(const std::string& what, const std::vector<std::string>& lines) {
  constexpr std::size_t k_shown = 12;
  std::string t = std::to_string(lines.size()) + " " + what + ":";
  for (std::size_t i = 0; i < lines.size() && i < k_shown; ++i) t += "\n" + lines[i];
  if (lines.size() > k_shown) t += "\n... and " + std::to_string(lines.size() - k_shown) + " more";
  return t;
}

void lane_band(svg_writer& svg, const distance_axis& ax, double top, double height,
               const char* name, bool shaded) {
  if (shaded) svg_rect(svg, {ax.left(), top, ax.right(), top + height}, "#f4f6f8");
  small_text(svg, ax.left() - 8, top + height / 2 + 4, name, "end", 11, "#222");
}

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
