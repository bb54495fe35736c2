// The plan of the line, turned so that it runs from left to right: the
// direction from the start to the end of the route becomes the picture's x
// axis. Turning keeps the line's shape and its left and right; the plan has
// no north to keep.
#include <algorithm>
#include <cmath>

#include "draw/picture_parts.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

// Plan metres between two drawn points of the line, for a stretch of span
// metres: about 4000 points, and never fewer metres than one.
std::size_t sample_metres(double span) {
  return std::max<std::size_t>(1, static_cast<std::size_t>(span / 4000));
}

struct screen_point {
  double x = 0;
  double y = 0;
};

// From plan metres to picture pixels.
class plan_mapping {
 public:
  plan_mapping(plan_point origin, double angle)
      : origin_(origin), c_(std::cos(angle)), s_(std::sin(angle)) {}

  // The point turned so that the route's chord lies along +x.
  plan_point turned(plan_point p) const {
    const double dx = p.x - origin_.x;
    const double dy = p.y - origin_.y;
    return {dx * c_ + dy * s_, -dx * s_ + dy * c_};
  }
  void fit(const box& turned_bounds, const box& area) {
    const double w = std::max(turned_bounds.width(), 1.0);
    const double h = std::max(turned_bounds.height(), 1.0);
    scale_ = std::min(area.width() / w, area.height() / h);
    // Centre the drawing in the area; plan y grows upwards, picture y downwards.
    x0_ = (area.x0 + area.x1) / 2 - scale_ * (turned_bounds.x0 + turned_bounds.x1) / 2;
    y0_ = (area.y0 + area.y1) / 2 + scale_ * (turned_bounds.y0 + turned_bounds.y1) / 2;
  }
  screen_point operator()(plan_point p) const {
    const plan_point t = turned(p);
    return {x0_ + scale_ * t.x, y0_ - scale_ * t.y};
  }
  double scale() const { return scale_; }

 private:
  plan_point origin_;
  double c_;
  double s_;
  double scale_ = 1;
  double x0_ = 0;
  double y0_ = 0;
};

std::string points_text(const std::vector<screen_point>& pts) {
  std::string s;
  for (const screen_point& p : pts) {
    if (!s.empty()) s += ' ';
    s += svg_number(p.x) + "," + svg_number(p.y);
  }
  return s;
}

// The unit vector of the line's direction on the picture around metre m.
screen_point direction_at(const plan_cursor& plan, const plan_outline& outline,
                          const plan_mapping& map, std::size_t m) {
  const std::size_t a = outline.nearest_set(m > 150 ? static_cast<double>(m - 150) : 0.0);
  const std::size_t b = outline.nearest_set(static_cast<double>(m + 150));
  const screen_point pa = map(plan_at(plan, a));
  const screen_point pb = map(plan_at(plan, b));
  const double len = std::hypot(pb.x - pa.x, pb.y - pa.y);
  if (len == 0) return {1, 0};
  return {(pb.x - pa.x) / len, (pb.y - pa.y) / len};
}

// A label box of size w x h standing off point p by gap pixels in direction d.
box off_point(screen_point p, screen_point d, double gap, double w, double h) {
  const double reach = gap + std::abs(d.x) * w / 2 + std::abs(d.y) * h / 2;
  return centred_box(p.x + d.x * reach, p.y + d.y * reach, w, h);
}

// Candidates beside the line at p: on the preferred side first, nearest first.
std::vector<box> beside_line(screen_point p, screen_point dir, int side, double w, double h) {
  const screen_point normal{-dir.y * side, dir.x * side};
  const screen_point other{-normal.x, -normal.y};
  std::vector<box> c;
  for (const double gap : {8.0, 22.0, 40.0, 62.0}) {
    c.push_back(off_point(p, normal, gap, w, h));
    c.push_back(off_point(p, other, gap, w, h));
  }
  for (const double gap : {8.0, 22.0}) {
    c.push_back(off_point(p, {0, -1}, gap, w, h));
    c.push_back(off_point(p, {0, 1}, gap, w, h));
  }
  return c;
}

// A scale bar length near a fifth of the drawing, in whole 1, 2 or 5 units.
double nice_length(double metres) {
  double unit = std::pow(10.0, std::floor(std::log10(std::max(metres, 1.0))));
  for (const double f : {5.0, 2.0, 1.0})
    if (f * unit <= metres) return f * unit;
  return unit;
}

std::string km_words(double metres) {
  return svg_number(std::round(metres / 10) / 100) + " km";
}

// The panel's frame and its two captions.
void frame(svg_writer& svg, const box& area, label_placer& placer) {
  svg_rect(svg, area, "#fbfbf8", "#c8c8c0");
  const box title = {area.x0 + 10, area.y0 + 6, area.x0 + 10 + text_width("Plan of the line", 14),
                     area.y0 + 24};
  svg.text({{"x", svg_number(title.x0)},
            {"y", svg_number(title.y0 + 14)},
            {"font-size", "14"},
            {"font-weight", "bold"}},
           "Plan of the line");
  placer.add_obstacle(title);
  const std::string note = "turned so that start to end runs left to right";
  const double note_w = text_width(note, k_small_font);
  svg.text({{"x", svg_number(area.x1 - 10)},
            {"y", svg_number(area.y0 + 18)},
            {"font-size", svg_number(k_small_font)},
            {"fill", "#666"},
            {"text-anchor", "end"}},
           note);
  placer.add_obstacle({area.x1 - 10 - note_w, area.y0 + 6, area.x1 - 10, area.y0 + 22});
}

// The stretch of the plan drawn: its set metres from first to last, the
// route's end (or the stretch's) at end.
struct plan_stretch {
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t end = 0;
  std::size_t step = 1;
};

// A point of the plan drawn as part of the line.
struct plan_sample {
  std::size_t metre = 0;
  plan_point at;
};

// The set metres of the stretch, every step metres from its first: one
// walk along the stretch.
std::vector<plan_sample> samples_of(const plan_cursor& plan, const plan_outline& outline,
                                    const plan_stretch& st) {
  std::vector<plan_sample> out;
  for (std::size_t m = st.first; m <= st.last; m += st.step)
    if (outline.has(m)) out.push_back({m, plan_at(plan, m)});
  return out;
}

// A mapping that turns the stretch's chord onto +x and fits it to the
// area's width, with the height its shape needs up to the area's.
plan_mapping fit_plan(const plan_cursor& plan, const plan_stretch& st,
                      const std::vector<plan_sample>& samples, const box& area, double& height) {
  const plan_point start = plan_at(plan, st.first);
  const plan_point end = plan_at(plan, st.end);
  const double angle =
      (end.x == start.x && end.y == start.y) ? 0 : std::atan2(end.y - start.y, end.x - start.x);
  plan_mapping map(start, angle);
  box bounds{1e300, 1e300, -1e300, -1e300};
  for (const plan_sample& s : samples) {
    const plan_point t = map.turned(s.at);
    bounds = {std::min(bounds.x0, t.x), std::min(bounds.y0, t.y), std::max(bounds.x1, t.x),
              std::max(bounds.y1, t.y)};
  }
  // Room for labels above and below the line, and no more: a straight line
  // gets a low panel rather than a blank band.
  constexpr double k_margin = 60;
  const double w = std::max(bounds.width(), 1.0);
  const double scale = (area.width() - 160) / w;
  const double inner_h = std::clamp(bounds.height() * scale, 40.0, area.height() - 2 * k_margin);
  height = inner_h + 2 * k_margin;
  map.fit(bounds, {area.x0 + 80, area.y0 + k_margin, area.x1 - 80, area.y0 + k_margin + inner_h});
  return map;
}

void draw_line(svg_writer& svg, const plan_cursor& plan, const plan_stretch& st,
               const std::vector<plan_sample>& samples, const plan_mapping& map,
               label_placer& placer) {
  std::vector<screen_point> line;
  std::vector<screen_point> margin;
  for (const plan_sample& s : samples) {
    const screen_point p = map(s.at);
    (s.metre <= st.end ? line : margin).push_back(p);
    placer.add_obstacle(centred_box(p.x, p.y, 5, 5));
  }
  line.push_back(map(plan_at(plan, st.end)));
  if (!margin.empty()) margin.insert(margin.begin(), map(plan_at(plan, st.end)));
  if (margin.size() > 1)
    svg.element("polyline", {{"points", points_text(margin)},
                             {"fill", "none"},
                             {"stroke", "#9aa4b0"},
                             {"stroke-width", "1.5"},
                             {"stroke-dasharray", "5 4"}});
  svg.element("polyline", {{"points", points_text(line)},
                           {"fill", "none"},
                           {"stroke", "#1f3a93"},
                           {"stroke-width", "2.5"},
                           {"stroke-linejoin", "round"}});
}

// A scale bar in the bottom left corner.
void draw_scale(svg_writer& svg, const box& area, const plan_mapping& map, label_placer& placer) {
  const double bar_m = nice_length(area.width() / 5 / map.scale());
  const double bar_px = bar_m * map.scale();
  const double bx = area.x0 + 14;
  const double by = area.y1 - 16;
  svg.element("path",
              {{"d", "M" + svg_number(bx) + " " + svg_number(by - 5) + " V" + svg_number(by) +
                         " H" + svg_number(bx + bar_px) + " V" + svg_number(by - 5)},
               {"fill", "none"},
               {"stroke", "#333"},
               {"stroke-width", "1.5"}});
  placer.add_obstacle(
      {bx - 2, by - 8, bx + bar_px + 10 + text_width(km_words(bar_m), k_small_font), by + 4});
  svg.text({{"x", svg_number(bx + bar_px + 6)},
            {"y", svg_number(by + 1)},
            {"font-size", svg_number(k_small_font)},
            {"fill", "#333"}},
           km_words(bar_m));
}

struct pending_label {
  screen_point at;
  std::vector<box> candidates;
  std::string text;
  std::string style;
  bool must = true;
};

// Kilometre posts along the line: the railway's own, about a dozen, or the
// route's every 10 km where the line has no kilometric reference.
std::vector<std::pair<screen_point, std::string>> draw_posts(svg_writer& svg,
                                                             const scenario_view& view,
                                                             const plan_outline& outline,
                                                             const plan_stretch& st,
                                                             const plan_mapping& map) {
  std::vector<std::pair<double, std::string>> posts;
  const double from = static_cast<double>(st.first);
  const double to = static_cast<double>(st.end);
  double step = 1000;
  for (const double f : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0}) {
    step = f * 1000;
    if ((to - from) / step <= 12) break;
  }
  if (view.km_refs.empty()) {
    for (auto k = static_cast<std::int64_t>(std::ceil(from / step)); k * step < to; ++k)
      if (k > 0) posts.push_back({k * step, km_words(k * step)});
  } else {
    for (const km_post& p : km_posts(view.km_refs, from, to, static_cast<std::int64_t>(step)))
      if (p.position > from && p.position < to) posts.push_back({p.position, km_text(p.value)});
  }
  std::vector<std::pair<screen_point, std::string>> out;
  for (const auto& [m, text] : posts) {
    const screen_point p = map(plan_at(view.plan, outline.nearest_set(m)));
    open_titled(svg, (view.km_refs.empty() ? text + " from the start" : "kilometre post " + text) +
                         " at " + std::to_string(static_cast<long long>(std::llround(m))) + " m");
    svg.element(
        "circle",
        {{"cx", svg_number(p.x)}, {"cy", svg_number(p.y)}, {"r", "2.5"}, {"fill", "#1f3a93"}});
    svg.close();
    out.push_back({p, text});
  }
  return out;
}

// What the marks of the plan share: the plan, its summary and mapping.
struct plan_marks {
  const scenario_view& view;
  const plan_outline& outline;
  const plan_stretch& st;
  const plan_mapping& map;
};

// The start and the end of the route where the stretch holds them, each
// with its label wanted.
void mark_ends(svg_writer& svg, const plan_marks& pm, label_placer& placer,
               std::vector<pending_label>& labels) {
  const scenario_view& view = pm.view;
  const plan_cursor& plan = view.plan;
  if (pm.st.first == pm.outline.first_metre()) {
    const screen_point ps = pm.map(plan_at(plan, pm.st.first));
    open_titled(svg, "start of the line, " + place_text(view, 0));
    svg.element("circle", {{"cx", svg_number(ps.x)},
                           {"cy", svg_number(ps.y)},
                           {"r", "7"},
                           {"fill", "#2e7d32"},
                           {"stroke", "white"},
                           {"stroke-width", "1.5"}});
    svg.close();
    placer.add_mark(centred_box(ps.x, ps.y, 16, 16));
    const std::string t = "start, 0 km";
    const double w = text_width(t, k_label_font) + 4;
    const screen_point d = direction_at(plan, pm.outline, pm.map, pm.st.first);
    std::vector<box> c{off_point(ps, {-d.x, -d.y}, 10, w, 16)};
    for (const box& b : beside_line(ps, d, 1, w, 16)) c.push_back(b);
    labels.push_back({ps, c, t, "font-weight:bold;fill:#2e7d32"});
  }
  if (view.to >= view.route_end && view.from <= view.route_end) {
    const screen_point pe = pm.map(plan_at(plan, pm.st.end));
    open_titled(svg, "end of the route, " + place_text(view, view.route_end));
    svg.element("rect", {{"x", svg_number(pe.x - 6)},
                         {"y", svg_number(pe.y - 6)},
                         {"width", "12"},
                         {"height", "12"},
                         {"fill", "#c62828"},
                         {"stroke", "white"},
                         {"stroke-width", "1.5"}});
    svg.close();
    placer.add_mark(centred_box(pe.x, pe.y, 14, 14));
    const std::string t = "end, " + km_words(view.route_end);
    const double w = text_width(t, k_label_font) + 4;
    const screen_point d = direction_at(plan, pm.outline, pm.map, pm.st.end);
    std::vector<box> c{off_point(pe, d, 10, w, 16)};
    for (const box& b : beside_line(pe, d, -1, w, 16)) c.push_back(b);
    labels.push_back({pe, c, t, "font-weight:bold;fill:#c62828"});
  }
}

// The stations of the stretch, their names wanted on alternating sides.
void mark_stations(svg_writer& svg, const plan_marks& pm, label_placer& placer,
                   std::vector<pending_label>& labels) {
  const scenario_view& view = pm.view;
  int side = 1;
  for (const station_view& s : view.stations) {
    if (s.posizione < view.from || s.posizione > view.to) continue;
    const std::size_t m = pm.outline.nearest_set(s.posizione);
    const screen_point p = pm.map(plan_at(view.plan, m));
    open_object(
        svg, view,
        s.name + ", station at " + place_text(view, s.posizione) + slot_source(view, s.slot),
        slot_ref(view, s.slot));
    svg.element("circle", {{"cx", svg_number(p.x)},
                           {"cy", svg_number(p.y)},
                           {"r", "4.5"},
                           {"fill", "white"},
                           {"stroke", "#111"},
                           {"stroke-width", "1.6"}});
    svg.close();
    placer.add_obstacle(centred_box(p.x, p.y, 10, 10));
    const double w = text_width(s.name, k_label_font) + 4;
    labels.push_back({p,
                      beside_line(p, direction_at(view.plan, pm.outline, pm.map, m), side, w, 16),
                      s.name, "", false});
    side = -side;
  }
}

// The labels once every mark is down: the names, then the posts where there
// is room.
void place_labels(svg_writer& svg, const box& area, std::vector<pending_label>& labels,
                  const std::vector<std::pair<screen_point, std::string>>& posts,
                  label_placer& placer) {
  for (pending_label& l : labels) {
    // Keep to the panel where any candidate allows it.
    std::vector<box> within;
    for (const box& b : l.candidates)
      if (b.x0 >= area.x0 + 2 && b.x1 <= area.x1 - 2 && b.y0 >= area.y0 + 2 && b.y1 <= area.y1 - 2)
        within.push_back(b);
    const std::vector<box>& c = within.empty() ? l.candidates : within;
    // Station names give way on a crowded plan; their tooltips still tell them.
    const placement where = l.must ? placer.place(c) : placer.place_if_clear(c);
    if (!where.clear && !l.must) continue;
    leader_line(svg, l.at.x, l.at.y, where.where);
    label_text(svg, where.where, l.text, k_label_font, l.style);
  }
  for (const auto& [p, t] : posts) {
    const double w = text_width(t, k_small_font) + 2;
    std::vector<box> c;
    for (const double gap : {4.0, 12.0, 22.0})
      for (const screen_point d :
           {screen_point{0, -1}, screen_point{0, 1}, screen_point{1, 0}, screen_point{-1, 0}})
        c.push_back(off_point(p, d, gap, w, 12));
    const placement where = placer.place_if_clear(c, false);
    if (where.clear) label_text(svg, where.where, t, k_small_font, "fill:#1f3a93");
  }
}

}  // namespace

double draw_plan_panel(svg_writer& svg, const scenario_view& view, const box& full_area,
                       label_placer& placer) {
  const plan_cursor& plan = view.plan;
  const plan_outline& outline = view.outline;
  if (outline.points() < 2) {
    const box area{full_area.x0, full_area.y0, full_area.x1, full_area.y0 + 120};
    frame(svg, area, placer);
    svg.text({{"x", svg_number((area.x0 + area.x1) / 2)},
              {"y", svg_number((area.y0 + area.y1) / 2)},
              {"text-anchor", "middle"},
              {"fill", "#a00"}},
             "the plan holds no points to draw");
    return area.y1;
  }

  plan_stretch st;
  st.first = outline.nearest_set(view.from);
  st.last = outline.nearest_set(std::min(view.to, static_cast<double>(outline.last_metre())));
  st.end = outline.nearest_set(std::min(view.route_end, view.to));
  if (st.end < st.first) st.end = st.last;
  st.step = sample_metres(static_cast<double>(st.last - st.first));
  double height = 0;
  const std::vector<plan_sample> samples = samples_of(plan, outline, st);
  const plan_mapping map = fit_plan(plan, st, samples, full_area, height);
  const box area{full_area.x0, full_area.y0, full_area.x1, full_area.y0 + height};
  svg.open("g");
  frame(svg, area, placer);
  draw_line(svg, plan, st, samples, map, placer);
  const auto posts = draw_posts(svg, view, outline, st, map);
  draw_scale(svg, area, map, placer);

  // Start and end first, then the stations; labels once all are down.
  std::vector<pending_label> labels;
  const plan_marks pm{view, outline, st, map};
  mark_ends(svg, pm, placer, labels);
  mark_stations(svg, pm, placer, labels);
  place_labels(svg, area, labels, posts, placer);
  svg.close();
  return area.y1;
}

}  // namespace scenario
