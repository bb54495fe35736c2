#include "inspect/invert_slowdowns.h"

#include <gtest/gtest.h>

#include <optional>

#include "service/slowdown.h"

namespace scenario {
namespace {

TEST(InvertSlowdowns, RecordsComeBackFromTheirMarks) {
  const struct {
    slowdown_record written;
    slowdown_record back;
  } cases[] = {
      {{51150, 50, 200, 0, 1, 0}, {51150, 50, 200, 0, 1, 0}},
      {{8000, 30, 1000, 1, 0, 4}, {8000, 30, 1000, 1, 0, 4}},
      // No warning at 1500 m or less: f_ta does nothing there.
      {{1500, 60, 100, 0, 1, 0}, {1500, 60, 100, 0, 0, 0}},
      // On a half cell the approach cells stand one cell further back.
      {{51125, 50, 225, 0, 1, 0}, {51125, 50, 225, 0, 1, 0}},
      // A length below 0: the end cell before the start cell.
      {{9000, 40, -150, 1, 0, 0}, {9000, 40, -150, 1, 0, 0}},
      // A slowdown of no length: its start covers its end.
      {{9000, 40, 0, 0, 0, 0}, {9000, 40, 0, 0, 0, 0}},
      // A second value that stores 0 still numbers the approach cells.
      {{9000, 40, 100, 0, 1, 65536}, {9000, 40, 100, 0, 1, 65536}},
  };
  for (const auto& c : cases) {
    percorso_t grid(1200);
    ASSERT_EQ(memo_rallentamento(grid, c.written), 0);
    const auto back = invert_slowdowns(grid);
    EXPECT_TRUE(back.problems.empty());
    ASSERT_EQ(back.records.slowdowns.size(), 1u);
    EXPECT_EQ(back.records.slowdowns[0], c.back);
    EXPECT_EQ(back.records.under_station, std::vector<std::int32_t>{0});
  }
  percorso_t grid(1200);
  grid[700].tipo_cella = k_slowdown_warning;
  EXPECT_EQ(
      invert_slowdowns(grid).problems,
      std::vector<std::string>{"cell 700: a slowdown warning that belongs to no slowdown start"});
}

// A station's stop written later over one of a slowdown's cells keeps its
// values b and c: the slowdown comes back from the cells it still shows, to
// be written before that station.
TEST(InvertSlowdowns, CellsUnderAStationStopComeBack) {
  const struct {
    const char* told;
    slowdown_record written;
    std::size_t stop;
  } cases[] = {
      {"start", {51150, 50, 200, 1, 1, 3}, 1024},
      {"start, no second value", {51150, 50, 200, 0, 1, 0}, 1024},
      {"start of an unwarned slowdown", {1000, 40, 400, 1, 0, 0}, 21},
      {"start on a half cell", {51125, 50, 225, 0, 1, 2}, 1024},
      {"warning", {51150, 50, 200, 0, 1, 7}, 1000},
      {"nearest approach cell", {51150, 50, 200, 1, 1, 0}, 999},
      {"farthest approach cell", {51150, 50, 200, 1, 1, 4}, 996},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    percorso_t grid(1200);
    ASSERT_EQ(memo_rallentamento(grid, c.written), 0);
    grid[c.stop].tipo_cella = k_station_stop;
    grid[c.stop].valore_a = 3;
    const auto back = invert_slowdowns(grid);
    EXPECT_EQ(back.problems, std::vector<std::string>{});
    ASSERT_EQ(back.records.slowdowns.size(), 1u);
    const slowdown_record& w = c.written;
    EXPECT_EQ(back.records.slowdowns[0], (slowdown_record{w.x, w.v, w.l, w.f_tt, w.f_ta, w.d_v}));
    EXPECT_EQ(back.records.under_station, std::vector<std::int32_t>{3});
    EXPECT_EQ(back.records.under_stops, std::vector<std::size_t>{c.stop});
  }
}

}  // namespace
}  // namespace scenario
