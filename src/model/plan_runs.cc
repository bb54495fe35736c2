#include "model/plan_runs.h"

#include <algorithm>

namespace scenario {

void plan_runs::add(plan_run run) {
  // A run like the one before it continues that one: the steps are the same
  // metre by metre, and a long straight line stays one run.
  if (!runs_.empty() && runs_.back().curved == run.curved && runs_.back().k == run.k)
    runs_.back().last = run.last;
  else
    runs_.push_back(run);
  last_set_ = run.last;
}

std::size_t plan_points::next(double* c0, double* c1, std::size_t n) {
  return for_next(n, [&](std::size_t i, plan_xy p) {
    c0[i] = p.c0;
    c1[i] = p.c1;
  });
}

profilo_t plan_table(const plan_runs& plan) {
  if (!plan.exists()) return {};
  profilo_t table(plan.extent());
  if (!plan.seeded()) return table;
  table.set_int16(0, 0, 0);
  table.set_int16(0, 1, 0);
  table.set_int16(1, 0, 0);
  table.set_int16(1, 1, 1);
  plan_points points(plan);
  constexpr std::size_t k_piece = 1024;
  double c0[k_piece];
  double c1[k_piece];
  std::size_t metre = 2;
  while (const std::size_t n = points.next(c0, c1, k_piece)) {
    for (std::size_t i = 0; i < n; ++i, ++metre) {
      table.set_real(metre, 0, c0[i]);
      table.set_real(metre, 1, c1[i]);
    }
  }
  return table;
}

}  // namespace scenario
