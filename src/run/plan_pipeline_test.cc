// The plan made on a second thread: the pieces of the one encoder, in its
// order, and a writer's failure or an early end that never leaves the
// thread behind.
#include "run/plan_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace scenario {
namespace {

using pieces = std::vector<std::pair<std::uint64_t, std::string>>;

plan_runs long_plan() {
  plan_runs plan(1007000);
  plan.seed();
  plan.curved_to(1000, -0.0004);
  plan.straight_to(1006998);
  return plan;
}

TEST(PlanPipeline, HandsOnTheEncodersPiecesInItsOrder) {
  plan_runs unseeded(300);
  for (const plan_runs& plan : {long_plan(), unseeded, plan_runs()}) {
    pieces direct;
    encode_plan(plan, [&](std::uint64_t at, std::string_view b) { direct.emplace_back(at, b); });
    // A writer slower than the encoder fills the ring and makes the encoder
    // wait for buffers; a fast one waits for pieces.
    for (const bool slow : {false, true}) {
      pieces piped;
      int then_ran = 0;
      plan_pipeline pipeline(plan, [&] { ++then_ran; });
      pipeline.drain([&](std::uint64_t at, std::string_view b) {
        if (slow) std::this_thread::sleep_for(std::chrono::microseconds(300));
        piped.emplace_back(at, b);
      });
      EXPECT_TRUE(piped == direct) << plan.extent() << (slow ? " slow" : " fast");
      EXPECT_EQ(then_ran, 1);
    }
  }
}

TEST(PlanPipeline, AFailedWriteEndsTheThreadAndPassesOn) {
  const plan_runs plan = long_plan();
  // After each count of pieces written, the writer fails; or no drain at
  // all; or the work after the pieces fails (1000). Either way the pipeline
  // ends without waiting for the rest, and drain passes the failure on.
  for (const int fail_after : {-1, 0, 1, 2, 10, 1000}) {
    SCOPED_TRACE(fail_after);
    plan_pipeline pipeline(plan, [&] {
      if (fail_after == 1000) throw std::runtime_error("out of memory");
    });
    if (fail_after < 0) continue;
    int written = 0;
    EXPECT_THROW(pipeline.drain([&](std::uint64_t, std::string_view) {
      if (written++ == fail_after) throw std::runtime_error("No space left on device");
    }),
                 std::runtime_error);
  }
}

}  // namespace
}  // namespace scenario
