// The line plan file (NAME_linea.dat): the 2 * (E + 1) entries of the plan,
// coordinate 0 of metres 0 to E, then coordinate 1 of metres 0 to E. Each
// entry is a little-endian u16 tag followed by its value:
//   tag 0  nothing             an entry never set
//   tag 2  i16                 the seed points, metres 0 and 1
//   tag 5  IEEE 754 binary64   every computed point
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/profilo.h"
#include "model/scenario_constants.h"
#include "output/byte_reader.h"

namespace scenario {

// The longest route gives metres 0 to 1000000 + 7000.
inline constexpr std::size_t k_plan_max_metres = k_max_route_length + k_route_margin + 1;

// The plan advances one metre a metre from (0, 0), so no compiled plan has a
// coordinate beyond its length; the bound leaves room for rounding.
inline constexpr double k_plan_max_coordinate = 1100000;

// The bytes of the line plan file.
std::string serialise_plan(const profilo_t& plan);

// The plan in bytes, or where they stop being one. E is found by counting the
// entries: there must be an even number of them, each with a known tag and
// its whole value; both coordinates of a metre carry the same tag, as the
// plan always sets them together; every real value is finite and within
// k_plan_max_coordinate of 0.
decoded<profilo_t> decode_plan(std::string_view bytes);

}  // namespace scenario
