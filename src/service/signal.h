// Signals in the route grid.
#pragma once

#include <cstdint>

#include "model/percorso.h"

namespace scenario {

// The eleven values of a signal record, in line order after the position.
struct signal_record {
  std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0;
  std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;
};

// memo_segnale: puts a signal in cell k = round(posizione / 50 + 1): the
// aspect values s*10 + d, the combined value rapp*10 + sx*3 + dx (16-bit
// arithmetic), the clearing delay for sx = 2 (1..100 raised to 101, low 8
// bits), and approach marks (sx*3 + dx)*10 + b on cells k - 2b, b = 1..4
// (8-bit arithmetic), whatever those cells hold. Returns 0, 16 when cell k is
// taken, or the fault for marks that would fall before cell 0; nothing is
// written then. The caller has checked that k lies inside the grid's end.
std::int32_t memo_segnale(percorso_t& grid, std::int32_t posizione, const signal_record& r);

}  // namespace scenario
