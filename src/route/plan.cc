#include "route/plan.h"

#include "common/text.h"

namespace scenario {

std::optional<double> curve_curvature(std::string_view keyword) {
  static constexpr double k_by_digit[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
  for (int digit = 1; digit <= 6; ++digit) {
    const char d[] = {static_cast<char>('0' + digit), '\0'};
    if (contains(keyword, d)) {
      const double k = k_by_digit[digit - 1];
      return contains_ignoring_case(keyword, "s") ? -k : k;
    }
  }
  return std::nullopt;
}

}  // namespace scenario
