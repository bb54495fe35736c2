#include "draw/route_picture.h"

#include <algorithm>
#include <cmath>

#include "common/utf8_text.h"
#include "draw/picture_parts.h"
#include "draw/svg_writer.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

constexpr double k_width = 1600;
constexpr double k_plan_height = 370;
constexpr double k_left = 120;  // room for the value axes and the lane names
constexpr double k_right = 40;

std::vector<station_view> stations_of(const stazioni_t& table) {
  std::vector<station_view> out;
  const auto roles = slot_roles(table);
  for (int s = 0; s < k_station_slots; ++s) {
    if (roles[static_cast<std::size_t>(s)] != slot_role::station) continue;
    const stazione& r = table[static_cast<std::size_t>(s)];
    std::string name = utf8_from_1252(r.nome);
    if (name.empty()) name = "station " + std::to_string(s);
    out.push_back({s, name, r.posizione, r.inizio, r.fine});
  }
  return out;
}

// The far end of the distance axis: the route's end or the last object,
// whichever is further, up to the next whole kilometre, within the grid.
double axis_end_of(const percorso_t& grid, const std::vector<station_view>& stations,
                   double route_end) {
  double far = route_end;
  for (std::size_t n = 0; n < grid.size(); ++n)
    if (grid[n].tipo_cella != k_empty && grid[n].tipo_cella != k_scenery_marker)
      far = std::max(far, (n + 1) * k_cell_span);
  for (const station_view& s : stations) far = std::max(far, static_cast<double>(s.fine));
  const double grid_end = grid.size() * k_cell_span;
  return std::max(1000.0,
                  std::min(std::ceil(far / 1000) * 1000, std::ceil(grid_end / 1000) * 1000));
}

double draw_legend(svg_writer& svg, double top) {
  // Each glyph is drawn by hand, centred on its anchor.
  double x = k_left;
  double y = top + 10;
  auto entry = [&](const std::string& text, auto glyph) {
    if (x + 28 + text_width(text, 11) > k_width - k_right) {
      x = k_left;
      y += 20;
    }
    glyph(x + 8, y);
    svg.text({{"x", svg_number(x + 20)},
              {"y", svg_number(y + 4)},
              {"font-size", "11"},
              {"fill", "#222"}},
             text);
    x += 28 + text_width(text, 11);
  };
  auto dot = [&](double cx, double cy, const char* fill) {
    svg.element("circle",
                {{"cx", svg_number(cx)}, {"cy", svg_number(cy)}, {"r", "4"}, {"fill", fill}});
  };
  entry("station (plan), area and stop (lane)", [&](double cx, double cy) {
    svg.element("circle", {{"cx", svg_number(cx)},
                           {"cy", svg_number(cy)},
                           {"r", "4.5"},
                           {"fill", "white"},
                           {"stroke", "#111"},
                           {"stroke-width", "1.6"}});
  });
  entry("signal", [&](double cx, double cy) { dot(cx, cy, "#263238"); });
  entry("signal with clearing delay (s)", [&](double cx, double cy) { dot(cx, cy, "#c62828"); });
  entry("speed board (km/h)", [&](double cx, double cy) {
    svg.element("rect", {{"x", svg_number(cx - 4)},
                         {"y", svg_number(cy - 5.5)},
                         {"width", "8"},
                         {"height", "11"},
                         {"fill", "white"},
                         {"stroke", "#111"}});
  });
  entry("slowdown warning", [&](double cx, double cy) {
    svg.element("polygon", {{"points", svg_number(cx) + "," + svg_number(cy - 6) + " " +
                                           svg_number(cx - 7) + "," + svg_number(cy + 6) + " " +
                                           svg_number(cx + 7) + "," + svg_number(cy + 6)},
                            {"fill", "#fdd835"},
                            {"stroke", "#111"}});
  });
  entry("slowdown start / end", [&](double cx, double cy) {
    svg.element("rect", {{"x", svg_number(cx - 7)},
                         {"y", svg_number(cy - 3)},
                         {"width", "7"},
                         {"height", "6"},
                         {"fill", "#e65100"}});
    svg.element("rect", {{"x", svg_number(cx + 1)},
                         {"y", svg_number(cy - 3)},
                         {"width", "7"},
                         {"height", "6"},
                         {"fill", "white"},
                         {"stroke", "#e65100"}});
  });
  entry("code point / without value", [&](double cx, double cy) {
    svg.element("polygon", {{"points", svg_number(cx - 4) + "," + svg_number(cy - 5) + " " +
                                           svg_number(cx) + "," + svg_number(cy) + " " +
                                           svg_number(cx - 4) + "," + svg_number(cy + 5) + " " +
                                           svg_number(cx - 8) + "," + svg_number(cy)},
                            {"fill", "#6a1b9a"}});
    svg.element("polygon", {{"points", svg_number(cx + 5) + "," + svg_number(cy - 5) + " " +
                                           svg_number(cx + 9) + "," + svg_number(cy) + " " +
                                           svg_number(cx + 5) + "," + svg_number(cy + 5) + " " +
                                           svg_number(cx + 1) + "," + svg_number(cy)},
                            {"fill", "white"},
                            {"stroke", "#6a1b9a"}});
  });
  return y + 16;
}

}  // namespace

route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const profilo_t& plan) {
  scenario_view view{grid, table, plan, stations_of(table), 0, 0};
  const std::int32_t length = table[k_slot_train].fine;
  const double grid_end = grid.size() * k_cell_span;
  view.route_end = length > 0 ? std::min<double>(length, grid_end) : grid_end;
  view.axis_end = axis_end_of(grid, view.stations, view.route_end);

  svg_writer svg;
  label_placer placer;
  const std::string line_name = utf8_from_1252(table[k_slot_line].nome);
  const std::string train = utf8_from_1252(table[k_slot_repetition].nome);
  std::size_t signals = 0;
  for (const cella& c : grid) signals += c.tipo_cella == k_signal;
  const std::string title = (line_name.empty() ? std::string("Unnamed line") : line_name) +
                            (train.empty() ? std::string() : ", train " + train);
  const std::string summary = "route " + svg_number(std::round(view.route_end / 10) / 100) +
                              " km, " + std::to_string(view.stations.size()) + " stations, " +
                              std::to_string(signals) + " signals; grid of " +
                              std::to_string(grid.size()) + " cells of 50 m, plan of " +
                              std::to_string(plan.metres()) + " metres";

  svg.open("g", {{"font-family", k_font}});
  svg.element("rect",
              {{"x", "0"}, {"y", "0"}, {"width", "100%"}, {"height", "100%"}, {"fill", "white"}});
  svg.text(
      {{"x", "20"}, {"y", "34"}, {"font-size", "20"}, {"font-weight", "bold"}, {"fill", "#111"}},
      title);
  svg.text({{"x", "20"}, {"y", "54"}, {"font-size", "12"}, {"fill", "#555"}}, summary);
  draw_plan_panel(svg, view, {20, 68, k_width - 20, 68 + k_plan_height}, placer);
  const double panels_end =
      draw_profile_panels(svg, view, k_left, k_width - k_right, 68 + k_plan_height + 18, placer);
  const double height = draw_legend(svg, panels_end + 4) + 10;
  return {svg.finish(k_width, height), placer.labels(), placer.overlaps(), placer.omitted()};
}

}  // namespace scenario
