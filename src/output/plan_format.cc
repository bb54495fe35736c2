#include "output/plan_format.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "output/byte_order.h"

namespace scenario {
namespace {

// One coordinate block of the file, gathered into pieces.
class block_writer {
 public:
  block_writer(std::uint64_t offset, plan_piece_buffers& buffers)
      : offset_(offset), buffers_(buffers) {}

  // Room for n more bytes (at most a piece), handing on the piece first
  // when it has none.
  char* room(std::size_t n) {
    if (used_ + n > k_plan_piece_bytes) flush();
    if (piece_ == nullptr) piece_ = buffers_.lend();
    char* out = piece_ + used_;
    used_ += n;
    return out;
  }
  void flush() {
    if (used_ == 0) return;
    char* const piece = piece_;
    piece_ = nullptr;
    buffers_.filled(offset_, piece, used_);
    offset_ += used_;
    used_ = 0;
  }

 private:
  std::uint64_t offset_;
  plan_piece_buffers& buffers_;
  char* piece_ = nullptr;
  std::size_t used_ = 0;
};

// The buffers of the callers that take each piece as a view: two, each
// reused once put has seen its piece.
class reused_buffers final : public plan_piece_buffers {
 public:
  explicit reused_buffers(const plan_piece_fn& put) : put_(put) {}
  char* lend() override {
    const int i = lent_[0] ? 1 : 0;  // the encoder never holds more than two
    lent_[i] = true;
    return buffers_[i].get();
  }
  void filled(std::uint64_t offset, char* piece, std::size_t size) override {
    lent_[piece == buffers_[0].get() ? 0 : 1] = false;
    put_(offset, std::string_view(piece, size));
  }

 private:
  const plan_piece_fn& put_;
  std::unique_ptr<char[]> buffers_[2] = {
      std::make_unique_for_overwrite<char[]>(k_plan_piece_bytes),
      std::make_unique_for_overwrite<char[]>(k_plan_piece_bytes)};
  bool lent_[2] = {false, false};
};

void put_le(char* out, std::uint64_t v, int n) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &v, static_cast<std::size_t>(n));
  } else {
    for (int i = 0; i < n; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
}

void put_real(char* out, double value) {
  put_le(out, static_cast<std::uint16_t>(plan_tag::real), 2);
  put_le(out + 2, std::bit_cast<std::uint64_t>(value), 8);
}

void put_entry(block_writer& block, plan_tag tag, std::uint64_t value_bits) {
  const std::size_t value_bytes = plan_value_bytes(tag);
  char* out = block.room(2 + value_bytes);
  put_le(out, static_cast<std::uint16_t>(tag), 2);
  put_le(out + 2, value_bits, static_cast<int>(value_bytes));
}

// The bytes of one coordinate block: the seed entries, the computed ones,
// then the empty ones.
std::uint64_t block_size(const plan_runs& plan) {
  const auto metres = static_cast<std::uint64_t>(plan.metres());
  if (!plan.seeded()) return 2 * metres;
  const auto computed = static_cast<std::uint64_t>(plan.last_set() - 1);
  const std::uint64_t seeds = 8;  // two entries of 4 bytes
  return seeds + 10 * computed + 2 * (metres - 2 - computed);
}

}  // namespace

std::string serialise_plan(const profilo_t& plan) {
  const auto& tags = plan.tags();
  const auto& values = plan.values();
  std::size_t size = 0;
  for (const plan_tag t : tags) size += 2 + plan_value_bytes(t);
  byte_sink out(size);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    out.put_u16(static_cast<std::uint16_t>(tags[i]));
    switch (tags[i]) {
      case plan_tag::empty:
        break;
      case plan_tag::int16:
        out.put_i16(static_cast<std::int16_t>(values[i]));
        break;
      case plan_tag::real:
        out.put_f64(values[i]);
        break;
    }
  }
  return out.take();
}

std::uint64_t plan_file_size(const plan_runs& plan) {
  return plan.exists() ? 2 * block_size(plan) : 0;
}

void encode_plan(const plan_runs& plan, const plan_piece_fn& put) {
  if (!plan.exists()) return;
  reused_buffers buffers(put);
  encode_plan(plan, buffers);
}

void encode_plan(const plan_runs& plan, plan_piece_buffers& buffers) {
  if (!plan.exists()) return;
  block_writer blocks[2] = {{0, buffers}, {block_size(plan), buffers}};
  std::size_t set = 0;  // metres with a point
  if (plan.seeded()) {
    set = static_cast<std::size_t>(plan.last_set()) + 1;
    for (int c = 0; c < 2; ++c) {
      put_entry(blocks[c], plan_tag::int16, 0);
      put_entry(blocks[c], plan_tag::int16, static_cast<std::uint16_t>(c));
    }
    // The computed entries, tag and value, straight into both blocks as the
    // points are made.
    plan_points points(plan);
    constexpr std::size_t k_batch = 1024;
    std::size_t left = set - 2;
    while (left > 0) {
      const std::size_t n = std::min(left, k_batch);
      char* out[2] = {blocks[0].room(10 * n), blocks[1].room(10 * n)};
      points.for_next(n, [&](std::size_t i, plan_xy p) {
        put_real(out[0] + 10 * i, p.c0);
        put_real(out[1] + 10 * i, p.c1);
      });
      left -= n;
    }
  }
  for (int c = 0; c < 2; ++c) {
    for (std::size_t m = set; m < plan.metres(); ++m) put_entry(blocks[c], plan_tag::empty, 0);
    blocks[c].flush();
  }
}

std::string serialise_plan(const plan_runs& plan) {
  std::string bytes(plan_file_size(plan), '\0');
  encode_plan(plan, [&](std::uint64_t offset, std::string_view piece) {
    std::memcpy(bytes.data() + offset, piece.data(), piece.size());
  });
  return bytes;
}

}  // namespace scenario
