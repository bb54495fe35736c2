// The inverse of the plan: the curve records that build the line plan metre
// by metre.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "inspect/description_records.h"
#include "model/plan_runs.h"
#include "model/profilo.h"
#include "output/plan_reader.h"

namespace scenario {

// Every metre from 2 is a straight step or a curved step of one of the six
// curvature classes, either way, and comes out of the plan exactly (bit for
// bit); each run of curved metres of one class is a curve record, from the
// metre before the run for the run's length. A run that the position check
// (start + 100 <= 50 x last_cell) would refuse but that continues the run
// before it starts earlier, under the run before, which the compile draws
// only from where that one ends.
// The plan is walked in metre order, a window at a time.
inverted<std::vector<curve_values>> invert_plan(const plan_source& plan, std::int32_t last_cell);

// The same inverse as a walker, so that it can take the metres of the walk
// that checks a plan file: the steps are found as the metres come, the
// records made once the grid's last cell is known.
class curve_inversion final : public plan_walker {
 public:
  void take(const plan_window& w) override;
  void end(std::size_t metres) override;
  // True once every metre of a plan has been taken.
  bool complete() const { return complete_; }
  std::size_t metres() const { return seen_; }
  // The records and problems; valid once complete.
  inverted<std::vector<curve_values>> records(std::int32_t last_cell) const;

 private:
  struct metre {
    plan_tag tag = plan_tag::empty;
    double c0 = 0;
    double c1 = 0;
  };
  // What the walk found, in the order it found it: a run of one step class
  // from metre first up to last, or a problem.
  struct event {
    int step = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    std::string problem;  // empty for a run
  };
  void step(std::size_t n, const metre& m, bool near_end);
  void close_run(std::size_t last);
  bool gives(const metre& m, int step) const;

  std::size_t seen_ = 0;
  metre seeds_[2];
  metre held_[2];  // the last two metres, stepped once it is known whether they end the plan
  bool complete_ = false;
  bool walking_ = true;   // on the run of real points from metre 2
  bool stepping_ = true;  // until a metre is no step, or one no record gives
  int step_ = 0;
  std::size_t run_start_ = 0;
  std::size_t last_ = 1;              // the last metre of the run of real points
  std::optional<std::size_t> stray_;  // the first point after that run
  plan_xy before_;                    // metres n - 2 and n - 1
  plan_xy previous_;
  std::vector<event> events_;
};
inverted<std::vector<curve_values>> invert_plan(const profilo_t& plan, std::int32_t last_cell);

}  // namespace scenario
