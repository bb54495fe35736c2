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

// The far end of the whole line's axis: the route's end or the last object,
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

// The route's length, within the grid.
double route_end_of(const percorso_t& grid, const stazioni_t& table) {
  const std::int32_t length = table[k_slot_train].fine;
  const double grid_end = grid.size() * k_cell_span;
  return length > 0 ? std::min<double>(length, grid_end) : grid_end;
}

std::string km_words(double metres) {
  return svg_number(std::round(metres / 10) / 100) + " km";
}

}  // namespace

route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const profilo_t& plan,
                         const picture_options& options) {
  return draw_route(grid, table, table_source(plan), options);
}

route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const plan_source& points,
                         const picture_options& options) {
  return draw_route(grid, table, points, outline_of(points), options);
}

double picture_end(const percorso_t& grid, const stazioni_t& table) {
  return axis_end_of(grid, stations_of(table), route_end_of(grid, table));
}

route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const plan_source& points,
                         const plan_outline& outline, const picture_options& options) {
  const plan_cursor plan(points);
  scenario_view view{grid, table, plan, outline,         stations_of(table), km_references(table),
                     0,    0,     0,    options.sources, options.line_file,  options.train_file};
  view.route_end = route_end_of(grid, table);
  const double grid_end = grid.size() * k_cell_span;
  view.record_ids = options.record_ids && options.sources != nullptr;
  const double whole_end = axis_end_of(grid, view.stations, view.route_end);
  const bool window = options.from || options.to;
  view.from = std::clamp(options.from.value_or(0.0), 0.0, grid_end);
  view.to = std::clamp(options.to.value_or(whole_end), view.from + 50,
                       std::max(grid_end, view.from + 50));

  svg_writer svg;
  label_placer placer;
  const std::string line_name = utf8_from_1252(table[k_slot_line].nome);
  const std::string train = utf8_from_1252(table[k_slot_repetition].nome);
  std::size_t signals = 0;
  for (const cella& c : grid) signals += c.tipo_cella == k_signal;
  const std::string title = (line_name.empty() ? std::string("Unnamed line") : line_name) +
                            (train.empty() ? std::string() : ", train " + train);
  std::string summary =
      "route " + km_words(view.route_end) + ", " + std::to_string(view.stations.size()) +
      " stations, " + std::to_string(signals) + " signals; grid of " + std::to_string(grid.size()) +
      " cells of 50 m, plan of " + std::to_string(plan.metres()) + " metres";
  if (window) summary += "; drawn from " + km_words(view.from) + " to " + km_words(view.to);

  svg.open("g", {{"font-family", k_font}});
  svg.element("rect",
              {{"x", "0"}, {"y", "0"}, {"width", "100%"}, {"height", "100%"}, {"fill", "white"}});
  svg.text(
      {{"x", "20"}, {"y", "34"}, {"font-size", "20"}, {"font-weight", "bold"}, {"fill", "#111"}},
      title);
  svg.text({{"x", "20"}, {"y", "54"}, {"font-size", "12"}, {"fill", "#555"}}, summary);
  placer.add_obstacle({20, 16, 20 + text_width(title, 20), 40});
  placer.add_obstacle({20, 44, 20 + text_width(summary, 12), 58});
  const double plan_end =
      draw_plan_panel(svg, view, {20, 68, k_width - 20, 68 + k_plan_height}, placer);
  const double panels_end =
      draw_profile_panels(svg, view, k_left, k_width - k_right, plan_end + 18, placer);
  const double height = draw_legend(svg, placer, k_left, k_width - k_right, panels_end + 4) + 4;
  return {svg.finish(k_width, height), k_width,         height, placer.labels(), placer.marks(),
          placer.overlaps(),           placer.omitted()};
}

}  // namespace scenario
