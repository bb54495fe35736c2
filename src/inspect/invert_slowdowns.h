// The inverse of the slowdown marks: slowdown records from their start, end,
// warning and approach cells, including those a station's stop took later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "inspect/description_records.h"
#include "model/percorso.h"

namespace scenario {

struct slowdown_order {
  std::vector<slowdown_record> slowdowns;
  // For each, the lowest number of the stations whose stop took one of its
  // cells, 0 for none: the record stands before that station's line.
  std::vector<std::int32_t> under_station;
  std::vector<std::size_t> under_stops;  // those stop cells, in increasing order
};

// A "rallentamento" record per slowdown: its position 50 m before its start
// cell, its speed, flag and second value from its cells, its length to the
// first end cell after it with the same values (else to the nearest before
// it, a length below 0; 0 when there is none: the start then covers its
// end), f_ta 1 when its four approach cells are marked. A start whose
// approach cells stand one cell further back was written 25 m earlier, on a
// half cell. A station stop written later over
// one of its cells keeps the slowdown's values b and c under the stop's kind
// and number: a start, warning or approach cell under a stop is found from
// the marks the slowdown left elsewhere, and the record is written before
// the station. Start, end, warning and approach cells that no record gives
// are the problems.
inverted<slowdown_order> invert_slowdowns(const percorso_t& grid);

}  // namespace scenario
