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

// --- Slowdowns -------------------------------------------------------------

// A "rallentamento" record: its six values in line order.
struct slowdown_record {
  std::int32_t x = 0;     // start position, metres
  std::int32_t v = 0;     // speed, km/h
  std::int32_t l = 0;     // length, metres
  std::int32_t f_tt = 0;  // flag kept on the start and end cells
  std::int32_t f_ta = 0;  // nonzero: mark the four approach cells
  std::int32_t d_v = 0;   // second value, kept where nonzero

  // The six numbers in line order.
  std::array<std::int32_t, 6> numbers() const;

  friend bool operator==(const slowdown_record&, const slowdown_record&) = default;
};

// Only a slowdown starting beyond 1500 m has a warning cell and approach
// cells.
bool slowdown_warned(std::int32_t x);
// The start cell of a slowdown at x, and its end cell for an end at x + l.
std::int64_t slowdown_start_cell(std::int32_t x);
std::int64_t slowdown_end_cell(std::int32_t end);
// The warning cell, round((x - 1200)/50 + 1): always this many cells before
// the start cell.
inline constexpr std::int64_t k_slowdown_warning_cells = 24;
std::int64_t slowdown_warning_cell(std::int32_t x);
std::int64_t slowdown_start_of_warning(std::int64_t warning);
// The approach cells h, h - 1, ... h - 3 with h = round((x - 1200)/50): cell
// h - i holds i + 1.
inline constexpr int k_slowdown_approach_cells = 4;
std::int64_t slowdown_approach_head(std::int32_t x);
// The starts x that put a slowdown's start into cell `start`: the cell's own
// position and, for an even cell, the half cell before it, whose approach
// cells lie one cell further back.
struct slowdown_starts {
  std::int32_t whole = 0;
  std::optional<std::int32_t> half;
};
slowdown_starts slowdown_starts_in(std::int64_t start);

// Writes a start, end or warning mark (kind k_slowdown_start, _end or
// _warning) of r into c: v in value a, d_v in value b where d_v is not 0,
// and f_tt in value c but on a warning.
void write_slowdown_mark(cella& c, std::uint8_t kind, const slowdown_record& r);
// What a start, end or warning mark keeps of its record: v (value a), the
// d_v kept (value b) and f_tt (value c, 0 on a warning). A station stop
// written over a mark keeps its b and c.
struct slowdown_kept {
  std::int16_t v = 0, d_v = 0, f_tt = 0;
};
slowdown_kept slowdown_kept_in(const cella& c);
// Writes approach cell h - i of r into c: i + 1 in value a, and in value b
// too where d_v is not 0.
void write_slowdown_approach(cella& c, int i, const slowdown_record& r);
// The i of an approach cell (value a from 1 to 4); nothing for another cell.
std::optional<int> slowdown_approach_index(const cella& c);
// True when values b and c of c are what write_slowdown_approach leaves in
// approach cell h - i for some d_v: what a stop written over it keeps.
bool slowdown_approach_b_c(const cella& c, int i);
// The d_v a slowdown is read back with from the value b its marks keep: a
// d_v of 65536 keeps 0 there but, being nonzero, numbers its approach cells
// in value b too.
std::int32_t slowdown_d_v(std::int16_t kept, bool approach_numbered_in_b);
inline constexpr std::int32_t k_slowdown_d_v_kept_as_zero = 65536;

// --- Gradients -------------------------------------------------------------

// A cell keeps its gradient g (-100 to 155) as the byte g + 100.
std::uint8_t gradient_kept(std::int32_t g);
std::int32_t gradient_of(std::uint8_t kept);

// --- Code points -----------------------------------------------------------

// The code every code point of the pass around slowdowns carries, and the
// most an existing code point before a signal near a slowdown warning may
// keep.
inline constexpr std::int16_t k_pass_code = 180;
// A code line at p goes into cell round(p / 50), with no cell added; a cell
// reads back as a code line at c x 50.
std::int64_t code_line_cell(std::int32_t p);
std::int32_t code_line_position(std::int64_t cell);
// A code line of value w > 0 makes a code point keeping w's low 16 bits; one
// of 0 or less a plain code point, keeping none.
void write_code_line(cella& c, std::int32_t value);
// The value a code point or plain code point reads back as: 0 for a plain
// one, the kept code for one above 0, 65536 more for one kept below 1.
std::int32_t code_line_value(const cella& c);
// The pass's own code point.
void write_pass_code_point(cella& c);
bool is_pass_code_point(const cella& c);

}  // namespace scenario
