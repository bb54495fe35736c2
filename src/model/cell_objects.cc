#include "model/cell_objects.h"

#include "common/numeric.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t modulo(std::int64_t a, std::int64_t m) {
  return ((a % m) + m) % m;
}

constexpr std::uint8_t k_station_mark_base = 80;
constexpr std::int32_t k_marked_station_types = 25;
// A signal with this sx keeps its clearing delay.
constexpr std::int32_t k_delayed_sx = 2;
// Delays of 1 to k_least_delay - 1 are raised to k_least_delay.
constexpr std::int32_t k_least_delay = 101;
constexpr std::int32_t k_scenery_marker_tipo = 10;
constexpr std::int32_t k_slowdown_warned_after = 1500;
// The warning and approach cells stand this far before the start.
constexpr std::int32_t k_slowdown_warning_metres = 1200;
constexpr std::uint8_t k_gradient_offset = 100;

}  // namespace

bool station_stops_in_grid(std::int32_t tipo_stazione) {
  return tipo_stazione < k_marked_station_types;
}

bool station_marks_cells(std::int32_t tipo_stazione) {
  return station_stops_in_grid(tipo_stazione) && tipo_stazione != 5 && tipo_stazione != 6;
}

std::int64_t station_stop_cell(std::int32_t fine) {
  return fine / k_cell_metres - 1;
}

std::int64_t station_mark_cell(std::int64_t stop, int b) {
  return stop - b;
}

bool station_mark_written(std::int64_t stop, int b) {
  return station_mark_cell(stop, b) > 1;
}

std::uint8_t station_mark(int b) {
  return static_cast<std::uint8_t>(k_station_mark_base + b);
}

std::optional<int> station_mark_b(std::uint8_t mark) {
  const int b = mark - k_station_mark_base;
  if (b < 1 || b > k_approach_marks) return std::nullopt;
  return b;
}

std::array<std::int32_t, 11> signal_record::numbers() const {
  return {posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo};
}

std::array<std::int32_t, 6> slowdown_record::numbers() const {
  return {x, v, l, f_tt, f_ta, d_v};
}

std::int64_t signal_code(const signal_record& r) {
  return std::int64_t{r.sx} * 3 + r.dx;
}

std::int64_t signal_mark_cell(std::int64_t k, int b) {
  return k - 2 * std::int64_t{b};
}

std::uint8_t signal_mark(std::int64_t code, int b) {
  return low_8(code * 10 + b);
}

void write_signal(percorso_t& grid, std::int64_t k, const signal_record& r) {
  cella& cell = grid[static_cast<std::size_t>(k)];
  const std::int64_t code = signal_code(r);
  cell.tipo_cella = k_signal;
  cell.valore_d = low_16(std::int64_t{r.rapp} * 10 + code);
  cell.valore_a = low_16(std::int64_t{r.s1} * 10 + r.d1);
  cell.valore_b = low_16(std::int64_t{r.s2} * 10 + r.d2);
  cell.valore_c = low_16(std::int64_t{r.s3} * 10 + r.d3);

  std::int32_t delay = r.tempo;
  if (delay >= 1 && delay < k_least_delay) delay = k_least_delay;
  cell.ritardo = r.sx == k_delayed_sx ? low_8(delay) : std::uint8_t{0};

  for (int b = 1; b <= k_approach_marks; ++b)
    grid[static_cast<std::size_t>(signal_mark_cell(k, b))].preavviso = signal_mark(code, b);
}

signal_record signal_in_cell(const cella& s, std::int64_t cell, std::int64_t code) {
  const bool delayed = s.ritardo != 0;
  const std::int64_t sx = delayed ? k_delayed_sx : floor_div(code, 3);
  const std::int64_t dx = code - 3 * sx;
  const std::int64_t rapp = floor_div(std::int64_t{s.valore_d} - code, 10);
  // A delay kept below 101 was one 256 larger: smaller ones are raised.
  const std::int32_t r = s.ritardo;
  const std::int32_t tempo = !delayed ? 0 : (r < k_least_delay ? r + 256 : r);
  return {point_position(cell),
          static_cast<std::int32_t>(sx),
          s.valore_a / 10,
          s.valore_b / 10,
          s.valore_c / 10,
          static_cast<std::int32_t>(rapp),
          static_cast<std::int32_t>(dx),
          s.valore_a % 10,
          s.valore_b % 10,
          s.valore_c % 10,
          tempo};
}

std::optional<std::int64_t> class_of_mark(std::uint8_t mark, int b) {
  // code x 10 + b = mark (mod 256): 5 x code = (mark - b) / 2 (mod 128), and
  // 77 is the inverse of 5 modulo 128.
  const std::int64_t twice = std::int64_t{mark} - b;
  if (modulo(twice, 2) != 0) return std::nullopt;
  return modulo(twice / 2 * 77, 128);
}

std::optional<std::int64_t> code_in_class(std::int16_t type, std::int64_t code_class) {
  // type = rapp x 10 + code (mod 65536): the code has the type's parity.
  if (modulo(type, 2) != modulo(code_class, 2)) return std::nullopt;
  for (std::int64_t c = code_class - 384; c < code_class + 384; c += 128)
    if (c >= -320 && c < 320 && modulo(std::int64_t{type} - c, 10) == 0) return c;
  return std::nullopt;
}

std::int64_t board_speed_value(std::int32_t first, std::int32_t second) {
  return round_half_even(std::int64_t{second} + 100 * std::int64_t{first}, 5);
}

board_speed_pair board_speeds(std::int16_t value) {
  const std::int32_t v = value;
  board_speed_pair out;
  out.first = static_cast<std::int32_t>(floor_div(v, 20));
  if (v != 20 * out.first) out.second = 5 * (v - 20 * out.first);
  return out;
}

std::int16_t board_stripes_value(std::int32_t strisces, std::int32_t strisced) {
  return low_16(10 * std::int64_t{strisces} + strisced);
}

board_stripe_pair board_stripes(std::int16_t value) {
  return {value / 10, value % 10};
}

scenery_request scenery_request_of(std::int32_t tipo) {
  if (tipo > k_scenery_marker_tipo) return {tipo - k_scenery_marker_tipo, true};
  return {tipo, false};
}

bool scenery_close(std::int64_t gap) {
  return gap <= k_close_scenery_gap;
}

std::int32_t scenery_tipo_of(std::uint8_t ambiente, bool markers) {
  // Markers need a tipo above 10: type 0 is asked for as 266, whose low 8
  // bits after 10 is taken off are 0. Without markers a type above 10 must
  // be asked for below 0, with the same low 8 bits.
  if (markers)
    return ambiente == 0 ? 256 + k_scenery_marker_tipo : ambiente + k_scenery_marker_tipo;
  return ambiente <= k_scenery_marker_tipo ? ambiente : ambiente - 256;
}

std::uint8_t scenery_ambiente(std::int32_t tipo) {
  return low_8(tipo);
}

std::int64_t scenery_first_marker(std::int64_t first) {
  return first + k_scenery_marker_step - 1;
}

bool scenery_marker_cell(std::int64_t first, std::int64_t c) {
  return c >= first && (c - first) % k_scenery_marker_step == k_scenery_marker_step - 1;
}

std::int64_t scenery_first_for_marker(std::int64_t marker) {
  return marker - (k_scenery_marker_step - 1);
}

bool slowdown_warned(std::int32_t x) {
  return x > k_slowdown_warned_after;
}

std::int64_t slowdown_start_cell(std::int32_t x) {
  return point_cell(x);
}

std::int64_t slowdown_end_cell(std::int32_t end) {
  return point_cell(end);
}

std::int64_t slowdown_warning_cell(std::int32_t x) {
  return round_half_even(std::int64_t{x} - k_slowdown_warning_metres + k_cell_metres,
                         k_cell_metres);
}

std::int64_t slowdown_start_of_warning(std::int64_t warning) {
  return warning + k_slowdown_warning_cells;
}

std::int64_t slowdown_approach_head(std::int32_t x) {
  return round_half_even(std::int64_t{x} - k_slowdown_warning_metres, k_cell_metres);
}

slowdown_starts slowdown_starts_in(std::int64_t start) {
  slowdown_starts out{point_position(start), std::nullopt};
  // A half cell rounds to the even cell.
  if (start % 2 == 0) out.half = out.whole - k_cell_metres / 2;
  return out;
}

void write_slowdown_mark(cella& c, std::uint8_t kind, const slowdown_record& r) {
  c.tipo_cella = kind;
  c.valore_a = low_16(r.v);
  if (r.d_v != 0) c.valore_b = low_16(r.d_v);
  if (kind != k_slowdown_warning) c.valore_c = low_16(r.f_tt);
}

slowdown_kept slowdown_kept_in(const cella& c) {
  return {c.valore_a, c.valore_b, c.valore_c};
}

void write_slowdown_approach(cella& c, int i, const slowdown_record& r) {
  c.tipo_cella = k_slowdown_approach;
  c.valore_a = static_cast<std::int16_t>(i + 1);
  if (r.d_v != 0) c.valore_b = static_cast<std::int16_t>(i + 1);
}

std::optional<int> slowdown_approach_index(const cella& c) {
  if (c.tipo_cella != k_slowdown_approach) return std::nullopt;
  if (c.valore_a < 1 || c.valore_a > k_slowdown_approach_cells) return std::nullopt;
  return c.valore_a - 1;
}

bool slowdown_approach_b_c(const cella& c, int i) {
  return c.valore_c == 0 && (c.valore_b == 0 || c.valore_b == i + 1);
}

std::int32_t slowdown_d_v(std::int16_t kept, bool approach_numbered_in_b) {
  return kept == 0 && approach_numbered_in_b ? k_slowdown_d_v_kept_as_zero : kept;
}

std::uint8_t gradient_kept(std::int32_t g) {
  return low_8(std::int64_t{g} + k_gradient_offset);
}

std::int32_t gradient_of(std::uint8_t kept) {
  return std::int32_t{kept} - k_gradient_offset;
}

std::int64_t code_line_cell(std::int32_t p) {
  return round_half_even(p, k_cell_metres);
}

std::int32_t code_line_position(std::int64_t cell) {
  return static_cast<std::int32_t>(cell) * k_cell_metres;
}

void write_code_line(cella& c, std::int32_t value) {
  if (value > 0) {
    c.tipo_cella = k_code_point;
    c.valore_a = low_16(value);
  } else {
    c.tipo_cella = k_code_point_plain;
  }
}

std::int32_t code_line_value(const cella& c) {
  if (c.tipo_cella != k_code_point) return 0;
  return c.valore_a > 0 ? c.valore_a : c.valore_a + 65536;
}

void write_pass_code_point(cella& c) {
  c.tipo_cella = k_code_point;
  c.valore_a = k_pass_code;
}

bool is_pass_code_point(const cella& c) {
  return c.tipo_cella == k_code_point && c.valore_a == k_pass_code;
}

}  // namespace scenario
