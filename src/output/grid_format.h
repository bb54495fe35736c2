// The route grid file (NAME_NUM.dat): cells 0 to P, cell n at offset 15 * n,
// nothing before or after. Each cell, little-endian and packed:
//   offset 0  tipo_cella  u8      offset 9   ritardo     u8
//          1  valore_a    i16            10  preavviso   u8
//          3  valore_b    i16            11  ambiente    u8
//          5  valore_c    i16            12  vel_limite  u8
//          7  valore_d    i16            13  pendenza    u8
//                                        14  aderenza    u8
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/percorso.h"
#include "model/scenario_constants.h"
#include "output/byte_reader.h"

namespace scenario {

inline constexpr std::size_t k_grid_cell_bytes = 15;
// The longest route gives cells 0 to (1000000 + 7000) / 50.
inline constexpr std::size_t k_grid_max_cells =
    (k_max_route_length + k_route_margin) / k_cell_metres + 1;

// The bytes of the route grid file.
std::string serialise_grid(const percorso_t& grid);

// The grid in bytes, or where they stop being one: a file that is empty, not
// a whole number of cells, longer than the longest route, or holding a cell
// kind that no compiler writes.
decoded<percorso_t> decode_grid(std::string_view bytes);

}  // namespace scenario
