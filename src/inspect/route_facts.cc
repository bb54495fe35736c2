#include "inspect/route_facts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace scenario {
namespace {

bool all_zero(const stazione& s) {
  return s == stazione{};
}

bool name_only(const stazione& s) {
  stazione bare = s;
  bare.nome.clear();
  return !s.nome.empty() && all_zero(bare);
}

}  // namespace

std::string_view role_name(slot_role role) {
  switch (role) {
    case slot_role::unused:
      return "unused";
    case slot_role::station:
      return "station";
    case slot_role::board_text:
      return "text-board text";
    case slot_role::km_reference:
      return "kilometric reference";
    case slot_role::train_values:
      return "train values";
    case slot_role::line_values:
      return "line values";
    case slot_role::train_number:
      return "train number";
  }
  return "unused";
}

std::array<slot_role, k_station_slots> slot_roles(const stazioni_t& table) {
  std::array<slot_role, k_station_slots> roles{};
  roles.fill(slot_role::unused);
  int board_from = k_first_board_slot + 1;
  while (board_from > 1 && name_only(table[static_cast<std::size_t>(board_from - 1)])) --board_from;
  for (int s = 1; s <= k_first_board_slot; ++s) {
    const stazione& r = table[static_cast<std::size_t>(s)];
    if (s >= board_from)
      roles[static_cast<std::size_t>(s)] = slot_role::board_text;
    else if (!all_zero(r))
      roles[static_cast<std::size_t>(s)] = slot_role::station;
  }
  roles[k_slot_km_tre] = roles[k_slot_km_due] = roles[k_slot_km_uno] = slot_role::km_reference;
  roles[k_slot_train] = slot_role::train_values;
  roles[k_slot_line] = slot_role::line_values;
  roles[k_slot_repetition] = slot_role::train_number;
  return roles;
}

std::vector<cell_run> runs_of(const percorso_t& grid, std::uint8_t cella::*field) {
  std::vector<cell_run> runs;
  for (std::size_t n = 0; n < grid.size(); ++n) {
    const std::uint8_t v = grid[n].*field;
    if (!runs.empty() && runs.back().value == v)
      runs.back().last = n;
    else
      runs.push_back({n, n, v});
  }
  return runs;
}

std::vector<double> elevation_profile(const percorso_t& grid) {
  std::vector<double> h(grid.size() + 1, 0.0);
  for (std::size_t n = 0; n < grid.size(); ++n)
    h[n + 1] = h[n] + (grid[n].pendenza - 100) * k_cell_span / 1000;
  return h;
}

bool plan_has(const profilo_t& plan, std::size_t metre) {
  return metre < plan.metres() && plan.tag(metre, 0) != plan_tag::empty &&
         plan.tag(metre, 1) != plan_tag::empty;
}

plan_point plan_at(const profilo_t& plan, std::size_t metre) {
  return {plan.value(metre, 0), plan.value(metre, 1)};
}

plan_summary summarise_plan(const profilo_t& plan) {
  plan_summary s;
  s.extent = plan.extent();
  bool have_heading = false;
  double heading = 0;
  plan_point previous;
  for (std::size_t m = 0; m < plan.metres(); ++m) {
    if (!plan_has(plan, m)) continue;
    const plan_point p = plan_at(plan, m);
    if (s.points == 0) {
      s.first_metre = m;
      s.first = s.low = s.high = p;
    } else {
      const double dx = p.x - previous.x;
      const double dy = p.y - previous.y;
      s.path_length += std::hypot(dx, dy);
      if (dx != 0 || dy != 0) {
        // Measured from coordinate 1 towards coordinate 0: a right turn adds.
        const double h = std::atan2(dx, dy);
        if (!have_heading) {
          have_heading = true;
        } else {
          double turn = h - heading;
          while (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
          while (turn < -std::numbers::pi) turn += 2 * std::numbers::pi;
          s.net_turning += turn;
          s.total_turning += std::abs(turn);
        }
        heading = h;
      }
    }
    s.low = {std::min(s.low.x, p.x), std::min(s.low.y, p.y)};
    s.high = {std::max(s.high.x, p.x), std::max(s.high.y, p.y)};
    s.last_metre = m;
    s.last = p;
    previous = p;
    ++s.points;
  }
  s.net_turning *= 180 / std::numbers::pi;
  s.total_turning *= 180 / std::numbers::pi;
  return s;
}

}  // namespace scenario
