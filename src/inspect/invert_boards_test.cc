#include "inspect/invert_boards.h"

#include <gtest/gtest.h>

#include "route/scenery.h"

namespace scenario {
namespace {

TEST(InvertBoards, SpeedBoardsUnpackToValuesThatPackTheSame) {
  const speed_board boards[] = {
      {85, 90, 90, 0, 0, 0, 0, 0}, {125, 130, 0, 3, 95, 5, 0, 7}, {-3, 0, 1, 9, 40, 0, 0, 9}};
  for (const speed_board& b : boards) {
    percorso_t grid(200);
    ASSERT_EQ(memo_indicatori_v_max(grid, 1850, b), 0);
    const auto back = invert_speed_boards(grid);
    ASSERT_EQ(back.records.size(), 1u);
    const speed_board_values& v = back.records[0];
    EXPECT_EQ(v.posizione, 1850);
    // Second speeds of 0 come back as empty fields.
    EXPECT_EQ(v.values[4].has_value(), b.vad != 0);
    speed_board again;
    std::int32_t* fields[] = {&again.vas, &again.vbs, &again.vcs, &again.strisces,
                              &again.vad, &again.vbd, &again.vcd, &again.strisced};
    for (int i = 0; i < 8; ++i) *fields[i] = v.values[static_cast<std::size_t>(i)].value_or(0);
    percorso_t repacked(200);
    ASSERT_EQ(memo_indicatori_v_max(repacked, v.posizione, again), 0);
    EXPECT_EQ(repacked, grid);
  }
}

TEST(InvertBoards, TextBoardsComeBackInTheOrderOfTheirRecords) {
  percorso_t grid(200);
  stazioni_t table{};
  const std::pair<std::size_t, std::int16_t> boards[] = {{40, 79}, {20, 80}, {60, 78}};
  for (const auto& [cell, slot] : boards) {
    grid[cell].tipo_cella = k_text_board;
    grid[cell].valore_a = slot;
    table[static_cast<std::size_t>(slot)].nome = "T" + std::to_string(slot);
  }
  auto back = invert_text_boards(grid, table);
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(back.records,
            (std::vector<text_board_values>{{950, "T80"}, {1950, "T79"}, {2950, "T78"}}));

  table[79].campo_3 = 1;
  grid[60].valore_a = 70;
  back = invert_text_boards(grid, table);
  EXPECT_EQ(back.problems,
            (std::vector<std::string>{"cell 40: the text board's record 79 holds more than a text",
                                      "cell 60: a text board showing record 70, where the next "
                                      "board would take record 78"}));
}

}  // namespace
}  // namespace scenario
