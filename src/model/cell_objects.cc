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

}  // namespace scenario
