#include "model/cell_objects.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// Each cell object's codec reads back what it wrote: a record written into
// a grid, then read from the cells, is the record again, within the values
// the cells keep.
TEST(CellObjects, EachCodecInvertsItsOwnWrites) {
  const signal_record signals[] = {
      {4000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},
      {15250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140},
      {6000, 2, 2, 3, 1, 1, 1, 5, 0, 9, 0},
      // Delays below 101 are raised; one 256 larger keeps the same low bits.
      {5000, 2, 4, 1, 1, 0, 0, 0, 0, 0, 300},
      // A code whose marks wrap past a byte, and one below 0.
      {3000, 32, 1, 1, 1, 0, 1, 0, 0, 0, 0},
      {3000, -1, 1, 1, 1, 2, 0, 0, 0, 0, 0},
      {7000, 5, 0, 0, 0, 1, 0, 0, 0, 0, 0},
  };
  for (const signal_record& r : signals) {
    SCOPED_TRACE(r.posizione);
    percorso_t grid(400);
    const std::int64_t k = point_cell(r.posizione);
    write_signal(grid, k, r);
    EXPECT_EQ(point_position(k), r.posizione);
    const cella& cell = grid[static_cast<std::size_t>(k)];
    for (int b = 1; b <= k_approach_marks; ++b) {
      const std::uint8_t mark = grid[static_cast<std::size_t>(signal_mark_cell(k, b))].preavviso;
      EXPECT_EQ(mark, signal_mark(signal_code(r), b));
      const std::optional<std::int64_t> code_class = class_of_mark(mark, b);
      ASSERT_TRUE(code_class.has_value()) << b;
      EXPECT_EQ(code_in_class(cell.valore_d, *code_class), signal_code(r)) << b;
    }
    EXPECT_EQ(signal_in_cell(cell, k, signal_code(r)), r);
  }

  for (int b = 1; b <= k_approach_marks; ++b) EXPECT_EQ(station_mark_b(station_mark(b)), b);
  EXPECT_EQ(station_mark_b(80), std::nullopt);
  EXPECT_EQ(station_mark_b(85), std::nullopt);

  const struct {
    std::int32_t first, second;
  } speeds[] = {{90, 0}, {60, 30}, {0, 95}, {120, 5}, {-5, 10}};
  for (const auto& sp : speeds) {
    const board_speed_pair back =
        board_speeds(static_cast<std::int16_t>(board_speed_value(sp.first, sp.second)));
    EXPECT_EQ(back.first, sp.first) << sp.first << " " << sp.second;
    EXPECT_EQ(back.second.value_or(0), sp.second) << sp.first << " " << sp.second;
  }
  const board_stripe_pair stripes[] = {{0, 0}, {1, 2}, {3, 0}, {0, 9}, {12, 3}};
  for (const board_stripe_pair& st : stripes) {
    const board_stripe_pair back = board_stripes(board_stripes_value(st.strisces, st.strisced));
    EXPECT_EQ(back.strisces, st.strisces) << st.strisces << " " << st.strisced;
    EXPECT_EQ(back.strisced, st.strisced) << st.strisces << " " << st.strisced;
  }

  for (int ambiente = 0; ambiente < 256; ++ambiente)
    for (const bool markers : {false, true}) {
      const scenery_request asked =
          scenery_request_of(scenery_tipo_of(static_cast<std::uint8_t>(ambiente), markers));
      EXPECT_EQ(asked.markers, markers) << ambiente;
      EXPECT_EQ(scenery_ambiente(asked.tipo), ambiente) << markers;
    }
  for (const std::int64_t first : {0, 5, 42}) {
    EXPECT_EQ(scenery_first_for_marker(scenery_first_marker(first)), first);
    EXPECT_TRUE(scenery_marker_cell(first, scenery_first_marker(first))) << first;
  }
}

// The rules that decide which cells a station and a section mark.
TEST(CellObjects, WhichCellsAreMarked) {
  const struct {
    std::int32_t tipo;
    bool stop, marks;
  } stations[] = {{0, true, true}, {5, true, false}, {6, true, false},
                  {7, true, true}, {24, true, true}, {25, false, false}};
  for (const auto& s : stations) {
    EXPECT_EQ(station_stops_in_grid(s.tipo), s.stop) << s.tipo;
    EXPECT_EQ(station_marks_cells(s.tipo), s.marks) << s.tipo;
  }
  // A stop in cell 4 marks cells 3 and 2 only: cell 1 carries the stamp.
  EXPECT_EQ(station_stop_cell(250), 4);
  EXPECT_TRUE(station_mark_written(4, 2));
  EXPECT_FALSE(station_mark_written(4, 3));

  const struct {
    std::int64_t first, c;
    bool marker;
  } cells[] = {{10, 10, false}, {10, 12, false}, {10, 13, true},
               {10, 17, true},  {10, 9, false},  {10, 7, false}};
  for (const auto& s : cells)
    EXPECT_EQ(scenery_marker_cell(s.first, s.c), s.marker) << s.first << " " << s.c;
  EXPECT_TRUE(scenery_close(150));
  EXPECT_FALSE(scenery_close(151));
}

}  // namespace
}  // namespace scenario
