// The plan file read by windows: every window the same metres as the whole
// table, wherever it starts, across the noted entry starts and the
// boundary between the two coordinate blocks; a cursor walking or jumping.
#include "output/plan_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <optional>

#include "output/plan_format.h"

namespace scenario {
namespace {

// Seed, curves both ways, a straight, and empty metres at the end: entries
// of all three sizes, over several noted starts.
plan_runs mixed_plan() {
  plan_runs plan(30000);
  plan.seed();
  plan.curved_to(4000, 0.002);
  plan.straight_to(9000);
  plan.curved_to(17000, -0.0004);
  plan.straight_to(26000);
  return plan;
}

bool same_bits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(PlanReader, EveryWindowHoldsTheMetresOfTheTable) {
  const std::string bytes = serialise_plan(mixed_plan());
  const profilo_t table = plan_table(mixed_plan());
  const auto opened = plan_reader::open(std::make_shared<memory_bytes>(bytes));
  ASSERT_TRUE(opened.ok());
  const plan_reader& reader = *opened.value();
  ASSERT_EQ(reader.metres(), table.metres());
  const std::size_t k = plan_reader::k_stride;
  const struct {
    std::size_t first, n;
  } windows[] = {{0, 1},      {0, 30001},   {k - 1, 2}, {k, k},      {3 * k + 7, 5000},
                 {26000, 10}, {29990, 100}, {30000, 1}, {30001, 10}, {12345, 0}};
  for (const auto& w : windows) {
    plan_window got;
    reader.read(w.first, w.n, got);
    const std::size_t expected =
        w.first < table.metres() ? std::min(w.n, table.metres() - w.first) : 0;
    ASSERT_EQ(got.size(), expected) << w.first;
    for (std::size_t i = 0; i < got.size(); ++i) {
      const std::size_t m = w.first + i;
      ASSERT_EQ(got.tags[i], table.tag(m, 0)) << m;
      ASSERT_TRUE(same_bits(got.c0[i], table.value(m, 0)) &&
                  same_bits(got.c1[i], table.value(m, 1)))
          << m;
    }
  }
}

TEST(PlanReader, ACursorGivesEachMetreWhateverTheOrder) {
  const plan_runs runs = mixed_plan();
  const std::string bytes = serialise_plan(runs);
  const profilo_t table = plan_table(runs);
  const auto reader = plan_reader::open(std::make_shared<memory_bytes>(bytes)).value();
  // The file read by windows, and the runs computed as they are asked for.
  const runs_source computed(runs);
  for (const plan_source* source : {static_cast<const plan_source*>(reader.get()),
                                    static_cast<const plan_source*>(&computed)}) {
    const plan_cursor cursor(*source);
    // A walk looking two metres back, then jumps both ways.
    std::vector<std::size_t> order;
    for (std::size_t m = 2; m < table.metres(); ++m) order.insert(order.end(), {m - 2, m - 1, m});
    for (const std::size_t m : {29000, 5, 16000, 16001, 15999, 0, 30000}) order.push_back(m);
    for (const std::size_t m : order) {
      ASSERT_EQ(cursor.tag(m), table.tag(m, 0)) << m;
      ASSERT_TRUE(same_bits(cursor.value(m, 0), table.value(m, 0))) << m;
      ASSERT_TRUE(same_bits(cursor.value(m, 1), table.value(m, 1))) << m;
    }
  }
}

// What a walk hands over, metre by metre.
struct recording_walker final : plan_walker {
  std::vector<plan_tag> tags;
  std::vector<double> c0, c1;
  std::optional<std::size_t> ended;
  void take(const plan_window& w) override {
    EXPECT_EQ(w.first, tags.size());
    tags.insert(tags.end(), w.tags.begin(), w.tags.end());
    c0.insert(c0.end(), w.c0.begin(), w.c0.end());
    c1.insert(c1.end(), w.c1.begin(), w.c1.end());
  }
  void end(std::size_t metres) override { ended = metres; }
};

TEST(PlanReader, TheCheckingWalkHandsEveryMetreOverOnceAndOnlyForAPlan) {
  const std::string bytes = serialise_plan(mixed_plan());
  const profilo_t table = plan_table(mixed_plan());
  recording_walker walked;
  ASSERT_TRUE(plan_reader::open(std::make_shared<memory_bytes>(bytes), &walked).ok());
  ASSERT_EQ(walked.ended, table.metres());
  ASSERT_EQ(walked.tags.size(), table.metres());
  for (std::size_t m = 0; m < table.metres(); ++m)
    ASSERT_TRUE(walked.tags[m] == table.tag(m, 0) && same_bits(walked.c0[m], table.value(m, 0)) &&
                same_bits(walked.c1[m], table.value(m, 1)))
        << m;

  // Files whose halves do not meet at the middle, or do not match: the
  // fault is the one an entry-by-entry reading finds, and the walk never
  // ends.
  const std::size_t half = bytes.size() / 2;
  const struct {
    std::string bytes;
    decode_error fault;
  } damaged[] = {
      {bytes.substr(0, bytes.size() - 1),
       {bytes.size() - 2, "truncated entry 60001: tag needs 2 bytes, 1 left"}},
      // The last metre set in coordinate 1 only, the file growing by 2 bytes.
      {bytes.substr(0, bytes.size() - 2) + std::string("\x02\x00\x07\x00", 4),
       {bytes.size() - 2, "metre 30000: tag 2 in coordinate 1, 0 in coordinate 0"}},
      // The same in coordinate 0.
      {bytes.substr(0, half - 2) + std::string("\x02\x00\x07\x00", 4) + bytes.substr(half),
       {half + 2 + half - 2, "metre 30000: tag 0 in coordinate 1, 2 in coordinate 0"}},
  };
  for (const auto& d : damaged) {
    recording_walker partial;
    const auto opened = plan_reader::open(std::make_shared<memory_bytes>(d.bytes), &partial);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error().offset, d.fault.offset);
    EXPECT_EQ(opened.error().reason, d.fault.reason);
    EXPECT_EQ(opened.error().reason, decode_plan(d.bytes).error().reason);
    EXPECT_FALSE(partial.ended);
  }
}

}  // namespace
}  // namespace scenario
