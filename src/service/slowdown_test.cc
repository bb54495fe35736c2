#include "service/slowdown.h"

#include <gtest/gtest.h>

#include "model/fault_codes.h"

namespace scenario {
namespace {

percorso_t grid() {
  return percorso_t(1558);
}

TEST(Slowdown, ShippedSlowdownMarks) {
  percorso_t g = grid();
  ASSERT_EQ(memo_rallentamento(g, {51150, 50, 200, 0, 1, 0}), 0);
  EXPECT_EQ(g[1000].tipo_cella, k_slowdown_warning);
  EXPECT_EQ(g[1000].valore_a, 50);
  EXPECT_EQ(g[1024].tipo_cella, k_slowdown_start);
  EXPECT_EQ(g[1028].tipo_cella, k_slowdown_end);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(g[999 - i].tipo_cella, k_slowdown_approach);
    EXPECT_EQ(g[999 - i].valore_a, i + 1);
    EXPECT_EQ(g[999 - i].valore_b, 0);
  }
}

TEST(Slowdown, SecondValueAndFlagOnTheMarkedCells) {
  percorso_t g = grid();
  ASSERT_EQ(memo_rallentamento(g, {51150, 30, 200, 7, 1, 15}), 0);
  EXPECT_EQ(g[1024].valore_b, 15);
  EXPECT_EQ(g[1024].valore_c, 7);
  EXPECT_EQ(g[1028].valore_c, 7);
  EXPECT_EQ(g[1000].valore_b, 15);
  EXPECT_EQ(g[1000].valore_c, 0);
  EXPECT_EQ(g[997].valore_b, 3);
}

TEST(Slowdown, NoWarningAtOrBefore1500) {
  percorso_t g = grid();
  ASSERT_EQ(memo_rallentamento(g, {1500, 50, 100, 0, 1, 0}), 0);
  EXPECT_EQ(g[31].tipo_cella, k_slowdown_start);
  EXPECT_EQ(g[33].tipo_cella, k_slowdown_end);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(g[i].tipo_cella, k_empty) << i;
  percorso_t h = grid();
  ASSERT_EQ(memo_rallentamento(h, {1550, 50, 100, 0, 1, 0}), 0);
  EXPECT_EQ(h[8].tipo_cella, k_slowdown_warning);
  for (int c = 4; c <= 7; ++c) EXPECT_EQ(h[c].tipo_cella, k_slowdown_approach) << c;
}

TEST(Slowdown, PositionsBetweenCellsRoundHalfToEven) {
  percorso_t g = grid();
  ASSERT_EQ(memo_rallentamento(g, {51125, 50, 200, 0, 1, 0}), 0);
  EXPECT_EQ(g[1024].tipo_cella, k_slowdown_start);
  EXPECT_EQ(g[1000].tipo_cella, k_slowdown_warning);
  EXPECT_EQ(g[999].tipo_cella, k_empty);
  for (int c = 995; c <= 998; ++c) EXPECT_EQ(g[c].tipo_cella, k_slowdown_approach) << c;

  // The first approach cell is the warning cell just marked.
  percorso_t h = grid();
  EXPECT_EQ(memo_rallentamento(h, {51175, 50, 200, 0, 1, 0}), 20);
  EXPECT_EQ(h[1000].tipo_cella, k_slowdown_warning);
  EXPECT_EQ(h[1024].tipo_cella, k_slowdown_start);
  EXPECT_EQ(h[999].tipo_cella, k_empty);
}

TEST(Slowdown, OccupiedCellsAreCheckedBeforeAnyWrite) {
  percorso_t g = grid();
  g[1000].tipo_cella = k_signal;
  EXPECT_EQ(memo_rallentamento(g, {51150, 50, 200, 0, 1, 0}), 17);
  g[1000].tipo_cella = k_empty;
  g[1028].tipo_cella = k_slowdown_start;
  EXPECT_EQ(memo_rallentamento(g, {51150, 50, 200, 0, 1, 0}), 19);
  EXPECT_EQ(g[1024].tipo_cella, k_empty);
  EXPECT_EQ(g[1000].tipo_cella, k_empty);
  g[1028].tipo_cella = k_scenery_marker;  // a marker gives way
  EXPECT_EQ(memo_rallentamento(g, {51150, 50, 200, 0, 1, 0}), 0);
  EXPECT_EQ(g[1028].tipo_cella, k_slowdown_end);
}

TEST(Slowdown, CellsOutsideTheGridAreRefused) {
  percorso_t g = grid();
  EXPECT_EQ(memo_rallentamento(g, {77000, 50, 5000, 0, 1, 0}), k_fault_outside_grid);
  EXPECT_EQ(memo_rallentamento(g, {-200, 50, 100, 0, 0, 0}), k_fault_outside_grid);
  for (const cella& c : g) ASSERT_EQ(c, cella{});
}

}  // namespace
}  // namespace scenario
