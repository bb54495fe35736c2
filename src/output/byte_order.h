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
  // The buffer is sized once for expected_size bytes; values are written in
  // place, which keeps a 20 MB plan file from growing a byte at a time.
  explicit byte_sink(std::size_t expected_size) : bytes_(expected_size, '\0') {}

  void put_u8(std::uint8_t v) { put_le(v, 1); }
  void put_u16(std::uint16_t v) { put_le(v, 2); }
  void put_i16(std::int16_t v) { put_le(static_cast<std::uint16_t>(v), 2); }
  void put_i32(std::int32_t v) { put_le(static_cast<std::uint32_t>(v), 4); }
  void put_f64(double v) { put_le(std::bit_cast<std::uint64_t>(v), 8); }

  // A field of a record, by its type: whole numbers as their width; a text
  // as its 16-bit byte count and its bytes.
  void put(std::uint8_t v) { put_u8(v); }
  void put(std::uint16_t v) { put_u16(v); }
  void put(std::int16_t v) { put_i16(v); }
  void put(std::int32_t v) { put_i32(v); }
  void put(const std::string& text) {
    put_u16(static_cast<std::uint16_t>(text.size()));
    put_bytes(text);
  }
  void put_bytes(std::string_view s) {
    reserve(s.size());
    std::memcpy(bytes_.data() + used_, s.data(), s.size());
    used_ += s.size();
  }

  // The bytes written so far.
  std::string take() {
    bytes_.resize(used_);
    return std::move(bytes_);
  }

 private:
  void reserve(std::size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(2 * (used_ + n));
  }
  void put_le(std::uint64_t v, int n) {
    reserve(static_cast<std::size_t>(n));
    char* out = bytes_.data() + used_;
    for (int i = 0; i < n; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    used_ += static_cast<std::size_t>(n);
  }

  std::string bytes_;
  std::size_t used_ = 0;
};

}  // namespace scenario
