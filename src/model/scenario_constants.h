// The numbers that make a scenario's shape, written once.
#pragma once

#include <cstdint>

namespace scenario {

// A cell of the route grid covers 50 m of line.
inline constexpr std::int32_t k_cell_metres = 50;
// The grid and the plan run this far past the end of the route, where the
// simulator lets the train run out.
inline constexpr std::int32_t k_route_margin = 7000;
// A station's area must start at least this far after the area of the
// station before it ends (code 22).
inline constexpr std::int32_t k_station_spacing = 350;
// The longest route a line description may give.
inline constexpr std::int32_t k_max_route_length = 1000000;
// The plan may not be built past this metre inside a curve record.
inline constexpr std::int32_t k_plan_metre_limit = 1000000;

// A description larger than this is refused unread: the largest an author
// writes are under 100 KB, and a limit keeps a huge or sparse input from
// filling the memory before the compile would reject it.
inline constexpr std::uint64_t k_description_max_bytes = 16 * 1024 * 1024;

// The stamps: station record 85 gets k_stamp_record in campo_2 and grid cell
// 1 gets k_stamp_cell in valore_a, each beside its check code.
inline constexpr std::int16_t k_stamp_record = 610;
inline constexpr std::int16_t k_stamp_cell = 5121;
inline constexpr int k_stamp_cell_index = 1;

}  // namespace scenario
