#include "inspect/invert_fill.h"

#include <gtest/gtest.h>

#include "route/gradient.h"

namespace scenario {
namespace {

// The gradient fill of the records, as the line compiler runs it, as bytes.
std::vector<std::uint8_t> filled(const std::vector<fill_values>& records, std::size_t cells) {
  percorso_t grid(cells);
  gradient_fill fill;
  for (const fill_values& r : records) gradient_step(grid, fill, r.position, r.value - 100);
  final_gradient_fill(grid, fill);
  return cell_bytes(grid, &cella::pendenza);
}

TEST(InvertFill, RecordsFillBackEveryCell) {
  // Cells 0 to 9: the fill ends before cell 7 unless records push it on.
  const std::vector<std::uint8_t> cases[] = {
      {100, 100, 100, 100, 100, 100, 100, 0, 0, 0},
      {90, 90, 114, 7, 114, 114, 0, 0, 0, 0},
      {1, 2, 3, 4, 5, 6, 7, 0, 0, 0},
      {100, 100, 100, 100, 100, 100, 100, 5, 0, 0},
      {100, 100, 100, 100, 100, 100, 100, 100, 100, 9},
      {0, 0, 0, 0, 0, 0, 0, 0, 255, 0},
  };
  for (const auto& bytes : cases) {
    const std::vector<fill_values> records = invert_fill(bytes);
    EXPECT_EQ(filled(records, bytes.size()), bytes);
    EXPECT_EQ(records.front().position, 0);
  }
  EXPECT_EQ(invert_fill(cases[1]),
            (std::vector<fill_values>{{0, 90}, {100, 114}, {150, 7}, {200, 114}, {300, 0}}));
}

}  // namespace
}  // namespace scenario
