// Ordering of the three kilometric references of a line.
#pragma once

#include "model/stazioni.h"

namespace scenario {

// progressive_ordina: reorders the references read into slots 83 ("uno"),
// 82 ("due") and 81 ("tre") so that slot 81 holds the one with the greatest
// position, 82 the middle one and 83 the smallest; when no positions are
// given, the one reference with a kilometric value goes to slot 81. Then every
// reference flagged 1 has its kilometric value raised by 100. Only the fields
// inizio (position), fine (kilometric value) and posizione (flag) move.
// Throws compile_failure when a 32-bit sum overflows.
void progressive_ordina(stazioni_t& stazioni);

}  // namespace scenario
