#include "output/plan_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>

#include "output/plan_format.h"

namespace scenario {
namespace {

constexpr std::size_t k_buffer_bytes = std::size_t{64} * 1024;
constexpr std::size_t k_largest_entry = 10;

// The bytes of the value after a tag the file holds.
constexpr std::size_t value_bytes(plan_tag tag) {
  return tag == plan_tag::real ? 8 : tag == plan_tag::int16 ? 2 : 0;
}

std::uint64_t little_endian(const char* p, int n) {
  std::uint64_t v = 0;
  for (int i = 0; i < n; ++i) v |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
  return v;
}

// Entries from an offset on, through a buffer refilled from the source, no
// larger than the bytes the reader says it wants.
class entry_stream {
 public:
  entry_stream(const byte_source& source, std::uint64_t offset,
               std::uint64_t wanted = k_buffer_bytes)
      : source_(source),
        size_(source.size()),
        at_(offset),
        buffer_bytes_(static_cast<std::size_t>(
            std::clamp<std::uint64_t>(wanted, k_largest_entry, k_buffer_bytes))) {}

  std::uint64_t offset() const { return at_; }
  bool at_end() const { return at_ >= size_; }
  // The next n bytes, or all that are left when fewer are.
  std::string_view ahead(std::size_t n) {
    n = static_cast<std::size_t>(std::min<std::uint64_t>(n, size_ - at_));
    if (at_ < start_ || at_ + n > start_ + buffer_.size()) {
      buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(buffer_bytes_, size_ - at_)));
      source_.read(at_, buffer_.data(), buffer_.size());
      start_ = at_;
    }
    return {buffer_.data() + (at_ - start_), n};
  }
  void advance(std::size_t n) { at_ += n; }

  // The next entry of a file already checked: its tag, and its value into v.
  plan_tag next(double& v) {
    const char* b = ahead(k_largest_entry).data();
    const auto tag = static_cast<plan_tag>(little_endian(b, 2));
    if (tag == plan_tag::real)
      v = std::bit_cast<double>(little_endian(b + 2, 8));
    else if (tag == plan_tag::int16)
      v = static_cast<std::int16_t>(little_endian(b + 2, 2));
    else
      v = 0;
    advance(2 + value_bytes(tag));
    return tag;
  }
  // Passes over the next entry of a file already checked.
  void skip() {
    const char* b = ahead(2).data();
    advance(2 + value_bytes(static_cast<plan_tag>(little_endian(b, 2))));
  }

 private:
  const byte_source& source_;
  std::uint64_t size_;
  std::uint64_t at_;
  std::size_t buffer_bytes_;
  std::uint64_t start_ = 0;
  std::string buffer_;
};

// The tags of every entry, two bits each, for the check that both
// coordinates of a metre carry the same.
class tag_list {
 public:
  void push(plan_tag t) {
    if (count_ % 4 == 0) bits_.push_back(0);
    bits_.back() = static_cast<std::uint8_t>(bits_.back() | code(t) << (2 * (count_ % 4)));
    ++count_;
  }
  int at(std::size_t n) const { return (bits_[n / 4] >> (2 * (n % 4))) & 3; }

 private:
  static int code(plan_tag t) { return t == plan_tag::empty ? 0 : t == plan_tag::int16 ? 1 : 2; }
  std::vector<std::uint8_t> bits_;
  std::size_t count_ = 0;
};

std::uint16_t stored_tag(int code) {
  return static_cast<std::uint16_t>(code == 0   ? plan_tag::empty
                                    : code == 1 ? plan_tag::int16
                                                : plan_tag::real);
}

// The first value that no plan holds: its entry, where it starts and why.
struct bad_value {
  std::size_t entry = 0;
  std::uint64_t offset = 0;
  std::string why;
};

}  // namespace

void memory_bytes::read(std::uint64_t offset, char* out, std::size_t n) const {
  std::memcpy(out, bytes_.data() + offset, n);
}

void table_source::read(std::size_t first, std::size_t n, plan_window& out) const {
  n = first < metres() ? std::min(n, metres() - first) : 0;
  out.first = first;
  out.tags.resize(n);
  out.c0.resize(n);
  out.c1.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    out.tags[i] = plan_.tag(first + i, 0);
    out.c0[i] = plan_.value(first + i, 0);
    out.c1[i] = plan_.value(first + i, 1);
  }
}

void runs_source::read(std::size_t first, std::size_t n, plan_window& out) const {
  n = first < metres() ? std::min(n, metres() - first) : 0;
  out.first = first;
  out.tags.assign(n, plan_tag::empty);
  out.c0.assign(n, 0);
  out.c1.assign(n, 0);
  if (n == 0 || !plan_.seeded()) return;
  for (std::size_t m = first; m < std::min<std::size_t>(first + n, 2); ++m) {
    out.tags[m - first] = plan_tag::int16;
    out.c1[m - first] = static_cast<double>(m);  // the seeds (0, 0) and (0, 1)
  }
  const std::size_t set_end = static_cast<std::size_t>(plan_.last_set()) + 1;
  const std::size_t from = std::max<std::size_t>(first, 2);
  const std::size_t to = std::min(first + n, set_end);
  if (from >= to) return;
  if (next_ > from) {
    points_.emplace(plan_);
    next_ = 2;
  }
  std::vector<double> skipped0(plan_cursor::k_window), skipped1(plan_cursor::k_window);
  while (next_ < from) {
    const std::size_t skipped =
        points_->next(skipped0.data(), skipped1.data(), std::min(from - next_, skipped0.size()));
    if (skipped == 0) return;
    next_ += skipped;
  }
  const std::size_t made =
      points_->next(out.c0.data() + (from - first), out.c1.data() + (from - first), to - from);
  next_ += made;
  for (std::size_t i = 0; i < made; ++i) out.tags[from - first + i] = plan_tag::real;
}

decoded<std::shared_ptr<const plan_reader>> plan_reader::open(
    std::shared_ptr<const byte_source> source) {
  if (source->size() == 0) return decode_error{0, "empty file"};
  std::shared_ptr<plan_reader> reader(new plan_reader(std::move(source)));
  const byte_source& bytes = *reader->source_;

  // The file carries no count: walk the entries once to find it, checking
  // each as it goes.
  tag_list tags;
  std::optional<bad_value> bad;
  std::size_t entries = 0;
  for (entry_stream in(bytes, 0); !in.at_end(); ++entries) {
    const std::uint64_t at = in.offset();
    if (entries % k_stride == 0) reader->starts_.push_back(at);
    if (entries == 2 * k_plan_max_metres)
      return decode_error{at, "more than " + std::to_string(2 * k_plan_max_metres) + " entries"};
    const std::string_view ahead = in.ahead(k_largest_entry);
    std::uint16_t stored = 0;
    std::optional<plan_tag> tag;
    double v = 0;
    std::size_t length = 0;
    if (ahead.size() == k_largest_entry) {
      // Room for any entry: no read can fall short.
      stored = static_cast<std::uint16_t>(little_endian(ahead.data(), 2));
      tag = plan_tag_of(stored);
      if (tag == plan_tag::real) v = std::bit_cast<double>(little_endian(ahead.data() + 2, 8));
      length = tag ? 2 + value_bytes(*tag) : 2;
    } else {
      // The last bytes of the file: read as a byte reader reads them, for
      // its reasons when they fall short.
      byte_reader entry(ahead);
      stored = entry.u16("tag");
      tag = plan_tag_of(stored);
      if (entry.ok() && tag) {
        if (tag == plan_tag::real)
          v = entry.f64("value");
        else
          entry.skip(value_bytes(*tag), "value");
      } else if (!entry.ok()) {
        entry.skip(0, "value");
      }
      if (!entry.ok())
        return decode_error{
            at + entry.error().offset,
            "truncated entry " + std::to_string(entries) + ": " + entry.error().reason};
      length = entry.offset();
    }
    if (!tag)
      return decode_error{
          at, "unknown tag " + std::to_string(stored) + " in entry " + std::to_string(entries)};
    if (!bad && tag == plan_tag::real) {
      if (!std::isfinite(v))
        bad = bad_value{entries, at + 2, "is not a finite number"};
      else if (std::abs(v) > k_plan_max_coordinate)
        bad = bad_value{entries, at + 2,
                        "lies beyond " + std::to_string(static_cast<int>(k_plan_max_coordinate)) +
                            " m, where no plan reaches"};
    }
    tags.push(*tag);
    in.advance(length);
  }
  if (entries % 2 != 0)
    return decode_error{bytes.size(), "odd entry count " + std::to_string(entries)};

  // Entries in file order: coordinate 0 of every metre, then coordinate 1,
  // whose tag must match coordinate 0's. The first entry at fault is told.
  const std::size_t metres = entries / 2;
  reader->metres_ = metres;
  const std::size_t last = bad ? bad->entry : entries;
  for (std::size_t e = metres; e < entries && e <= last; ++e) {
    const std::size_t m = e - metres;
    if (tags.at(e) == tags.at(m)) continue;
    entry_stream in(bytes, reader->starts_[e / k_stride]);
    for (std::size_t skip = e % k_stride; skip > 0; --skip) in.skip();
    return decode_error{in.offset(),
                        "metre " + std::to_string(m) + ": tag " +
                            std::to_string(stored_tag(tags.at(e))) + " in coordinate 1, " +
                            std::to_string(stored_tag(tags.at(m))) + " in coordinate 0"};
  }
  if (bad)
    return decode_error{bad->offset, "metre " + std::to_string(bad->entry % metres) +
                                         ": coordinate " + std::to_string(bad->entry / metres) +
                                         " " + bad->why};
  return std::shared_ptr<const plan_reader>(std::move(reader));
}

void plan_reader::read(std::size_t first, std::size_t n, plan_window& out) const {
  n = first < metres_ ? std::min(n, metres_ - first) : 0;
  out.first = first;
  out.tags.resize(n);
  out.c0.resize(n);
  out.c1.resize(n);
  if (n == 0) return;
  for (int c = 0; c < 2; ++c) {
    const std::size_t e = static_cast<std::size_t>(c) * metres_ + first;
    entry_stream in(*source_, starts_[e / k_stride],
                    std::uint64_t{k_largest_entry} * (e % k_stride + n));
    for (std::size_t skip = e % k_stride; skip > 0; --skip) in.skip();
    double v = 0;
    std::vector<double>& values = c == 0 ? out.c0 : out.c1;
    for (std::size_t i = 0; i < n; ++i) {
      const plan_tag t = in.next(v);
      if (c == 0) out.tags[i] = t;
      values[i] = v;
    }
  }
}

}  // namespace scenario
