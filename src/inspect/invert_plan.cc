#include "inspect/invert_plan.h"

#include <bit>
#include <optional>
#include <string>

#include "model/plan_runs.h"

namespace scenario {
namespace {

constexpr double k_by_digit[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// A step class: 0 straight, +d a curve of digit d turning as "d" does, -d as "s".
double curvature(int step) {
  const double k = k_by_digit[std::abs(step) - 1];
  return step > 0 ? k : -k;
}

// Finds which step the compile took at each metre by taking every step again
// with the compile's own arithmetic, from the two metres before it.
class step_finder {
 public:
  explicit step_finder(plan_cursor& plan) : plan_(plan) {
    before_ = {plan_.value(0, 0), plan_.value(0, 1)};
    last_ = {plan_.value(1, 0), plan_.value(1, 1)};
  }

  // The class of the step that gives metre n, the metre after the last one
  // asked for (from 2 on), trying `likely` first; nothing when no step gives
  // it.
  std::optional<int> step_at(std::size_t n, int likely) {
    const plan_xy point{plan_.value(n, 0), plan_.value(n, 1)};
    std::optional<int> found;
    if (gives(point, likely)) {
      found = likely;
    } else {
      for (int step = -6; step <= 6 && !found; ++step)
        if (step != likely && gives(point, step)) found = step;
    }
    before_ = last_;
    last_ = point;
    return found;
  }

 private:
  bool gives(plan_xy point, int step) const {
    const plan_xy p =
        step == 0 ? straight_step(before_, last_) : curved_step(before_, last_, curvature(step));
    return std::bit_cast<std::uint64_t>(p.c0) == std::bit_cast<std::uint64_t>(point.c0) &&
           std::bit_cast<std::uint64_t>(p.c1) == std::bit_cast<std::uint64_t>(point.c1);
  }

  plan_cursor& plan_;
  plan_xy before_;
  plan_xy last_;
};

bool seeded(plan_cursor& plan) {
  const double expected[2][2] = {{0, 0}, {0, 1}};
  for (std::size_t m = 0; m < 2; ++m)
    for (int c = 0; c < 2; ++c)
      if (plan.tag(m) != plan_tag::int16 || plan.value(m, c) != expected[m][c]) return false;
  return true;
}

std::string at_metre(std::size_t m) {
  return "metre " + std::to_string(m) + ": ";
}

}  // namespace

inverted<std::vector<curve_values>> invert_plan(const profilo_t& plan, std::int32_t last_cell) {
  return invert_plan(table_source(plan), last_cell);
}

inverted<std::vector<curve_values>> invert_plan(const plan_source& source, std::int32_t last_cell) {
  inverted<std::vector<curve_values>> out;
  plan_cursor plan(source);
  const std::int64_t extent = plan.extent();
  if (extent < 2 || !seeded(plan)) {
    out.problems.push_back(at_metre(0) +
                           "the plan does not begin with the points (0, 0) and (0, 1)");
    return out;
  }
  step_finder finder(plan);
  const std::int64_t room =
      std::int64_t{50} * last_cell - 100;  // the latest start a record may have
  int step = 0;
  std::size_t run_start = 0;     // first metre of the current curved run
  std::int64_t drawn_until = 1;  // the last metre a curve record has drawn
  // The problems of the steps, told after those of the plan's end.
  std::vector<std::string> step_problems;
  auto close_run = [&](std::size_t end) {
    if (step == 0) return;
    std::int64_t start = static_cast<std::int64_t>(run_start) - 1;
    if (start > room && drawn_until == start) start = room - room % 50;
    if (start > room)
      step_problems.push_back(at_metre(run_start) +
                              "a curve starts here, too close to the end of the grid for a "
                              "curve record");
    out.records.push_back({std::abs(step), step < 0, static_cast<std::int32_t>(start),
                           static_cast<std::int32_t>(static_cast<std::int64_t>(end) - start)});
    drawn_until = static_cast<std::int64_t>(end);
  };
  // One walk: the steps of the metres given, up to the last one. The
  // compile leaves the last two metres empty unless a curve reaches them,
  // and a compile that stopped at a fault left the rest of the plan empty.
  std::size_t last = 1;
  bool stepping = true;  // until a metre is no step, or one no record gives
  for (std::size_t n = 2; n <= static_cast<std::size_t>(extent) && plan.tag(n) == plan_tag::real;
       ++n) {
    last = n;
    if (!stepping) continue;
    const std::optional<int> found = finder.step_at(n, step);
    if (!found) {
      step_problems.push_back(at_metre(n) +
                              "the point is no step of the plan from the two before it");
      close_run(n - 1);
      stepping = false;
      continue;
    }
    if (*found != step) {
      close_run(n - 1);
      step = *found;
      run_start = n;
    }
    if (step == 0 && n > static_cast<std::size_t>(extent) - 2) {
      step_problems.push_back(at_metre(n) +
                              "a straight step past metre E - 2, which only a curve reaches");
      stepping = false;
    }
  }
  if (stepping) close_run(last);

  if (last < static_cast<std::size_t>(extent) - 2)
    out.problems.push_back(at_metre(last + 1) +
                           "the plan ends here; it comes from a compile stopped by a fault, and "
                           "the descriptions written extend it straight to the end");
  for (std::size_t m = last + 1; m <= static_cast<std::size_t>(extent); ++m)
    if (plan.tag(m) != plan_tag::empty) {
      out.problems.push_back(at_metre(m) + "a point after the end of the plan");
      break;
    }
  out.problems.insert(out.problems.end(), step_problems.begin(), step_problems.end());
  return out;
}

}  // namespace scenario
