// The station reader: one "stazione" line into the station table and the grid.
#pragma once

#include <cstdint>
#include <optional>

#include "model/run_state.h"
#include "sources/field_reader.h"

namespace scenario {

// How a station line ended: code 0 for a station compiled; otherwise the
// fault, its position where it records one, and whether it stops softly.
struct station_outcome {
  std::int32_t code = 0;
  std::optional<std::int32_t> position;
  bool soft = false;
  // For a station marked: its length as read, and its stop cell as it was
  // before the stop mark replaced it (the warnings tell what was erased).
  std::int32_t length = 0;
  std::optional<cella> stop_cell_before{};
};

// Reads the 17 fields after the keyword into slot `numero` as they come, so a
// line refused half way keeps what was read. Derives the station's area from
// its type and length, marks the stop cell (kind 10) and its four approach
// cells (81 nearest to 84), checks the spacing from the previous station,
// then advances `numero` and refuses it when it reaches indice_cartelli.
// Throws compile_failure for a field that does not fit, a line cut short or a
// mark outside the grid.
station_outcome read_station(field_reader& reader, run_state& st, std::int32_t& numero);

}  // namespace scenario
