#include "inspect/invert_slowdowns.h"

#include <gtest/gtest.h>

#include "service/slowdown.h"

namespace scenario {
namespace {

TEST(InvertSlowdowns, RecordsComeBackFromTheirMarks) {
  const struct {
    slowdown_record written;
    slowdown_values back;
  } cases[] = {
      {{51150, 50, 200, 0, 1, 0}, {51150, 50, 200, 0, 1, 0}},
      {{8000, 30, 1000, 1, 0, 4}, {8000, 30, 1000, 1, 0, 4}},
      // No warning at 1500 m or less: f_ta does nothing there.
      {{1500, 60, 100, 0, 1, 0}, {1500, 60, 100, 0, 0, 0}},
      // On a half cell the approach cells stand one cell further back.
      {{51125, 50, 225, 0, 1, 0}, {51125, 50, 225, 0, 1, 0}},
      // A slowdown of no length: its start covers its end.
      {{9000, 40, 0, 0, 0, 0}, {9000, 40, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    percorso_t grid(1200);
    ASSERT_EQ(memo_rallentamento(grid, c.written), 0);
    const auto back = invert_slowdowns(grid);
    EXPECT_TRUE(back.problems.empty());
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0], c.back);
  }
  percorso_t grid(1200);
  grid[700].tipo_cella = k_slowdown_warning;
  EXPECT_EQ(
      invert_slowdowns(grid).problems,
      std::vector<std::string>{"cell 700: a slowdown warning that belongs to no slowdown start"});
}

}  // namespace
}  // namespace scenario
