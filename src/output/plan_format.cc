#include "output/plan_format.h"

#include "output/byte_order.h"

namespace scenario {

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

}  // namespace scenario
