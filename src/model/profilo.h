// The plan of the line: one point per metre, metres 0 to E = L + 7000, two
// coordinates each. An entry is empty, a 16-bit whole number (the two seed
// points) or a 64-bit float (every computed point). Entries are stored with
// the metre index fastest, the order of the line plan file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace scenario {

// X(name, tag, value bytes): the kinds of entry, with the tag the plan file
// stores before the value and the size of the value after it.
#define SCENARIO_PLAN_TAGS(X) \
  X(empty, 0, 0)              \
  X(int16, 2, 2)              \
  X(real, 5, 8)

#define SCENARIO_PLAN_TAG_ENUM(name, tag, bytes) name = tag,
enum class plan_tag : std::uint8_t { SCENARIO_PLAN_TAGS(SCENARIO_PLAN_TAG_ENUM) };
#undef SCENARIO_PLAN_TAG_ENUM

// The tag of a stored tag number, or nothing for one no plan holds.
std::optional<plan_tag> plan_tag_of(std::uint16_t stored);

// The byte count of the value that follows tag in the plan file.
std::size_t plan_value_bytes(plan_tag tag);

class profilo_t {
 public:
  profilo_t() = default;

  // A plan for metres 0 to extent, every entry empty.
  explicit profilo_t(std::int32_t extent);

  bool exists() const { return !tags_.empty(); }
  // E, the last metre; -1 when no plan exists.
  std::int32_t extent() const { return static_cast<std::int32_t>(metres()) - 1; }
  std::size_t metres() const { return tags_.size() / 2; }

  plan_tag tag(std::size_t metre, int coord) const { return tags_[index(metre, coord)]; }
  double value(std::size_t metre, int coord) const { return values_[index(metre, coord)]; }

  void set_int16(std::size_t metre, int coord, std::int16_t v);
  void set_real(std::size_t metre, int coord, double v);

  // All entries in file order: coordinate 0 of every metre, then coordinate 1.
  const std::vector<plan_tag>& tags() const { return tags_; }
  const std::vector<double>& values() const { return values_; }

 private:
  std::size_t index(std::size_t metre, int coord) const {
    return static_cast<std::size_t>(coord) * metres() + metre;
  }

  std::vector<plan_tag> tags_;
  std::vector<double> values_;  // an int16 entry keeps its value here exactly
};

}  // namespace scenario
