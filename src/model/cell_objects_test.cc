#include "model/cell_objects.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/numeric.h"
#include "model/slot_objects.h"

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
  for (std::int32_t g = -100; g <= 155; ++g) EXPECT_EQ(gradient_of(gradient_kept(g)), g);

  // A code line's value and where it stands, as its cell reads them back.
  const struct {
    std::int32_t p, value, read_value, read_p;
  } code_lines[] = {
      {1200, 1, 1, 1200},         {1200, 180, 180, 1200},     {1250, 32767, 32767, 1250},
      {1250, 40000, 40000, 1250}, {1250, 65536, 65536, 1250}, {1250, 0, 0, 1250},
      {1250, -5, 0, 1250},        {1225, 7, 7, 1200},  // a half cell rounds to the even one
      {1275, 7, 7, 1300},
  };
  for (const auto& row : code_lines) {
    cella c{};
    write_code_line(c, row.value);
    EXPECT_EQ(code_line_value(c), row.read_value) << row.value;
    EXPECT_EQ(code_line_position(code_line_cell(row.p)), row.read_p) << row.p;
    EXPECT_FALSE(is_pass_code_point(c) && row.value != k_pass_code) << row.value;
  }
  cella pass_point{};
  write_pass_code_point(pass_point);
  EXPECT_TRUE(is_pass_code_point(pass_point));
  EXPECT_EQ(code_line_value(pass_point), k_pass_code);
}

// A slowdown's cells read back as the record that wrote them: its start
// among the starts its start cell allows, told apart by its approach cells,
// its warning cell's start, and its values.
TEST(CellObjects, SlowdownCellsReadBackAsTheirRecord) {
  const slowdown_record slowdowns[] = {
      {1000, 60, 500, 0, 0, 0},       // too early for a warning
      {1500, 60, 500, 1, 1, 0},       // the last without one
      {5000, 30, 1000, 1, 1, 0},      // on a cell boundary
      {5025, 30, 1000, 0, 1, 7},      // a half cell rounds up to the even start cell
      {5050, 30, 1000, 0, 1, 7},      // the same start cell, its approach one cell on
      {8000, 100, 300, 2, 1, 65536},  // keeps 0 in b, numbers its approach cells there
      {8000, 70000, 300, 70000, 0, -3},
  };
  for (const slowdown_record& r : slowdowns) {
    SCOPED_TRACE(r.x);
    const std::int64_t start = slowdown_start_cell(r.x);
    const slowdown_starts xs = slowdown_starts_in(start);
    EXPECT_TRUE(xs.whole == r.x || xs.half == r.x);
    cella mark{};
    write_slowdown_mark(mark, k_slowdown_start, r);
    EXPECT_EQ(mark.tipo_cella, k_slowdown_start);
    const slowdown_kept kept = slowdown_kept_in(mark);
    EXPECT_EQ(kept.v, low_16(r.v));
    EXPECT_EQ(kept.f_tt, low_16(r.f_tt));
    cella warning{};
    write_slowdown_mark(warning, k_slowdown_warning, r);
    EXPECT_EQ(slowdown_kept_in(warning).v, kept.v);
    EXPECT_EQ(slowdown_kept_in(warning).d_v, kept.d_v);
    EXPECT_EQ(slowdown_kept_in(warning).f_tt, 0);
    if (!slowdown_warned(r.x)) {
      EXPECT_LE(r.x, 1500);
      continue;
    }
    EXPECT_EQ(slowdown_start_of_warning(slowdown_warning_cell(r.x)), start);
    // Only the start the record has puts the approach head where it is.
    // The approach head stands just before the warning cell, or two before
    // it for a start on a half cell.
    const std::int64_t h = slowdown_approach_head(r.x);
    EXPECT_EQ(slowdown_start_of_warning(h + (xs.half == r.x ? 2 : 1)), start);
    if (xs.half) {
      EXPECT_NE(slowdown_approach_head(xs.whole), slowdown_approach_head(*xs.half));
    }
    bool numbered = true;
    for (int i = 0; i < k_slowdown_approach_cells; ++i) {
      cella approach{};
      write_slowdown_approach(approach, i, r);
      EXPECT_EQ(slowdown_approach_index(approach), i);
      EXPECT_TRUE(slowdown_approach_b_c(approach, i));
      numbered = numbered && approach.valore_b == i + 1;
    }
    const std::int32_t d_v = r.f_ta != 0 ? slowdown_d_v(kept.d_v, numbered) : kept.d_v;
    EXPECT_EQ(d_v, r.f_ta != 0 ? r.d_v : low_16(r.d_v));
  }
}

// A station's area and the kilometric references read back from the table
// as the record wrote them.
TEST(SlotObjects, EachCodecInvertsItsOwnWrites) {
  const struct {
    std::int32_t tipo, posizione, length, campo_9;
    int number;
    bool keeps_9, keeps_10;
  } stations[] = {
      {1, 5000, 1000, 0, 2, true, true},   {1, 5000, 1000, 3, 2, true, true},
      {1, 5000, 400, 1, 1, false, false},  {1, 5000, 600, 0, 3, true, true},
      {5, 5000, 300, 1, 2, false, false},  {6, 5000, 800, 0, 4, false, true},
      {7, 5000, 700, 1, 2, false, true},   {8, 5000, 100, 0, 2, false, false},
      {24, 5000, -200, 0, 2, true, false},
  };
  for (const auto& row : stations) {
    SCOPED_TRACE(row.tipo * 1000 + row.number);
    const station_area area = station_area_of(row.tipo, row.posizione, row.length, row.campo_9);
    ASSERT_TRUE(area.inizio && area.fine);
    stazione s{};
    s.tipo_stazione = static_cast<std::uint8_t>(row.tipo);
    s.posizione = row.posizione;
    s.inizio = *area.inizio;
    s.fine = *area.fine;
    EXPECT_EQ(station_length_of(s), row.length);
    const std::int64_t before = std::int64_t{s.posizione} - s.inizio;
    const std::int64_t after = std::int64_t{s.fine} - s.posizione;
    switch (area_rule_of(row.tipo)) {
      case station_area_rule::stop_after:
        EXPECT_EQ(after, k_station_stop_after_metres);
        break;
      case station_area_rule::even:
        EXPECT_EQ(after, before);
        break;
      case station_area_rule::halves:
        EXPECT_EQ(after, before + (row.campo_9 != 0 ? k_station_sixth_metres : 0));
        break;
    }
    EXPECT_EQ(station_keeps_campo_9(row.tipo, row.number), row.keeps_9);
    EXPECT_EQ(station_keeps_campo_10(row.length, row.number), row.keeps_10);
  }
  // A bound past 32 bits is none; so is a half past them before the 50 m.
  EXPECT_FALSE(station_area_of(1, INT32_MAX - 50, 200, 0).fine);
  EXPECT_FALSE(station_area_of(1, -2147483600, -100, 1).fine);
  EXPECT_TRUE(station_area_of(1, -2147483600, -100, 1).inizio);

  const km_reference_record references[] = {
      {0, 172000, 1}, {5000, 0, 0}, {100, -7, 1}, {0, 0, 2}, {INT32_MAX, INT32_MAX - 100, 1},
  };
  for (const km_reference_record& r : references) {
    stazione slot{};
    put_reference(slot, r);
    EXPECT_EQ(reference_in_slot(slot), r);
    const std::optional<std::int32_t> kept = km_value_kept(r.k, r.f);
    ASSERT_TRUE(kept.has_value()) << r.k;
    EXPECT_EQ(km_value_given(*kept, r.f), r.k) << r.k;
  }
  EXPECT_FALSE(km_value_kept(INT32_MAX - 99, 1).has_value());
  EXPECT_EQ(km_value_kept(INT32_MAX, 0), INT32_MAX);
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
