#include "route/profilo.h"

namespace scenario {

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
