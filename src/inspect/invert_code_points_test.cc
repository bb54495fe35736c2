#include "inspect/invert_code_points.h"

#include <gtest/gtest.h>

#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

TEST(InvertCodePoints, OnlyTheCodeLinesComeBack) {
  // The slowdown makes the pass place code points of 180 of its own.
  const std::vector<fill_values> lines = {{1000, 0}, {2000, 180}, {3000, 40000}, {4000, 270}};
  std::initializer_list<std::string_view> records = {
      "rallentamento, 8000, 50, 400, 0, 1, 0", "abbattimento, 1000, -5", "abbattimento, 2000, 180",
      "abbattimento, 3000, 40000", "abbattimento, 4000, 270"};
  const compile_result r =
      testing::compile_texts(testing::line_text(20000), testing::train_text(records));
  ASSERT_TRUE(r.st.faults.empty());
  percorso_t grid = r.st.percorso;
  grid[1].valore_a = grid[1].valore_b = 0;  // before the stamps
  const auto back = invert_code_points(grid);
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(back.records, lines);

  grid[156] = {};  // where the pass places its nearest band mark
  EXPECT_EQ(invert_code_points(grid).problems,
            std::vector<std::string>{
                "cell 156: the compile would place a code point here, where the grid has none"});
}

// A code line of 180 on a cell where the walk through a slowdown would
// place its own moves that code point one cell back and every later one
// of the walk with it: the code line comes back, the moved ones do not.
TEST(InvertCodePoints, ACodeLineInTheWalkComesBackAlone) {
  const compile_result r = testing::compile_texts(
      testing::line_text(20000),
      testing::train_text({"rallentamento, 8000, 50, 2000, 0, 0, 0", "abbattimento, 8850, 180"}));
  ASSERT_TRUE(r.st.faults.empty());
  percorso_t grid = r.st.percorso;
  grid[1].valore_a = grid[1].valore_b = 0;        // before the stamps
  ASSERT_EQ(grid[176].tipo_cella, k_code_point);  // moved back from 177
  const auto back = invert_code_points(grid);
  EXPECT_EQ(back.problems, std::vector<std::string>{});
  EXPECT_EQ(back.records, (std::vector<fill_values>{{8850, 180}}));
}

}  // namespace
}  // namespace scenario
