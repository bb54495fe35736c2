#include "inspect/route_facts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "model/cell_objects.h"
#include "model/slot_objects.h"
#include "route/plan.h"

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
    h[n + 1] = h[n] + gradient_of(grid[n].pendenza) * k_cell_span / 1000;
  return h;
}

bool plan_has(const profilo_t& plan, std::size_t metre) {
  return metre < plan.metres() && plan.tag(metre, 0) != plan_tag::empty &&
         plan.tag(metre, 1) != plan_tag::empty;
}

plan_point plan_at(const profilo_t& plan, std::size_t metre) {
  return {plan.value(metre, 0), plan.value(metre, 1)};
}

bool plan_has(const plan_cursor& plan, std::size_t metre) {
  return metre < plan.metres() && plan.tag(metre) != plan_tag::empty;
}

plan_point plan_at(const plan_cursor& plan, std::size_t metre) {
  return {plan.value(metre, 0), plan.value(metre, 1)};
}

plan_summary summarise_plan(const profilo_t& plan) {
  return summarise_plan(table_source(plan));
}

plan_summary summarise_plan(const plan_source& source) {
  plan_cursor plan(source);
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

std::vector<km_reference> km_references(const stazioni_t& table) {
  std::vector<km_reference> refs;
  for (const int slot : {k_slot_km_uno, k_slot_km_due, k_slot_km_tre}) {
    const km_reference_record r = reference_in_slot(table[static_cast<std::size_t>(slot)]);
    if (r.p != 0 || r.k != 0) refs.push_back({r.p, r.k});
  }
  std::stable_sort(refs.begin(), refs.end(), [](const km_reference& a, const km_reference& b) {
    return a.position < b.position;
  });
  return refs;
}

namespace {

// The reference that holds at p: the last one not beyond it, else the first.
const km_reference& reference_at(const std::vector<km_reference>& refs, double p) {
  std::size_t i = 0;
  while (i + 1 < refs.size() && refs[i + 1].position <= p) ++i;
  return refs[i];
}

}  // namespace

std::optional<double> railway_metres_at(const std::vector<km_reference>& refs, double p) {
  if (refs.empty()) return std::nullopt;
  const km_reference& r = reference_at(refs, p);
  return r.value - (p - r.position);
}

std::string km_text(std::int64_t metres) {
  char buf[48];
  const long long a = std::llabs(static_cast<long long>(metres));
  std::snprintf(buf, sizeof buf, "%s%lld+%03lld", metres < 0 ? "-" : "", a / 1000, a % 1000);
  return buf;
}

std::vector<km_post> km_posts(const std::vector<km_reference>& refs, double from, double to,
                              std::int64_t step) {
  std::vector<km_post> posts;
  if (refs.empty() || step <= 0 || !(from <= to)) return posts;
  // Each reference holds over its own stretch of route; the count runs down
  // over it, so its posts come from the highest multiple down.
  for (std::size_t i = 0; i < refs.size(); ++i) {
    const double lo = i == 0 ? from : std::max(from, static_cast<double>(refs[i].position));
    const double hi =
        i + 1 < refs.size() ? std::min(to, static_cast<double>(refs[i + 1].position)) : to;
    if (lo > hi) continue;
    const bool last = i + 1 == refs.size() || hi < refs[i + 1].position;
    const double top = refs[i].value - (lo - refs[i].position);
    const double bottom = refs[i].value - (hi - refs[i].position);
    const auto first = static_cast<std::int64_t>(std::floor(top / static_cast<double>(step)));
    for (std::int64_t m = first; static_cast<double>(m * step) >= bottom; --m) {
      const double at = refs[i].position + (refs[i].value - static_cast<double>(m * step));
      // The next reference's own posts begin at its position.
      if (!last && at >= hi) continue;
      posts.push_back({at, m * step});
    }
  }
  return posts;
}

std::vector<curve_run> curve_runs(const profilo_t& plan) {
  return curve_runs(table_source(plan));
}

std::vector<curve_run> curve_runs(const plan_source& source) {
  return outline_of(source).curves();
}

plan_outline outline_of(const plan_source& plan) {
  plan_outline outline;
  walk_plan(plan, outline);
  return outline;
}

// A curved step adds k * (d1, -d0) to the step before it: metre n is
// measured against n - 1 and n - 2 when all three are set, and a run of
// metres turning at one curvature is one curve.
void plan_outline::take(const plan_window& w) {
  if (seen_ == 0)
    for (int c = 1; c <= 6; ++c)
      classes_[c] = *curve_curvature(std::string(1, static_cast<char>('0' + c)));
  set_.resize((seen_ + w.size() + 63) / 64);
  for (std::size_t i = 0; i < w.size(); ++i) {
    const std::size_t n = seen_ + i;
    if (w.tags[i] == plan_tag::empty) {
      open_ = false;
      continue;
    }
    set_[n / 64] |= std::uint64_t{1} << (n % 64);
    if (points_++ == 0) first_ = n;
    last_ = n;
    const plan_point c{w.c0[i], w.c1[i]};
    const plan_point a = before_;
    const plan_point b = previous_;
    before_ = previous_;
    previous_ = c;
    auto set = [&](std::size_t m) { return (set_[m / 64] >> (m % 64) & 1) != 0; };
    if (n < 2 || !set(n - 1) || !set(n - 2)) {
      open_ = false;
      continue;
    }
    const double d0 = b.x - a.x;
    const double d1 = b.y - a.y;
    const double len2 = d0 * d0 + d1 * d1;
    const double k = len2 > 0 ? ((c.x - b.x - d0) * d1 - (c.y - b.y - d1) * d0) / len2 : 0;
    if (std::abs(k) < 1e-6) {
      open_ = false;
      continue;
    }
    int found = 0;
    for (int cl = 1; cl <= 6; ++cl)
      if (std::abs(std::abs(k) - classes_[cl]) <= 1e-3 * classes_[cl]) found = cl;
    const int side = k > 0 ? 1 : -1;
    if (open_ && curves_.back().curve_class == found && curves_.back().side == side &&
        (found != 0 || std::abs(k - curves_.back().curvature) <= 1e-3 * std::abs(k))) {
      curves_.back().last = n;
      continue;
    }
    curves_.push_back({n - 1, n, found, side, found != 0 ? side * classes_[found] : k});
    open_ = true;
  }
  seen_ += w.size();
}

void plan_outline::end(std::size_t metres) {
  complete_ = metres == seen_;
}

std::size_t plan_outline::nearest_set(double m) const {
  const auto target = static_cast<std::size_t>(
      std::clamp(m, static_cast<double>(first_), static_cast<double>(last_)));
  for (std::size_t d = 0; d <= last_; ++d) {
    if (target >= d && has(target - d)) return target - d;
    if (has(target + d)) return target + d;
  }
  return first_;
}

}  // namespace scenario
