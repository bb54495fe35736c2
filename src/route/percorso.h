// The route grid: one cell per 50 m of line, cells 0 to P, P = (L + 7000) / 50
// rounded half to even. Each cell holds at most one object (a signal, a
// slowdown mark, a board, a station stop, a code point) and the continuous
// properties of the line over it.
#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

// Kinds of object a cell can hold (tipo_cella).
enum cell_kind : std::uint8_t {
  k_empty = 0,
  k_signal = 1,
  k_slowdown_end = 2,
  k_slowdown_start = 3,
  k_slowdown_warning = 4,
  k_slowdown_approach = 5,
  k_speed_board = 6,
  k_station_stop = 10,
  k_scenery_marker = 11,
  k_code_point = 12,
  k_code_point_plain = 13,
  k_text_board = 14,
};

// One cell, fields in the order of the route grid file.
struct cella {
  std::uint8_t tipo_cella = 0;
  std::int16_t valore_a = 0;
  std::int16_t valore_b = 0;
  std::int16_t valore_c = 0;
  std::int16_t valore_d = 0;
  std::uint8_t ritardo = 0;     // clearing delay of a signal here
  std::uint8_t preavviso = 0;   // approach mark before a signal or a station stop
  std::uint8_t ambiente = 0;    // scenery type
  std::uint8_t vel_limite = 0;  // the train's speed limit, in 5 km/h
  std::uint8_t pendenza = 0;    // gradient + 100
  std::uint8_t aderenza = 0;    // adhesion

  friend bool operator==(const cella&, const cella&) = default;
};

// Cells 0 to P; empty until the line compiler reads the route length.
using percorso_t = std::vector<cella>;

// A cell is free for a new object when it is empty or holds only a scenery
// marker, which any object may replace.
inline bool is_free(const cella& c) {
  return c.tipo_cella == k_empty || c.tipo_cella == k_scenery_marker;
}

// The last cell index P of a grid that exists.
inline std::int32_t last_cell(const percorso_t& grid) {
  return static_cast<std::int32_t>(grid.size()) - 1;
}

// True when index names a cell of the grid.
inline bool in_grid(const percorso_t& grid, std::int64_t index) {
  return index >= 0 && index < static_cast<std::int64_t>(grid.size());
}

// The cell of a point object at position p metres: p / 50 + 1, rounded half
// to even.
std::int64_t point_cell(std::int32_t p);

}  // namespace scenario
