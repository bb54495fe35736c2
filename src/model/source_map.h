// Where the objects of a compiled scenario came from: for each grid cell and
// each station-table record, the description line whose record last changed
// it. Filled by a compile that is asked for it; the binary files know
// nothing of it.
#pragma once

#include <array>
#include <vector>

#include "model/run_state.h"
#include "model/stazioni.h"

namespace scenario {

// One record of a description; line 0 when nothing records it.
struct source_ref {
  fault_origin origin = fault_origin::run;
  int line = 0;

  bool known() const { return line > 0; }
  friend bool operator==(const source_ref&, const source_ref&) = default;
};

struct source_map {
  std::vector<source_ref> objects;                  // per cell: its object (kind, values, delay)
  std::vector<source_ref> scenery;                  // per cell: its scenery type
  std::array<source_ref, k_station_slots> slots{};  // per station-table record
};

}  // namespace scenario
