#include "model/profilo.h"

namespace scenario {

std::optional<plan_tag> plan_tag_of(std::uint16_t stored) {
  switch (stored) {
#define SCENARIO_PLAN_TAG_CASE(name, tag, bytes) \
  case tag:                                      \
    return plan_tag::name;
    SCENARIO_PLAN_TAGS(SCENARIO_PLAN_TAG_CASE)
#undef SCENARIO_PLAN_TAG_CASE
    default:
      return std::nullopt;
  }
}

std::size_t plan_value_bytes(plan_tag t) {
  switch (t) {
#define SCENARIO_PLAN_TAG_BYTES(name, tag, bytes) \
  case plan_tag::name:                            \
    return bytes;
    SCENARIO_PLAN_TAGS(SCENARIO_PLAN_TAG_BYTES)
#undef SCENARIO_PLAN_TAG_BYTES
  }
  return 0;
}

profilo_t::profilo_t(std::int32_t extent)
    : tags_(2 * (static_cast<std::size_t>(extent) + 1), plan_tag::empty),
      values_(tags_.size(), 0.0) {}

void profilo_t::set_int16(std::size_t metre, int coord, std::int16_t v) {
  tags_[index(metre, coord)] = plan_tag::int16;
  values_[index(metre, coord)] = v;
}

void profilo_t::set_real(std::size_t metre, int coord, double v) {
  tags_[index(metre, coord)] = plan_tag::real;
  values_[index(metre, coord)] = v;
}

}  // namespace scenario
