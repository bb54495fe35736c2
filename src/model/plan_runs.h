// The plan as the line compiler makes it: seeded, then runs of straight and
// curved metres. Every point is a function of these runs, so the plan file
// is written from them piece by piece, and the table of points (profilo_t)
// is made only where a reader wants it whole.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/profilo.h"

namespace scenario {

// Metres after the previous run's last up to last, each continuing the step
// before it, turned by k when curved.
struct plan_run {
  std::int32_t last = 0;
  bool curved = false;
  double k = 0.0;
};

class plan_runs {
 public:
  plan_runs() = default;

  // A plan for metres 0 to extent, every entry empty.
  explicit plan_runs(std::int32_t extent) : extent_(extent) {}

  bool exists() const { return extent_ >= 0; }
  // E, the last metre; -1 when no plan exists.
  std::int32_t extent() const { return extent_; }
  std::size_t metres() const { return static_cast<std::size_t>(extent_ + 1); }

  // Metres 0 and 1: (0, 0) and (0, 1), as 16-bit whole numbers.
  void seed() { last_set_ = 1; }
  bool seeded() const { return last_set_ >= 1; }
  // The last metre with a point: 1 once seeded, -1 before.
  std::int32_t last_set() const { return last_set_; }

  // The metres after last_set() up to last, on a seeded plan, with last
  // after last_set() and at most extent().
  void straight_to(std::int32_t last) { add({last, false, 0.0}); }
  void curved_to(std::int32_t last, double k) { add({last, true, k}); }

  const std::vector<plan_run>& runs() const { return runs_; }

 private:
  void add(plan_run run);

  std::int32_t extent_ = -1;
  std::int32_t last_set_ = -1;
  std::vector<plan_run> runs_;
};

// The two coordinates of a metre of the plan.
struct plan_xy {
  double c0 = 0;
  double c1 = 0;
};

// Metre n from metres n - 2 and n - 1: it continues the step between them.
inline plan_xy straight_step(plan_xy before, plan_xy last) {
  const double d0 = last.c0 - before.c0;
  const double d1 = last.c1 - before.c1;
  return {last.c0 + d0, last.c1 + d1};
}

// The same step turned by curvature k: each new step component is one
// rounded product and one rounded sum (k*d1 + d0, d1 - d0*k), and the step is
// never rescaled. The build forbids fusing a product into a sum.
inline plan_xy curved_step(plan_xy before, plan_xy last, double k) {
  const double d0 = last.c0 - before.c0;
  const double d1 = last.c1 - before.c1;
  const double product0 = k * d1;
  const double step0 = product0 + d0;
  const double product1 = d0 * k;
  const double step1 = d1 - product1;
  return {last.c0 + step0, last.c1 + step1};
}

// The computed points of a plan (metres 2 to last_set()) in metre order, a
// piece at a time, by the steps above.
class plan_points {
 public:
  explicit plan_points(const plan_runs& plan) : plan_(plan) {}

  // Puts the two coordinates of the next metres, at most n of them, into c0
  // and c1; returns how many, 0 after the last.
  std::size_t next(double* c0, double* c1, std::size_t n);

  // Calls put(i, point) for each of the next metres, i counting from 0, at
  // most n of them; returns how many. A caller that stores the points its
  // own way (the plan file's encoder) does so inside the loop of steps,
  // where the stores overlap the arithmetic of the next step.
  template <typename Put>
  std::size_t for_next(std::size_t n, Put put);

 private:
  const plan_runs& plan_;
  std::size_t run_ = 0;
  std::int32_t metre_ = 2;  // the next metre to compute
  plan_xy last_{0, 1};      // metre n - 1
  plan_xy before_{0, 0};    // metre n - 2
};

template <typename Put>
std::size_t plan_points::for_next(std::size_t n, Put put) {
  std::size_t done = 0;
  const std::vector<plan_run>& runs = plan_.runs();
  while (done < n && run_ < runs.size()) {
    const plan_run& r = runs[run_];
    const std::size_t left = static_cast<std::size_t>(std::int64_t{r.last} - metre_ + 1);
    const std::size_t count = std::min(left, n - done);
    // The two points before stay in registers.
    plan_xy last = last_;
    plan_xy before = before_;
    if (r.curved) {
      for (std::size_t i = 0; i < count; ++i) {
        const plan_xy p = curved_step(before, last, r.k);
        before = last;
        last = p;
        put(done + i, p);
      }
    } else {
      for (std::size_t i = 0; i < count; ++i) {
        const plan_xy p = straight_step(before, last);
        before = last;
        last = p;
        put(done + i, p);
      }
    }
    last_ = last;
    before_ = before;
    done += count;
    metre_ += static_cast<std::int32_t>(count);
    if (metre_ > r.last) ++run_;
  }
  return done;
}

// The whole table of the plan's entries.
profilo_t plan_table(const plan_runs& plan);

}  // namespace scenario
