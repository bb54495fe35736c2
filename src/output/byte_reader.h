// A bounds-checked little-endian reader over the bytes of one binary file,
// and the result type of the three decoders. Every read first checks the
// bytes left; the first read that does not fit stops the reader with its
// offset and a terse reason, and every read after that returns zero. No read
// can leave the buffer.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace scenario {

// Where a file stops making sense, and why.
struct decode_error {
  std::size_t offset = 0;
  std::string reason;

  friend bool operator==(const decode_error&, const decode_error&) = default;
};

// A decoded table, or the error that stopped decoding.
template <typename T>
class decoded {
 public:
  decoded(T value) : result_(std::move(value)) {}
  decoded(decode_error error) : result_(std::move(error)) {}

  bool ok() const { return result_.index() == 0; }
  // The table; only when ok().
  const T& value() const { return std::get<0>(result_); }
  T& value() { return std::get<0>(result_); }
  // The error; only when not ok().
  const decode_error& error() const { return std::get<1>(result_); }

 private:
  std::variant<T, decode_error> result_;
};

class byte_reader {
 public:
  explicit byte_reader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t offset() const { return at_; }
  std::size_t remaining() const { return bytes_.size() - at_; }
  // False once a read did not fit; error() then says where and why.
  bool ok() const { return !failed_; }
  const decode_error& error() const { return error_; }

  // Each read names its field in `what`, for the reason of a short read.
  std::uint8_t u8(std::string_view what) { return static_cast<std::uint8_t>(le(1, what)); }
  std::uint16_t u16(std::string_view what) { return static_cast<std::uint16_t>(le(2, what)); }
  std::int16_t i16(std::string_view what) { return static_cast<std::int16_t>(le(2, what)); }
  std::int32_t i32(std::string_view what) { return static_cast<std::int32_t>(le(4, what)); }
  double f64(std::string_view what) { return std::bit_cast<double>(le(8, what)); }

  // A field of a record into v, by its type, as byte_sink::put writes it.
  void read(std::uint8_t& v, std::string_view what) { v = u8(what); }
  void read(std::int16_t& v, std::string_view what) { v = i16(what); }
  void read(std::int32_t& v, std::string_view what) { v = i32(what); }
  void read(std::string& v, std::string_view what) {
    const std::uint16_t n = u16("name length");
    v = std::string(bytes(n, what));
  }

  // The next n bytes, or an empty view when they are not all there.
  std::string_view bytes(std::size_t n, std::string_view what) {
    if (!take(n, what)) return {};
    const std::string_view out = bytes_.substr(at_, n);
    at_ += n;
    return out;
  }

  // Passes over n bytes.
  void skip(std::size_t n, std::string_view what) {
    if (take(n, what)) at_ += n;
  }

 private:
  bool take(std::size_t n, std::string_view what) {
    if (failed_) return false;
    if (n <= remaining()) return true;
    failed_ = true;
    error_ = {at_, std::string(what) + " needs " + count(n) + ", " + std::to_string(remaining()) +
                       " left"};
    return false;
  }

  static std::string count(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
  }

  std::uint64_t le(std::size_t n, std::string_view what) {
    if (!take(n, what)) return 0;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += n;
    return v;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
  decode_error error_;
};

}  // namespace scenario
