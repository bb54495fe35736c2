#include "inspect/invert_scenery.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace scenario {
namespace {

percorso_t scenery_of(std::initializer_list<std::string_view> records) {
  run_state st = testing::fresh_state();
  testing::compile_line_into(testing::line_text(20000, records), st);
  return st.percorso;
}

TEST(InvertScenery, SectionsMarkEveryCellAsTheGridHasIt) {
  using sections = std::vector<scenery_values>;
  const struct {
    percorso_t grid;
    std::optional<sections> expected;  // when the records are the ones written
  } cases[] = {
      {scenery_of({"montagna, 8650, 8750, 12", "montagna, 16500, 17300, 5"}),
       sections{{8650, 8750, 12}, {16500, 17300, 5}}},
      // 150 m after the one before: type 3.
      {scenery_of({"montagna, 1000, 2000, 11", "montagna, 2150, 2500, 7"}),
       sections{{1000, 2000, 11}, {2150, 2500, 3}}},
      // Inside another, and overlapping the end of another.
      {scenery_of({"montagna, 1000, 3000, 12", "montagna, 1500, 2000, 11",
                   "montagna, 5000, 6000, 14", "montagna, 5700, 6500, 2"}),
       std::nullopt},
  };
  for (const auto& c : cases) {
    const auto back = invert_scenery(c.grid);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    if (c.expected) {
      EXPECT_EQ(back.records, *c.expected);
    }
  }

  // A marker out of step with the section's: one more section for it, with
  // an empty one before so that it keeps its type.
  percorso_t grid(400);
  for (std::size_t c = 100; c <= 119; ++c) grid[c].ambiente = 5;
  for (std::size_t c : {103, 107, 110, 111, 115, 119}) grid[c].tipo_cella = k_scenery_marker;
  const auto back = invert_scenery(grid);
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(back.records, (sections{{5000, 6000, 15}, {5150, 5150, 0}, {5350, 5550, 15}}));

  grid[300].tipo_cella = k_scenery_marker;
  EXPECT_EQ(invert_scenery(grid).problems,
            std::vector<std::string>{
                "cell 300: no scenery sections give this cell's scenery type and marker"});
}

}  // namespace
}  // namespace scenario
