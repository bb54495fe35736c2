#include "run/fault_codes.h"

#include <algorithm>
#include <array>

namespace scenario {
namespace {

constexpr std::array<fault_code_info, 31> k_codes{{
    {1, "route length outside 0 to 1000000 m", false},
    {2, "a kilometric reference whose position or value is not a multiple of 50 m", false},
    {3, "signal repetition start is not a multiple of 50 m", false},
    {4, "signal repetition end is not a multiple of 50 m", false},
    {5, "signal repetition keyword names neither 4 nor 9 codes", false},
    {6, "text board on an occupied cell", true},
    {7, "code line (abbattimento) on an occupied cell", true},
    {8, "station position is not a multiple of 50 m", true},
    {9, "station length is not a multiple of 100 m", true},
    {10, "too many stations: the station number reaches the first text-board slot", false},
    {11, "signal before a slowdown warning has no free cell for its code point", true},
    {12, "no free cell for a code point in a band before a slowdown start", true},
    {13, "no free cell for a code point inside a slowdown or before the first signal after it",
     true},
    {15, "position too close to the end of the route grid", true},
    {16, "signal cell occupied", true},
    {17, "slowdown warning cell occupied", true},
    {18, "slowdown start cell occupied", true},
    {19, "slowdown end cell occupied", true},
    {20, "slowdown approach cell occupied", true},
    {21, "speed board on an occupied cell", true},
    {22, "station area starts less than 350 m after the previous station's area ends", true},
    {24, "station stop cell would be cell 1 or lower", false},
    {25, "run-time failure while compiling", false},
    {101, "line description file does not exist", false},
    {102, "line description has no [generale] before its last field", false},
    {103, "curve keyword without a curvature digit 1 to 6, or the plan passes 1000000 m", false},
    {k_fault_no_route_length, "no route length record before the body of the line description",
     false},
    {k_fault_too_many_boards, "too many text boards (at most 79)", true},
    {k_fault_too_many_sections, "too many scenery sections (at most 80)", true},
    {k_fault_gradient_range, "gradient outside -100 to 155", true},
    {k_fault_outside_grid, "object would lie outside the route grid", true},
}};

}  // namespace

std::span<const fault_code_info> fault_codes() {
  return k_codes;
}

const fault_code_info* find_fault_code(std::int32_t code) {
  const auto* it = std::find_if(k_codes.begin(), k_codes.end(),
                                [code](const fault_code_info& info) { return info.code == code; });
  return it == k_codes.end() ? nullptr : it;
}

}  // namespace scenario
