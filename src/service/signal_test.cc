#include "service/signal.h"

#include <gtest/gtest.h>

#include "model/fault_codes.h"

namespace scenario {
namespace {

percorso_t grid() {
  return percorso_t(1558);
}

signal_record with(std::int32_t posizione, std::int32_t sx, std::int32_t tempo) {
  signal_record r{.posizione = posizione};
  r.sx = sx;
  r.s1 = 4;
  r.s2 = 1;
  r.tempo = tempo;
  return r;
}

TEST(Signal, ClearingDelayRules) {
  struct delay_case {
    std::int32_t sx, tempo;
    std::uint8_t ritardo;
  };
  for (const delay_case d :
       {delay_case{2, 50, 101}, delay_case{1, 50, 0}, delay_case{2, 0, 0}, delay_case{2, 300, 44},
        delay_case{2, 100, 101}, delay_case{2, 101, 101}, delay_case{2, -5, 251}}) {
    percorso_t g = grid();
    ASSERT_EQ(memo_segnale(g, with(15250, d.sx, d.tempo)), 0);
    EXPECT_EQ(g[306].ritardo, d.ritardo) << d.sx << " " << d.tempo;
  }
}

TEST(Signal, PackedValuesAndMarks) {
  percorso_t g = grid();
  signal_record r{63550, 2, 2, 3, 1, 1, 1, 5, 6, 7, 0};
  ASSERT_EQ(memo_segnale(g, r), 0);
  const cella& c = g[1272];
  EXPECT_EQ(c.valore_a, 25);
  EXPECT_EQ(c.valore_b, 36);
  EXPECT_EQ(c.valore_c, 17);
  EXPECT_EQ(c.valore_d, 17);  // 1*10 + 2*3 + 1
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(g[1272 - 2 * b].preavviso, 70 + b);

  // Marks keep the low 8 bits: (30 * 3 + 0) * 10 + 1 = 901.
  percorso_t h = grid();
  ASSERT_EQ(memo_segnale(h, signal_record{4000, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
  EXPECT_EQ(h[79].preavviso, 901 % 256);
  // Values keep the low 16 bits.
  ASSERT_EQ(memo_segnale(h, signal_record{20000, 1, 4000, 0, 0, 0, 0, 7, 0, 0, 0}), 0);
  EXPECT_EQ(h[401].valore_a, static_cast<std::int16_t>(40007 - 65536));
}

TEST(Signal, NeighboursReplaceApproachMarks) {
  percorso_t g = grid();
  ASSERT_EQ(memo_segnale(g, with(4000, 1, 0)), 0);
  ASSERT_EQ(memo_segnale(g, with(4100, 2, 0)), 0);
  EXPECT_EQ(g[81].tipo_cella, k_signal);
  EXPECT_EQ(g[81].preavviso, 61);  // on the first signal's own cell
  EXPECT_EQ(g[79].preavviso, 62);
  EXPECT_EQ(g[77].preavviso, 63);
  EXPECT_EQ(g[75].preavviso, 64);
  EXPECT_EQ(g[73].preavviso, 34);
}

TEST(Signal, CellRules) {
  percorso_t g = grid();
  g[81].tipo_cella = k_scenery_marker;
  EXPECT_EQ(memo_segnale(g, with(4000, 1, 0)), 0);
  EXPECT_EQ(g[81].tipo_cella, k_signal);
  EXPECT_EQ(memo_segnale(g, with(4020, 1, 0)), 16);  // same cell
  g[101].tipo_cella = k_station_stop;
  g[99].preavviso = 0;
  EXPECT_EQ(memo_segnale(g, with(5000, 1, 0)), 16);
  EXPECT_EQ(g[99].preavviso, 0);                   // nothing written
  EXPECT_EQ(memo_segnale(g, with(350, 1, 0)), 0);  // cell 8: the farthest mark is cell 0
  EXPECT_EQ(memo_segnale(g, with(300, 1, 0)), k_fault_outside_grid);
}

}  // namespace
}  // namespace scenario
