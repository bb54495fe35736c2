#include "common/numeric.h"

#include <limits>

namespace scenario {

std::int64_t round_half_even(std::int64_t num, std::int64_t den) {
  // Floor division first, so the remainder is in [0, den).
  std::int64_t q = num / den;
  std::int64_t r = num % den;
  if (r < 0) {
    q -= 1;
    r += den;
  }
  const std::int64_t twice = 2 * r;
  if (twice > den || (twice == den && (q % 2 != 0))) q += 1;
  return q;
}

std::int16_t low_16(std::int64_t v) {
  // Converting an out-of-range value to a signed type is modular since C++20.
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}

std::uint8_t low_8(std::int64_t v) {
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v));
}

std::optional<std::int32_t> fit_int32(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::optional<std::int16_t> fit_int16(std::int64_t v) {
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  return static_cast<std::int16_t>(v);
}

std::optional<std::uint8_t> fit_uint8(std::int64_t v) {
  if (v < 0 || v > 255) return std::nullopt;
  return static_cast<std::uint8_t>(v);
}

std::optional<std::int32_t> add_32(std::int32_t a, std::int32_t b) {
  return fit_int32(static_cast<std::int64_t>(a) + b);
}

std::optional<std::int32_t> sub_32(std::int32_t a, std::int32_t b) {
  return fit_int32(static_cast<std::int64_t>(a) - b);
}

std::optional<std::int32_t> mul_32(std::int32_t a, std::int32_t b) {
  return fit_int32(static_cast<std::int64_t>(a) * b);
}

}  // namespace scenario
