// Little-endian packing of fixed-width values into a byte buffer, with no
// gaps and no alignment.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario {

class byte_sink {
 public:
  explicit byte_sink(std::size_t expected_size) { bytes_.reserve(expected_size); }

  void put_u8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void put_u16(std::uint16_t v) { put_le(v, 2); }
  void put_i16(std::int16_t v) { put_le(static_cast<std::uint16_t>(v), 2); }
  void put_i32(std::int32_t v) { put_le(static_cast<std::uint32_t>(v), 4); }
  void put_f64(double v) { put_le(std::bit_cast<std::uint64_t>(v), 8); }
  void put_bytes(std::string_view s) { bytes_.append(s); }

  std::string take() { return std::move(bytes_); }

 private:
  void put_le(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }

  std::string bytes_;
};

}  // namespace scenario
