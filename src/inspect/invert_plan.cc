#include "inspect/invert_plan.h"

#include <bit>
#include <optional>
#include <string>

#include "model/plan_runs.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

constexpr double k_by_digit[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// A step class: 0 straight, +d a curve of digit d turning as "d" does, -d as "s".
double curvature(int step) {
  const double k = k_by_digit[std::abs(step) - 1];
  return step > 0 ? k : -k;
}

std::string at_metre(std::size_t m) {
  return "metre " + std::to_string(m) + ": ";
}

}  // namespace

inverted<std::vector<curve_values>> invert_plan(const profilo_t& plan, std::int32_t last_cell) {
  return invert_plan(table_source(plan), last_cell);
}

inverted<std::vector<curve_values>> invert_plan(const plan_source& source, std::int32_t last_cell) {
  curve_inversion inversion;
  walk_plan(source, inversion);
  return inversion.records(last_cell);
}

// Finds which step the compile took at each metre by taking every step again
// with the compile's own arithmetic, from the two metres before it, trying
// the step of the metre before first. The last two metres of the plan are
// held until its end is known: a straight step past metre E - 2 ends the
// stepping.
void curve_inversion::take(const plan_window& w) {
  const std::size_t size = w.size();
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t n = seen_ + i;
    if (n < 2) {
      seeds_[n] = {w.tags[i], w.c0[i], w.c1[i]};
      before_ = previous_;
      previous_ = {w.c0[i], w.c1[i]};
    } else if (n >= 4) {
      // Metre n - 2 is not one of the last two.
      if (i >= 2)
        step(n - 2, {w.tags[i - 2], w.c0[i - 2], w.c1[i - 2]}, false);
      else
        step(n - 2, held_[i], false);
    }
  }
  // The last two metres taken, held.
  if (size >= 2) {
    held_[0] = {w.tags[size - 2], w.c0[size - 2], w.c1[size - 2]};
    held_[1] = {w.tags[size - 1], w.c0[size - 1], w.c1[size - 1]};
  } else if (size == 1) {
    held_[0] = held_[1];
    held_[1] = {w.tags[0], w.c0[0], w.c1[0]};
  }
  seen_ += size;
}

void curve_inversion::end(std::size_t metres) {
  if (metres != seen_) return;  // not the whole plan: never complete
  // held_ holds metres seen_ - 2 and seen_ - 1.
  for (std::size_t n = std::max<std::size_t>(seen_, 4) - 2; n < seen_; ++n)
    step(n, held_[n + 2 - seen_], true);
  if (stepping_) close_run(last_);
  complete_ = true;
}

bool curve_inversion::gives(const metre& m, int step) const {
  const plan_xy p = step == 0 ? straight_step(before_, previous_)
                              : curved_step(before_, previous_, curvature(step));
  return std::bit_cast<std::uint64_t>(p.c0) == std::bit_cast<std::uint64_t>(m.c0) &&
         std::bit_cast<std::uint64_t>(p.c1) == std::bit_cast<std::uint64_t>(m.c1);
}

// Metre n, from 2 on. The compile leaves the last two metres empty unless a
// curve reaches them, and a compile that stopped at a fault left the rest
// of the plan empty: the steps end at the first metre without a real point.
void curve_inversion::step(std::size_t n, const metre& m, bool near_end) {
  if (!walking_) {
    if (!stray_ && m.tag != plan_tag::empty) stray_ = n;
    return;
  }
  if (m.tag != plan_tag::real) {
    walking_ = false;
    if (m.tag != plan_tag::empty) stray_ = n;
    return;
  }
  last_ = n;
  if (!stepping_) return;
  std::optional<int> found;
  if (gives(m, step_)) {
    found = step_;
  } else {
    for (int s = -6; s <= 6 && !found; ++s)
      if (s != step_ && gives(m, s)) found = s;
  }
  before_ = previous_;
  previous_ = {m.c0, m.c1};
  if (!found) {
    events_.push_back(
        {0, 0, 0, at_metre(n) + "the point is no step of the plan from the two before it"});
    close_run(n - 1);
    stepping_ = false;
    return;
  }
  if (*found != step_) {
    close_run(n - 1);
    step_ = *found;
    run_start_ = n;
  }
  if (step_ == 0 && near_end) {
    events_.push_back(
        {0, 0, 0, at_metre(n) + "a straight step past metre E - 2, which only a curve reaches"});
    stepping_ = false;
  }
}

void curve_inversion::close_run(std::size_t last) {
  if (step_ != 0) events_.push_back({step_, run_start_, last, {}});
}

inverted<std::vector<curve_values>> curve_inversion::records(std::int32_t last_cell) const {
  inverted<std::vector<curve_values>> out;
  const std::int64_t extent = static_cast<std::int64_t>(seen_) - 1;
  const double expected[2][2] = {{0, 0}, {0, 1}};
  bool seeded = extent >= 2;
  for (std::size_t m = 0; m < 2 && seeded; ++m)
    seeded = seeds_[m].tag == plan_tag::int16 && seeds_[m].c0 == expected[m][0] &&
             seeds_[m].c1 == expected[m][1];
  if (!seeded) {
    out.problems.push_back(at_metre(0) +
                           "the plan does not begin with the points (0, 0) and (0, 1)");
    return out;
  }
  // The latest start a record may have.
  const std::int64_t room = std::int64_t{k_cell_metres} * last_cell - 100;
  std::int64_t drawn_until = 1;  // the last metre a curve record has drawn
  // The problems of the steps, told after those of the plan's end.
  std::vector<std::string> step_problems;
  for (const event& e : events_) {
    if (!e.problem.empty()) {
      step_problems.push_back(e.problem);
      continue;
    }
    // A run that starts too late for a record but continues the one before
    // starts under it.
    std::int64_t start = static_cast<std::int64_t>(e.first) - 1;
    if (start > room && drawn_until == start) start = room - room % k_cell_metres;
    if (start > room)
      step_problems.push_back(at_metre(e.first) +
                              "a curve starts here, too close to the end of the grid for a "
                              "curve record");
    out.records.push_back({std::abs(e.step), e.step < 0, static_cast<std::int32_t>(start),
                           static_cast<std::int32_t>(static_cast<std::int64_t>(e.last) - start)});
    drawn_until = static_cast<std::int64_t>(e.last);
  }
  if (last_ < static_cast<std::size_t>(extent) - 2)
    out.problems.push_back(at_metre(last_ + 1) +
                           "the plan ends here; it comes from a compile stopped by a fault, and "
                           "the descriptions written extend it straight to the end");
  if (stray_) out.problems.push_back(at_metre(*stray_) + "a point after the end of the plan");
  out.problems.insert(out.problems.end(), step_problems.begin(), step_problems.end());
  return out;
}

}  // namespace scenario
