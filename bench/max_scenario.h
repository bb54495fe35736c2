// The largest scenario an author may describe: a 1,000,000 m line with every
// kind of record near its limit, and a train over it. The benchmarks and the
// bench script (through bench_make_max) compile the same two texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

inline constexpr std::string_view k_max_line_name = "Max";
inline constexpr std::string_view k_max_train_number = "1";

// The route length of the largest line.
inline constexpr std::int32_t k_max_length = 1000000;

// The line description: a curve every 2 km, a gradient change every 500 m,
// 80 scenery sections and a speed board every 5 km. Lines end with CR LF; the
// last line is "[fine]".
std::string max_line_text();

// The train description: 78 stations, one slowdown, a signal every 1.2 km and
// a speed-limit change at every speed board. Every object stands on a cell of
// its own, so the compile records no fault.
std::string max_train_text();

}  // namespace scenario
