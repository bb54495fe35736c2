#include "output/code_pass.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

class CodePass : public ::testing::Test {
 protected:
  CodePass() { st.percorso.assign(200, cella{}); }

  void put(int c, std::uint8_t kind, std::int16_t a = 0) {
    st.percorso[c].tipo_cella = kind;
    st.percorso[c].valore_a = a;
  }
  bool marked(int c) const {
    return st.percorso[c].tipo_cella == k_code_point && st.percorso[c].valore_a == k_pass_code;
  }
  int marks() const {
    int n = 0;
    for (const cella& c : st.percorso) n += c.tipo_cella == k_code_point;
    return n;
  }

  run_state st;
};

TEST(Minimo, ReturnsTheSmallerAndXOnATie) {
  EXPECT_EQ(minimo(180, 270), 180);
  EXPECT_EQ(minimo(180, 75), 75);
  EXPECT_EQ(minimo(180, 180), 180);
}

TEST_F(CodePass, SignalsBeforeAWarningGetACodePointBeforeThem) {
  put(100, k_slowdown_warning);
  put(90, k_signal);  // 10 cells before: cell 89 free
  put(85, k_signal);  // cell 84 taken, 83 free
  put(84, k_speed_board);
  put(79, k_signal);  // 21 cells before: outside the window
  code_point_pass(st);
  EXPECT_TRUE(marked(89));
  EXPECT_TRUE(marked(83));
  EXPECT_EQ(st.percorso[78].tipo_cella, k_empty);
  EXPECT_EQ(marks(), 2);
  EXPECT_EQ(st.codice_errore, 0);
}

TEST_F(CodePass, ExistingCodePointsAreLoweredTo180) {
  put(100, k_slowdown_warning);
  put(98, k_signal);
  put(97, k_code_point, 270);
  put(96, k_speed_board);
  put(92, k_signal);
  put(91, k_code_point, 75);
  put(90, k_text_board);
  put(87, k_signal);
  put(86, k_code_point, 300);  // with a free cell two before, a new mark is placed instead
  code_point_pass(st);
  EXPECT_EQ(st.percorso[97].valore_a, 180);
  EXPECT_EQ(st.percorso[91].valore_a, 75);
  EXPECT_EQ(st.percorso[86].valore_a, 300);
  EXPECT_TRUE(marked(85));
}

TEST_F(CodePass, SignalWithNoRoomRecordsCode11AndGoesOn) {
  put(100, k_slowdown_warning);
  put(98, k_signal);
  put(97, k_speed_board);
  put(96, k_station_stop);
  put(93, k_signal);
  code_point_pass(st);
  EXPECT_EQ(st.codice_errore, 11);
  EXPECT_EQ(st.posizione_errore, 98 * 50);
  EXPECT_TRUE(marked(92));
}

TEST_F(CodePass, ThreeBandsBeforeASlowdownStart) {
  put(60, k_slowdown_start, 120);
  put(70, k_slowdown_end);
  put(55, k_signal);  // band 1 takes the next free cell
  put(49, k_signal);
  put(48, k_signal);
  put(47, k_signal);  // band 2 has no free cell
  code_point_pass(st);
  EXPECT_TRUE(marked(54));
  EXPECT_TRUE(marked(42));
  EXPECT_EQ(st.codice_errore, 12);
  EXPECT_EQ(st.posizione_errore, 60 * 50);
  EXPECT_EQ(marks(), 2);  // 120 km/h: no interval marks
}

TEST_F(CodePass, BandsNeedRoomBeforeTheStart) {
  put(7, k_slowdown_start, 120);
  put(9, k_slowdown_end);
  put(13, k_slowdown_start, 120);
  put(15, k_slowdown_end);
  code_point_pass(st);
  EXPECT_EQ(marks(), 1);  // cell 13 has only band 1
  EXPECT_TRUE(marked(8));
}

TEST_F(CodePass, IntervalMarksEveryEightCellsFromTheLastPlaced) {
  put(100, k_slowdown_start, 50);
  put(130, k_slowdown_end, 50);
  put(108, k_speed_board);  // the mark moves back to 107
  code_point_pass(st);
  EXPECT_TRUE(marked(107));
  EXPECT_TRUE(marked(115));
  EXPECT_TRUE(marked(123));
  EXPECT_FALSE(marked(131));
}

TEST_F(CodePass, IntervalMarkWithNoRoomRecords13AndStopsMarking) {
  put(100, k_slowdown_start, 50);
  put(130, k_slowdown_end, 50);
  for (int c = 107; c <= 109; ++c) put(c, k_speed_board);
  code_point_pass(st);
  EXPECT_EQ(st.codice_errore, 13);
  EXPECT_EQ(st.posizione_errore, 108 * 50);
  for (int c = 101; c < 130; ++c) EXPECT_FALSE(marked(c)) << c;
}

TEST_F(CodePass, FirstSignalAfterTheEndGetsAMark) {
  put(100, k_slowdown_start, 50);
  put(104, k_slowdown_end, 50);
  put(110, k_signal);
  put(115, k_signal);
  code_point_pass(st);
  EXPECT_TRUE(marked(109));
  EXPECT_FALSE(marked(114));

  run_state far;
  far.percorso.assign(200, cella{});
  far.percorso[100] = {k_slowdown_start, 50};
  far.percorso[104].tipo_cella = k_slowdown_end;
  far.percorso[117].tipo_cella = k_signal;  // 13 cells after the end: no mark
  code_point_pass(far);
  EXPECT_EQ(far.percorso[116].tipo_cella, k_empty);
}

TEST_F(CodePass, NoMarkAfterTheEndOfAFastSlowdown) {
  put(100, k_slowdown_start, 110);
  put(104, k_slowdown_end, 110);
  put(110, k_signal);
  code_point_pass(st);
  EXPECT_FALSE(marked(109));
}

TEST_F(CodePass, WalkStopsAtTheGridEnd) {
  put(180, k_slowdown_start, 50);  // no end after it
  code_point_pass(st);
  EXPECT_TRUE(marked(188));
  EXPECT_TRUE(marked(196));
  EXPECT_EQ(st.codice_errore, 0);
}

}  // namespace
}  // namespace scenario
