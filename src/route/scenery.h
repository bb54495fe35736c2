// Scenery sections and maximum-speed boards of the line.
#pragma once

#include <cstdint>

#include "model/percorso.h"

namespace scenario {

// The scenery sections of the line recorded so far: how many, and where the
// last one ends.
struct scenery_sections {
  std::int32_t numero_montagne = 0;
  std::int32_t fine_ultima = 0;
};

// memo_montagna: records the section inizio..fine and gives every cell from
// round(inizio / 50) to round(fine / 50 - 1) the scenery type. A tipo above 10
// asks for markers: 10 is taken off and every fourth cell of the section that
// is empty becomes a scenery marker. A section starting 150 m or less after
// the end of the previous one takes type 3. tipo is changed accordingly.
// Returns 0, or the fault that refuses an 81st section (nothing is then
// written or recorded). A cell outside the grid throws compile_failure
// there, the section recorded and the cells before it written.
std::int32_t memo_montagna(percorso_t& percorso, scenery_sections& sections, std::int32_t inizio,
                           std::int32_t fine, std::int32_t& tipo);

// The speeds and stripes of one speed board: first group (a, b, c, strisces),
// second group (d speeds, strisced).
struct speed_board {
  std::int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
  std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};

// memo_indicatori_v_max: places a speed board in cell round(posizione/50 + 1),
// each value packed as round(second / 5 + 20 * first), the stripes as
// 10 * strisces + strisced in 16 bits. Returns 0, or 21 when the cell is
// taken; nothing is written then. A cell outside the grid, or a packed speed
// that does not fit 16 bits, throws compile_failure before any write.
std::int32_t memo_indicatori_v_max(percorso_t& percorso, std::int32_t posizione,
                                   const speed_board& board);

}  // namespace scenario
