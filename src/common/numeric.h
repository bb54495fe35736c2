// Whole-number helpers shared by every compiler: the one rounding rule, the
// narrowing rules for fixed-width fields, and 32-bit arithmetic that reports
// overflow instead of wrapping.
#pragma once

#include <cstdint>
#include <optional>

namespace scenario {

// num / den rounded to the nearest whole number, halves to the even
// neighbour, computed exactly. den must be positive.
std::int64_t round_half_even(std::int64_t num, std::int64_t den);

// The low 16 bits of v as a two's-complement value.
std::int16_t low_16(std::int64_t v);

// The low 8 bits of v.
std::uint8_t low_8(std::int64_t v);

// v when it fits the destination width, otherwise nothing.
std::optional<std::int32_t> fit_int32(std::int64_t v);
std::optional<std::int16_t> fit_int16(std::int64_t v);
std::optional<std::uint8_t> fit_uint8(std::int64_t v);

// a + b, a - b and a * b in 32-bit arithmetic: nothing when the result does not fit.
std::optional<std::int32_t> add_32(std::int32_t a, std::int32_t b);
std::optional<std::int32_t> sub_32(std::int32_t a, std::int32_t b);
std::optional<std::int32_t> mul_32(std::int32_t a, std::int32_t b);

}  // namespace scenario
