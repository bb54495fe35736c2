// The line plan file read a window of metres at a time, for the readers
// that must not hold a plan of a million metres whole (decompile, draw): one
// walk over the bytes checks every entry as decode_plan reports it and notes
// where every k_stride-th metre of each coordinate starts; a window of
// metres is then read from there. The walk can hand every metre it checks to
// a walker, so that a reader needing one pass over the plan reads it once.
// decode_plan itself is this reader over bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "model/plan_runs.h"
#include "model/profilo.h"
#include "output/byte_reader.h"

namespace scenario {

// Where a plan file's bytes come from.
class byte_source {
 public:
  virtual ~byte_source() = default;
  virtual std::uint64_t size() const = 0;
  // The n bytes at offset, within size(), into out. Throws what reading throws.
  virtual void read(std::uint64_t offset, char* out, std::size_t n) const = 0;
};

// Bytes already in memory; they must outlive the source.
class memory_bytes final : public byte_source {
 public:
  explicit memory_bytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  void read(std::uint64_t offset, char* out, std::size_t n) const override;

 private:
  std::string_view bytes_;
};

// Metres first to first + size - 1 of a plan: each metre's tag (both
// coordinates carry the same) and its two coordinates, an int16 entry's
// value exactly, 0 for an empty one.
struct plan_window {
  std::size_t first = 0;
  std::vector<plan_tag> tags;
  std::vector<double> c0;
  std::vector<double> c1;

  std::size_t size() const { return tags.size(); }
};

// Takes the metres of a plan in order, a window at a time, from a walk
// along the whole plan.
class plan_walker {
 public:
  virtual ~plan_walker() = default;
  // The next metres, w.first being the metre after the last window's.
  virtual void take(const plan_window& w) = 0;
  // Every metre has been taken: metres in all.
  virtual void end(std::size_t metres) = 0;
};

// The metres of a plan, a window at a time, wherever it is kept.
class plan_source {
 public:
  virtual ~plan_source() = default;
  virtual std::size_t metres() const = 0;
  // E, the last metre; -1 when the plan has none.
  std::int32_t extent() const { return static_cast<std::int32_t>(metres()) - 1; }
  // Metres first to first + n - 1, cut at the last metre, into out.
  virtual void read(std::size_t first, std::size_t n, plan_window& out) const = 0;
};

// A plan table in memory as a source; the table must outlive it.
class table_source final : public plan_source {
 public:
  explicit table_source(const profilo_t& plan) : plan_(plan) {}
  std::size_t metres() const override { return plan_.metres(); }
  void read(std::size_t first, std::size_t n, plan_window& out) const override;

 private:
  const profilo_t& plan_;
};

// A plan as the compile makes it (its runs) as a source: the points are
// computed in metre order as windows ask for them, again from the start
// for a window behind the last one; no table is made.
class runs_source final : public plan_source {
 public:
  explicit runs_source(const plan_runs& plan) : plan_(plan) { points_.emplace(plan); }
  std::size_t metres() const override { return plan_.exists() ? plan_.metres() : 0; }
  void read(std::size_t first, std::size_t n, plan_window& out) const override;

 private:
  const plan_runs& plan_;
  mutable std::optional<plan_points> points_;
  mutable std::size_t next_ = 2;  // the metre points_ gives next
};

// A plan file, checked whole, read by windows.
class plan_reader final : public plan_source {
 public:
  // Walks the file once; the error decode_plan gives for the same bytes,
  // or the reader. Throws what reading the source throws.
  // A walker given takes every metre during that walk, and its end() is
  // called, when the file is a plan; on an error it has taken a part only.
  static decoded<std::shared_ptr<const plan_reader>> open(std::shared_ptr<const byte_source> source,
                                                          plan_walker* walker = nullptr);

  std::size_t metres() const override { return metres_; }
  void read(std::size_t first, std::size_t n, plan_window& out) const override;
  const byte_source& bytes() const { return *source_; }

  // Metres between two noted starts, in each coordinate.
  static constexpr std::size_t k_stride = 1024;

 private:
  plan_reader(std::shared_ptr<const byte_source> source) : source_(std::move(source)) {}
  bool index(std::uint64_t half, plan_walker* walker);

  std::shared_ptr<const byte_source> source_;
  std::size_t metres_ = 0;
  std::uint64_t half_ = 0;  // where coordinate 1 of metre 0 starts
  // Where coordinate c of metres 0, k_stride, 2 k_stride, ... starts.
  std::vector<std::uint64_t> starts_[2];
};

// Hands every metre of plan to walker, a window at a time, in order.
void walk_plan(const plan_source& plan, plan_walker& walker);

// Metres of a plan one at a time, in any order, through two windows that
// move only when a metre outside both is asked for: a walk along the plan,
// looking a few metres back, reads each metre once, in windows of k_window
// metres; a metre far from both reads only the k_near metres around it.
class plan_cursor {
 public:
  explicit plan_cursor(const plan_source& plan) : plan_(plan) {}
  std::size_t metres() const { return plan_.metres(); }
  std::int32_t extent() const { return plan_.extent(); }
  const plan_source& source() const { return plan_; }
  // Both of a metre's coordinates carry this tag.
  plan_tag tag(std::size_t metre) const {
    const plan_window& w = window_at(metre);
    return w.tags[metre - w.first];
  }
  double value(std::size_t metre, int coord) const {
    const plan_window& w = window_at(metre);
    return (coord == 0 ? w.c0 : w.c1)[metre - w.first];
  }

  static constexpr std::size_t k_window = 8192;
  static constexpr std::size_t k_near = 512;

 private:
  static bool holds(const plan_window& w, std::size_t metre) {
    return metre >= w.first && metre < w.first + w.size();
  }
  const plan_window& window_at(std::size_t metre) const {
    if (holds(windows_[last_], metre)) return windows_[last_];
    if (holds(windows_[1 - last_], metre)) return windows_[1 - last_];
    const plan_window& latest = windows_[last_];
    const std::size_t end = latest.first + latest.size();
    const bool onward = latest.size() > 0 && metre >= end && metre < end + k_window;
    last_ = 1 - last_;
    plan_.read(metre - metre % k_near, onward ? k_window : k_near, windows_[last_]);
    return windows_[last_];
  }

  const plan_source& plan_;
  // What was read last, kept between calls: reading never changes what
  // the cursor stands for.
  mutable plan_window windows_[2];
  mutable int last_ = 0;  // the window read last
};

}  // namespace scenario
