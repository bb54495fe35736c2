// The objects that records leave in grid cells, each with both directions:
// what a record writes into the grid, and what a cell reads back as. The
// compilers write through these rules and decompile inverts through them, so
// a rule is stated here once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/percorso.h"

namespace scenario {

// The approach marks (preavviso) that stations and signals write on the cells
// before them, b = 1 (nearest) to k_approach_marks.
inline constexpr int k_approach_marks = 4;

// --- Station marks ---------------------------------------------------------

// A station of a type below 25 puts its stop in the grid.
bool station_stops_in_grid(std::int32_t tipo_stazione);
// Such a station, unless of type 5 or 6, marks the cells before its stop.
bool station_marks_cells(std::int32_t tipo_stazione);
// The stop cell of a station whose area ends at `fine` (a multiple of 50).
std::int64_t station_stop_cell(std::int32_t fine);
// The cell of mark b before the stop cell `stop`; only cells after cell 1 get
// one.
std::int64_t station_mark_cell(std::int64_t stop, int b);
bool station_mark_written(std::int64_t stop, int b);
// The mark b itself: 80 + b.
std::uint8_t station_mark(int b);
// The b a station's mark stands for; nothing for a mark no station writes.
std::optional<int> station_mark_b(std::uint8_t mark);

// --- Signals ---------------------------------------------------------------

// A "segnale" record: its position, then its ten values in line order.
struct signal_record {
  std::int32_t posizione = 0;
  std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0;
  std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;

  // The eleven numbers in line order, the position first.
  std::array<std::int32_t, 11> numbers() const;

  friend bool operator==(const signal_record&, const signal_record&) = default;
};

// The signal's code sx x 3 + dx, which its approach marks carry.
std::int64_t signal_code(const signal_record& r);
// The cell of mark b before a signal in cell k: two cells per mark.
std::int64_t signal_mark_cell(std::int64_t k, int b);
// How many cells before its own a signal's farthest mark falls.
inline constexpr std::int64_t k_signal_mark_reach = 2 * k_approach_marks;
// The mark b of a signal of `code`: code x 10 + b, low 8 bits.
std::uint8_t signal_mark(std::int64_t code, int b);

// Writes signal r into cell k (free, and k - 8 to k inside the grid, as the
// caller has checked): the aspect values s x 10 + d, the type value
// rapp x 10 + code (16-bit arithmetic), the clearing delay for sx = 2 (1..100
// raised to 101, low 8 bits), and the approach marks, whatever those cells
// hold.
void write_signal(percorso_t& grid, std::int64_t k, const signal_record& r);

// The record of a signal whose cell, number `cell`, holds `s` and whose code
// is `code`: sx is 2 where the cell keeps a clearing delay (the delay then
// comes back as written: 1 to 100 were raised to 101), else a third of the
// code as the shipped signals have it; rapp takes the rest of the type value.
signal_record signal_in_cell(const cella& s, std::int64_t cell, std::int64_t code);

// The code class (modulo 128) of a signal that leaves `mark` as its mark b;
// nothing when no code leaves it.
std::optional<std::int64_t> class_of_mark(std::uint8_t mark, int b);

// The code, near 0, that a signal of type value `type` whose marks are those
// of `code_class` (the code modulo 128, which is all the marks keep) can
// have: one whose last digit is the type value's, so rapp is whole. Nothing
// when the type value's parity is not the class's.
std::optional<std::int64_t> code_in_class(std::int16_t type, std::int64_t code_class);

// --- Speed boards ----------------------------------------------------------

// One of a board's three speed pairs packed into a cell value:
// round((second + 100 x first) / 5), which the compile then checks fits 16
// bits. For a second speed from 0 to 95 in steps of 5 that is
// 20 x first + second / 5.
std::int64_t board_speed_value(std::int32_t first, std::int32_t second);
// The pair a packed value reads back as: the first speed, value / 20
// rounded down, and the second, 5 x the rest; nothing for a rest of 0,
// which an empty field gives.
struct board_speed_pair {
  std::int32_t first = 0;
  std::optional<std::int32_t> second;
};
board_speed_pair board_speeds(std::int16_t value);
// The stripes of both groups in one cell value: 10 x strisces + strisced,
// low 16 bits; read back as its tens and its last digit.
std::int16_t board_stripes_value(std::int32_t strisces, std::int32_t strisced);
struct board_stripe_pair {
  std::int32_t strisces = 0, strisced = 0;
};
board_stripe_pair board_stripes(std::int16_t value);

// --- Scenery markers -------------------------------------------------------

// What a scenery section's tipo asks of the cells: the scenery type they get
// (before a close section's type 3 replaces it) and whether every fourth cell
// gets a marker. A tipo above 10 asks for markers, 10 taken off.
struct scenery_request {
  std::int32_t tipo = 0;
  bool markers = false;
};
scenery_request scenery_request_of(std::int32_t tipo);
// A section starting this close after the end of the one before (in metres,
// gap <= k_close_scenery_gap) takes type k_close_scenery_type whatever its tipo.
inline constexpr std::int32_t k_close_scenery_gap = 150;
inline constexpr std::uint8_t k_close_scenery_type = 3;
bool scenery_close(std::int64_t gap);
// A tipo that a section is written with to leave scenery type `ambiente`
// (the low 8 bits of the type kept) and markers or none.
std::int32_t scenery_tipo_of(std::uint8_t ambiente, bool markers);
// The scenery type a cell keeps: the low 8 bits.
std::uint8_t scenery_ambiente(std::int32_t tipo);
// A section with markers marks every k_scenery_marker_step-th of its cells,
// from the one scenery_first_marker gives: the fourth, eighth, ... cell.
inline constexpr std::int64_t k_scenery_marker_step = 4;
std::int64_t scenery_first_marker(std::int64_t first);
// True for the cells c of a section starting at cell `first` that get a
// marker.
bool scenery_marker_cell(std::int64_t first, std::int64_t c);
// The first cell of a section whose first marker stands in cell `marker`.
std::int64_t scenery_first_for_marker(std::int64_t marker);

}  // namespace scenario
