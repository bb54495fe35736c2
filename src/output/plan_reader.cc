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
constexpr std::size_t k_walk_buffer_bytes = std::size_t{256} * 1024;
constexpr std::size_t k_largest_entry = 10;
// Metres handed to a walker at a time.
constexpr std::size_t k_walk_window = 8192;

// The bytes of the value after a tag the file holds.
constexpr std::size_t value_bytes(plan_tag tag) {
  return tag == plan_tag::real ? 8 : tag == plan_tag::int16 ? 2 : 0;
}

// A little-endian value of n bytes at p, in one load where the host is
// little-endian.
template <typename T>
T load_le(const char* p) {
  if constexpr (std::endian::native == std::endian::little) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  } else {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      v |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    return static_cast<T>(v);
  }
}

// One entry as the file holds it: its stored tag, the tag that names
// (nothing for an unknown one), an int16 entry's value exactly or a real
// entry's bits as a double (0 for an empty one), and its length. An entry is
// whole when the bytes left hold all of it; for an unknown tag, its two tag
// bytes.
struct plan_entry {
  std::uint16_t stored = 0;
  std::optional<plan_tag> tag;
  double value = 0;
  std::size_t length = 0;
  bool whole = false;
};

// The entry whose bytes start at b, `room` of them left: the one decoder of
// the file's entries.
plan_entry entry_at(const char* b, std::size_t room) {
  plan_entry e;
  if (room < 2) return e;
  e.stored = load_le<std::uint16_t>(b);
  e.tag = plan_tag_of(e.stored);
  e.length = 2 + (e.tag ? value_bytes(*e.tag) : 0);
  e.whole = room >= e.length;
  if (!e.whole || !e.tag) return e;
  if (*e.tag == plan_tag::real)
    e.value = std::bit_cast<double>(load_le<std::uint64_t>(b + 2));
  else if (*e.tag == plan_tag::int16)
    e.value = static_cast<std::int16_t>(load_le<std::uint16_t>(b + 2));
  return e;
}

// The bytes of a stretch of the source from an offset up to a limit,
// through a buffer refilled from the source as the cursor moves on.
class byte_cursor {
 public:
  byte_cursor(const byte_source& source, std::uint64_t at, std::uint64_t limit,
              std::uint64_t wanted = k_walk_buffer_bytes)
      : source_(source),
        limit_(limit),
        start_(at),
        buffer_(static_cast<std::size_t>(
                    std::clamp<std::uint64_t>(wanted, k_largest_entry, k_walk_buffer_bytes)),
                '\0') {}

  std::uint64_t offset() const { return start_ + static_cast<std::uint64_t>(p_ - begin()); }
  std::uint64_t left() const { return limit_ - offset(); }
  // The bytes read from the cursor on.
  std::size_t buffered() const { return static_cast<std::size_t>(stop_ - p_); }
  // At least min(n, left()) bytes from the cursor on.
  const char* need(std::size_t n) {
    if (static_cast<std::size_t>(stop_ - p_) < n) refill();
    return p_;
  }
  void advance(std::size_t n) { p_ += n; }
  // The bytes of the entry at the cursor: as many as the largest entry
  // takes, or those left when fewer are.
  std::string_view ahead() {
    const char* b = need(k_largest_entry);
    return {b, std::min(buffered(), k_largest_entry)};
  }
  // The entry at the cursor, or as much of it as the bytes left hold.
  plan_entry entry() {
    const std::string_view b = ahead();
    return entry_at(b.data(), b.size());
  }
  // Passes over the next entry of a file already checked.
  void skip() { advance(entry().length); }

 private:
  const char* begin() const { return buffer_.data(); }
  void refill() {
    const std::uint64_t at = offset();
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), limit_ - at));
    source_.read(at, buffer_.data(), n);
    start_ = at;
    p_ = buffer_.data();
    stop_ = p_ + n;
  }

  const byte_source& source_;
  std::uint64_t limit_;
  std::uint64_t start_;  // the offset of the buffer's first byte
  std::string buffer_;
  const char* p_ = buffer_.data();
  const char* stop_ = p_;  // the end of the bytes read
};

// The next entry at the cursor, when the bytes before its limit hold a
// whole entry with a known tag and, for a real value, one that a plan
// holds: its tag into tag and its value into v.
bool sound_entry(byte_cursor& in, plan_tag& tag, double& v) {
  const plan_entry e = in.entry();
  if (!e.tag || !e.whole) return false;
  // Neither infinite nor NaN, and within reach.
  if (*e.tag == plan_tag::real && !(std::abs(e.value) <= k_plan_max_coordinate)) return false;
  tag = *e.tag;
  v = e.value;
  in.advance(e.length);
  return true;
}

// The next entry of a file already checked: its tag, and its value into v.
plan_tag checked_entry(byte_cursor& in, double& v) {
  const plan_entry e = in.entry();
  v = e.value;
  in.advance(e.length);
  return *e.tag;
}

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

namespace {

// What one walk over every entry of a file found: how many, their tags,
// where every k_stride-th starts, and the first value no plan holds.
struct entry_walk {
  std::size_t entries = 0;
  tag_list tags;
  std::vector<std::uint64_t> starts;
  std::optional<bad_value> bad;
};

// The fault of entry n, starting at `at`, whose bytes up to the largest
// entry's length (fewer at the end of the file) are `ahead`: its bytes
// falling short, in the words of a byte reader reading them, or an unknown
// tag.
std::optional<decode_error> entry_fault(const plan_entry& e, std::uint64_t at,
                                        std::string_view ahead, std::size_t n) {
  if (!e.whole) {
    byte_reader shortfall(ahead);
    shortfall.skip(2, "tag");
    if (e.tag) shortfall.skip(value_bytes(*e.tag), "value");
    return decode_error{at + shortfall.error().offset,
                        "truncated entry " + std::to_string(n) + ": " + shortfall.error().reason};
  }
  if (!e.tag)
    return decode_error{
        at, "unknown tag " + std::to_string(e.stored) + " in entry " + std::to_string(n)};
  return std::nullopt;
}

// A real value of entry n, starting at `at`, that no plan holds.
std::optional<bad_value> value_fault(const plan_entry& e, std::uint64_t at, std::size_t n) {
  if (e.tag != plan_tag::real) return std::nullopt;
  if (!std::isfinite(e.value)) return bad_value{n, at + 2, "is not a finite number"};
  if (std::abs(e.value) > k_plan_max_coordinate)
    return bad_value{n, at + 2,
                     "lies beyond " + std::to_string(static_cast<int>(k_plan_max_coordinate)) +
                         " m, where no plan reaches"};
  return std::nullopt;
}

// Walks every entry in file order, checking each as it goes (the file
// carries no count): the first entry that cannot be read is the fault.
std::optional<decode_error> walk_entries(const byte_source& bytes, entry_walk& w) {
  constexpr std::size_t k_stride = plan_reader::k_stride;
  for (byte_cursor in(bytes, 0, bytes.size(), k_buffer_bytes); in.left() > 0; ++w.entries) {
    const std::uint64_t at = in.offset();
    if (w.entries % k_stride == 0) w.starts.push_back(at);
    if (w.entries == 2 * k_plan_max_metres)
      return decode_error{at, "more than " + std::to_string(2 * k_plan_max_metres) + " entries"};
    const std::string_view ahead = in.ahead();
    const plan_entry e = entry_at(ahead.data(), ahead.size());
    if (std::optional<decode_error> fault = entry_fault(e, at, ahead, w.entries)) return fault;
    if (!w.bad) w.bad = value_fault(e, at, w.entries);
    w.tags.push(*e.tag);
    in.advance(e.length);
  }
  return std::nullopt;
}

// The first metre whose coordinate 1 carries another tag than its
// coordinate 0, before the entry of the bad value (if any): entry e is
// found again from the start noted before it.
std::optional<decode_error> tag_mismatch(const byte_source& bytes, const entry_walk& w) {
  constexpr std::size_t k_stride = plan_reader::k_stride;
  const std::size_t metres = w.entries / 2;
  const std::size_t last = w.bad ? w.bad->entry : w.entries;
  for (std::size_t e = metres; e < w.entries && e <= last; ++e) {
    const std::size_t m = e - metres;
    if (w.tags.at(e) == w.tags.at(m)) continue;
    byte_cursor in(bytes, w.starts[e / k_stride], bytes.size(), k_buffer_bytes);
    for (std::size_t skip = e % k_stride; skip > 0; --skip) in.skip();
    return decode_error{in.offset(),
                        "metre " + std::to_string(m) + ": tag " +
                            std::to_string(stored_tag(w.tags.at(e))) + " in coordinate 1, " +
                            std::to_string(stored_tag(w.tags.at(m))) + " in coordinate 0"};
  }
  return std::nullopt;
}

// The first fault of a file that is no plan, as decode_plan tells it:
// entries in file order, coordinate 0 of every metre, then coordinate 1,
// whose tag must match coordinate 0's; the first entry at fault is told.
// A file with none of these faults is a plan, which plan_reader::index
// has taken already; one it refused and this walk finds no fault in is
// refused all the same.
decode_error first_fault(const byte_source& bytes) {
  entry_walk w;
  if (std::optional<decode_error> fault = walk_entries(bytes, w)) return *fault;
  if (w.entries % 2 != 0)
    return decode_error{bytes.size(), "odd entry count " + std::to_string(w.entries)};
  if (std::optional<decode_error> fault = tag_mismatch(bytes, w)) return *fault;
  const std::size_t metres = w.entries / 2;
  if (w.bad)
    return decode_error{w.bad->offset, "metre " + std::to_string(w.bad->entry % metres) +
                                           ": coordinate " + std::to_string(w.bad->entry / metres) +
                                           " " + w.bad->why};
  return decode_error{0, "the two coordinates of the plan cannot be told apart"};
}

}  // namespace

// The walk that checks a file whose coordinate 1 starts at half, both
// coordinates side by side: a plan's two halves hold the same tags, so they
// are as long as each other and half is the middle of the file. True when
// every metre is sound, which is exactly when the file is a plan; the
// metres are then counted and their starts noted, and the walker given has
// taken them.
bool plan_reader::index(std::uint64_t half, plan_walker* walker) {
  const byte_source& bytes = *source_;
  byte_cursor c0(bytes, 0, half);
  byte_cursor c1(bytes, half, bytes.size());
  starts_[0].clear();
  starts_[1].clear();
  plan_window w;
  if (walker) {
    w.tags.resize(k_walk_window);
    w.c0.resize(k_walk_window);
    w.c1.resize(k_walk_window);
  }
  std::size_t m = 0;
  std::size_t in_window = 0;
  for (; c0.offset() != half; ++m) {
    if (m == k_plan_max_metres) return false;
    if (m % k_stride == 0) {
      starts_[0].push_back(c0.offset());
      starts_[1].push_back(c1.offset());
    }
    double v0 = 0, v1 = 0;
    plan_tag t0 = plan_tag::empty, t1 = plan_tag::empty;
    if (!sound_entry(c0, t0, v0) || !sound_entry(c1, t1, v1) || t1 != t0) return false;
    if (!walker) continue;
    w.tags[in_window] = t0;
    w.c0[in_window] = v0;
    w.c1[in_window] = v1;
    if (++in_window == k_walk_window) {
      walker->take(w);
      w.first += in_window;
      in_window = 0;
    }
  }
  if (c1.offset() != bytes.size() || m == 0) return false;
  metres_ = m;
  half_ = half;
  if (walker) {
    w.tags.resize(in_window);
    w.c0.resize(in_window);
    w.c1.resize(in_window);
    if (in_window > 0) walker->take(w);
    walker->end(m);
  }
  return true;
}

decoded<std::shared_ptr<const plan_reader>> plan_reader::open(
    std::shared_ptr<const byte_source> source, plan_walker* walker) {
  if (source->size() == 0) return decode_error{0, "empty file"};
  std::shared_ptr<plan_reader> reader(new plan_reader(std::move(source)));
  const byte_source& bytes = *reader->source_;
  if (bytes.size() % 2 == 0 && reader->index(bytes.size() / 2, walker))
    return std::shared_ptr<const plan_reader>(std::move(reader));
  // No plan: read entry by entry for the fault decode_plan tells.
  return first_fault(bytes);
}

void plan_reader::read(std::size_t first, std::size_t n, plan_window& out) const {
  n = first < metres_ ? std::min(n, metres_ - first) : 0;
  out.first = first;
  out.tags.resize(n);
  out.c0.resize(n);
  out.c1.resize(n);
  if (n == 0) return;
  const std::size_t skip = first % k_stride;
  for (int c = 0; c < 2; ++c) {
    byte_cursor in(*source_, starts_[c][first / k_stride], c == 0 ? half_ : source_->size(),
                   std::uint64_t{k_largest_entry} * (skip + n));
    for (std::size_t s = 0; s < skip; ++s) in.skip();
    double* values = c == 0 ? out.c0.data() : out.c1.data();
    plan_tag* tags = out.tags.data();
    for (std::size_t i = 0; i < n; ++i) {
      const plan_tag t = checked_entry(in, values[i]);
      if (c == 0) tags[i] = t;
    }
  }
}

void walk_plan(const plan_source& plan, plan_walker& walker) {
  plan_window w;
  for (std::size_t first = 0; first < plan.metres(); first += w.size()) {
    plan.read(first, k_walk_window, w);
    if (w.size() == 0) break;
    walker.take(w);
  }
  walker.end(plan.metres());
}

}  // namespace scenario
