#include "inspect/invert_scenery.h"

#include <gtest/gtest.h>

#include "route/scenery.h"
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
  EXPECT_EQ(back.records, (sections{{5000, 6000, 15}, {5150, 5150, 3}, {5350, 5550, 15}}));

  // No section starts before cell 0, so none puts a marker on cells 0 to 2.
  grid[2].tipo_cella = k_scenery_marker;
  EXPECT_EQ(invert_scenery(grid).problems,
            (std::vector<std::string>{
                "cell 2: a scenery marker in the first three cells, which no section places",
                "cell 2: no scenery sections give this cell's scenery type and marker"}));
}

// Sections in any order over one another, and boards that kept markers off
// their cells: the grid comes back whatever order made it.
TEST(InvertScenery, AnyOrderOfSectionsComesBack) {
  const std::initializer_list<std::string_view> cases[] = {
      // A later section of its own type in the middle of an earlier one.
      {"montagna, 1000, 3000, 12", "montagna, 5000, 5200, 1", "montagna, 1500, 2000, 14"},
      // Right to left, each after an empty one far enough back.
      {"montagna, 3000, 4000, 17", "montagna, 0, 0, 3", "montagna, 2000, 3000, 15",
       "montagna, 0, 0, 3", "montagna, 1000, 2000, 11"},
      // Markers out of step under a later section of type 0, and a board
      // written first keeping one off its cell.
      {"indicatori_vmax, 1450, 90, 90, 90, 0, , , , 0", "montagna, 1000, 2500, 11",
       "montagna, 1600, 1700, 3", "montagna, 6000, 9000, 0"},
      // A run past the last cell a section may start on.
      {"montagna, 26800, 27050, 14", "montagna, 0, 0, 3", "montagna, 26800, 27000, 2"},
      // ... whose marker only a section over it from further back places.
      {"montagna, 26650, 27050, 11", "montagna, 0, 0, 3", "montagna, 26800, 27000, 2"},
  };
  for (const auto& records : cases) {
    const percorso_t grid = scenery_of(records);
    const auto back = invert_scenery(grid);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    percorso_t again(grid.size());
    scenery_sections state;
    for (scenery_values s : back.records) memo_montagna(again, state, s.inizio, s.fine, s.tipo);
    for (std::size_t c = 0; c < grid.size(); ++c) {
      EXPECT_EQ(again[c].ambiente, grid[c].ambiente) << "cell " << c;
      if (grid[c].tipo_cella == k_scenery_marker || grid[c].tipo_cella == k_empty) {
        EXPECT_EQ(again[c].tipo_cella, grid[c].tipo_cella) << "cell " << c;
      }
    }
  }
}

}  // namespace
}  // namespace scenario
