#include "inspect/invert_boards.h"
#include "inspect/invert_slowdowns.h"

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
    const auto back = invert_speed_boards(grid, {}, invert_slowdowns(grid).records.under_stops);
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
  grid[60].valore_a = 90;
  back = invert_text_boards(grid, table);
  EXPECT_EQ(back.problems, (std::vector<std::string>{
                               "cell 60: a text board showing record 90, which no board in "
                               "the order of the records takes",
                               "cell 40: the text board's record 79 holds more than a text"}));

  // Record 78 has no board cell and no stop to hide one.
  table[79].campo_3 = 0;
  grid[60].tipo_cella = k_empty;
  EXPECT_EQ(invert_text_boards(grid, table).problems,
            std::vector<std::string>{"record 78: a text board's record that no board cell shows, "
                                     "and no station stop keeping nothing else is left to have "
                                     "covered its board"});
}

// A station stop written over a board keeps what the stop does not write:
// a speed board's values b, c and d, a text board's text in its record.
TEST(InvertBoards, BoardsUnderStationStopsComeBack) {
  percorso_t grid(200);
  stazioni_t table{};
  ASSERT_EQ(memo_indicatori_v_max(grid, 1000, {85, 90, 90, 3, 0, 5, 0, 7}), 0);
  grid[21].tipo_cella = k_station_stop;  // over the speed board
  grid[21].valore_a = 1;
  grid[41] = {k_station_stop, 2};  // over the text board of record 79
  grid[61] = {k_station_stop, 3};  // over nothing
  grid[30] = {k_text_board, 80};
  grid[50] = {k_text_board, 78};
  for (int slot : {80, 79, 78}) table[static_cast<std::size_t>(slot)].nome = std::to_string(slot);
  table[1].tipo_stazione = table[2].tipo_stazione = table[3].tipo_stazione = 12;

  const auto speed = invert_speed_boards(grid, {}, invert_slowdowns(grid).records.under_stops);
  ASSERT_EQ(speed.records.size(), 1u);
  EXPECT_EQ(speed.records[0].posizione, 1000);
  EXPECT_EQ(speed.records[0].values[0], 0);  // the stop took valore_a
  EXPECT_EQ(speed.records[0].values[1], 90);
  EXPECT_EQ(speed.records[0].values[5], 5);
  EXPECT_EQ(speed.records[0].values[3], 3);

  EXPECT_EQ(bare_stops(grid, invert_slowdowns(grid).records.under_stops),
            (std::vector<std::size_t>{41, 61}));
  const board_slots slots = text_board_slots(grid, table);
  EXPECT_EQ(slots.lowest, 78);
  EXPECT_EQ(slots.hidden, std::vector<int>{79});
  const auto text =
      invert_text_boards(grid, table, bare_stops(grid, invert_slowdowns(grid).records.under_stops));
  EXPECT_TRUE(text.problems.empty());
  EXPECT_EQ(text.records,
            (std::vector<text_board_values>{{1450, "80"}, {2000, "79"}, {2450, "78"}}));

  grid[41].ritardo = 140;  // a signal's delay: no board leaves it
  EXPECT_EQ(invert_speed_boards(grid, {}, invert_slowdowns(grid).records.under_stops).problems,
            std::vector<std::string>{"cell 41: a station stop keeping a clearing delay, which "
                                     "only a signal written before the station leaves there"});
}

}  // namespace
}  // namespace scenario
