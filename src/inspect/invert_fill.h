// The inverse of a running fill (gradient, speed limit, adhesion): the
// records that leave a given byte in every cell.
#pragma once

#include <cstdint>
#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

// One byte of every cell of a grid with cells 0 to P.
std::vector<std::uint8_t> cell_bytes(const percorso_t& grid, std::uint8_t cella::*field);

// Records (position in metres, byte) whose fill gives exactly these bytes:
// the first at 0 for cell 0, then one on the boundary of every cell whose
// byte differs from the one before, up to cell P - 3, where the fill after
// the last record ends. Bytes in cells P - 2 to P come from one more record
// each on cell P - 2, the last one allowed: since every record writes at
// least one cell, each pushes the fill one cell further.
std::vector<fill_values> invert_fill(const std::vector<std::uint8_t>& bytes);

}  // namespace scenario
