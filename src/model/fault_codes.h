// The compile fault codes: a named constant, the words for a diagnostic and
// whether a position goes with it, for every code, written once.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

// X(name, code, words, has_position), in increasing order of code. Codes 1 to
// 103 are the format's own; 104 to 108 are this program's, for input that
// the format leaves open.
#define SCENARIO_FAULT_CODES(X)                                                                  \
  X(k_fault_route_length, 1, "route length outside 0 to 1000000 m", false)                       \
  X(k_fault_reference_step, 2,                                                                   \
    "a kilometric reference whose position or value is not a multiple of 50 m", false)           \
  X(k_fault_repetition_start, 3, "signal repetition start is not a multiple of 50 m", false)     \
  X(k_fault_repetition_end, 4, "signal repetition end is not a multiple of 50 m", false)         \
  X(k_fault_repetition_codes, 5, "signal repetition keyword names neither 4 nor 9 codes", false) \
  X(k_fault_text_board_taken, 6, "text board on an occupied cell", true)                         \
  X(k_fault_code_line_taken, 7, "code line (abbattimento) on an occupied cell", true)            \
  X(k_fault_station_position, 8, "station position is not a multiple of 50 m", true)             \
  X(k_fault_station_length, 9, "station length is not a multiple of 100 m", true)                \
  X(k_fault_too_many_stations, 10,                                                               \
    "too many stations: the station number reaches the first text-board slot", false)            \
  X(k_fault_signal_code_point, 11,                                                               \
    "signal before a slowdown warning has no free cell for its code point", true)                \
  X(k_fault_band_code_point, 12,                                                                 \
    "no free cell for a code point in a band before a slowdown start", true)                     \
  X(k_fault_slowdown_code_point, 13,                                                             \
    "no free cell for a code point inside a slowdown or before the first signal after it", true) \
  X(k_fault_near_end, 15, "position too close to the end of the route grid", true)               \
  X(k_fault_signal_taken, 16, "signal cell occupied", true)                                      \
  X(k_fault_warning_taken, 17, "slowdown warning cell occupied", true)                           \
  X(k_fault_start_taken, 18, "slowdown start cell occupied", true)                               \
  X(k_fault_end_taken, 19, "slowdown end cell occupied", true)                                   \
  X(k_fault_approach_taken, 20, "slowdown approach cell occupied", true)                         \
  X(k_fault_speed_board_taken, 21, "speed board on an occupied cell", true)                      \
  X(k_fault_station_spacing, 22,                                                                 \
    "station area starts less than 350 m after the previous station's area ends", true)          \
  X(k_fault_stop_cell, 24, "station stop cell would be cell 1 or lower", false)                  \
  X(k_fault_runtime, 25, "run-time failure while compiling", false)                              \
  X(k_fault_no_line_file, 101, "line description file does not exist", false)                    \
  X(k_fault_no_generale, 102, "line description has no [generale] before its last field", false) \
  X(k_fault_curve, 103,                                                                          \
    "curve keyword without a curvature digit 1 to 6, or the plan passes 1000000 m", false)       \
  X(k_fault_no_route_length, 104,                                                                \
    "no route length record before the body of the line description", false)                     \
  X(k_fault_too_many_boards, 105, "too many text boards (at most 79)", true)                     \
  X(k_fault_too_many_sections, 106, "too many scenery sections (at most 80)", true)              \
  X(k_fault_gradient_range, 107, "gradient outside -100 to 155", true)                           \
  X(k_fault_outside_grid, 108, "object would lie outside the route grid", true)

#define SCENARIO_FAULT_CONSTANT(name, code, words, has_position) \
  inline constexpr std::int32_t name = code;
SCENARIO_FAULT_CODES(SCENARIO_FAULT_CONSTANT)
#undef SCENARIO_FAULT_CONSTANT

struct fault_code_info {
  std::int32_t code;
  std::string_view words;  // what is wrong, for a diagnostic line
  bool has_position;       // whether the fault records a position in metres
};

// Every code a compile or the code-point pass can record, in increasing order.
std::span<const fault_code_info> fault_codes();

// The entry of code, or nullptr for a number that is not a fault code.
const fault_code_info* find_fault_code(std::int32_t code);

}  // namespace scenario
