#include <cmath>

#include "output/plan_format.h"

namespace scenario {

decoded<profilo_t> decode_plan(std::string_view bytes) {
  if (bytes.empty()) return decode_error{0, "empty file"};

  // The file carries no count: walk the entries once to find it.
  std::size_t entries = 0;
  for (byte_reader in(bytes); in.remaining() > 0; ++entries) {
    const std::size_t at = in.offset();
    if (entries == 2 * k_plan_max_metres)
      return decode_error{at, "more than " + std::to_string(2 * k_plan_max_metres) + " entries"};
    const std::uint16_t stored = in.u16("tag");
    const std::optional<plan_tag> tag = plan_tag_of(stored);
    if (in.ok() && !tag)
      return decode_error{
          at, "unknown tag " + std::to_string(stored) + " in entry " + std::to_string(entries)};
    in.skip(tag ? plan_value_bytes(*tag) : 0, "value");
    if (!in.ok())
      return decode_error{in.error().offset,
                          "truncated entry " + std::to_string(entries) + ": " + in.error().reason};
  }
  if (entries % 2 != 0)
    return decode_error{bytes.size(), "odd entry count " + std::to_string(entries)};

  const std::size_t metres = entries / 2;
  profilo_t plan(static_cast<std::int32_t>(metres) - 1);
  byte_reader in(bytes);
  for (int coord = 0; coord < 2; ++coord) {
    for (std::size_t m = 0; m < metres; ++m) {
      const std::size_t at = in.offset();
      const std::uint16_t tag = in.u16("tag");
      const auto first = static_cast<std::uint16_t>(plan.tag(m, 0));
      if (coord == 1 && tag != first)
        return decode_error{at, "metre " + std::to_string(m) + ": tag " + std::to_string(tag) +
                                    " in coordinate 1, " + std::to_string(first) +
                                    " in coordinate 0"};
      if (tag == static_cast<std::uint16_t>(plan_tag::int16)) {
        plan.set_int16(m, coord, in.i16("value"));
      } else if (tag == static_cast<std::uint16_t>(plan_tag::real)) {
        const double v = in.f64("value");
        if (!std::isfinite(v))
          return decode_error{at + 2, "metre " + std::to_string(m) + ": coordinate " +
                                          std::to_string(coord) + " is not a finite number"};
        if (std::abs(v) > k_plan_max_coordinate)
          return decode_error{at + 2, "metre " + std::to_string(m) + ": coordinate " +
                                          std::to_string(coord) + " lies beyond " +
                                          std::to_string(static_cast<int>(k_plan_max_coordinate)) +
                                          " m, where no plan reaches"};
        plan.set_real(m, coord, v);
      }
    }
  }
  // The first walk proved every read fits; a short read here would be a fault of this file.
  if (!in.ok()) return in.error();
  return plan;
}

}  // namespace scenario
