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

void seed_plan(profilo_t& plan) {
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
}

void straight_step(profilo_t& plan, std::size_t n) {
  for (int c = 0; c < 2; ++c) {
    const double d = plan.value(n - 1, c) - plan.value(n - 2, c);
    plan.set_real(n, c, plan.value(n - 1, c) + d);
  }
}

void curved_step(profilo_t& plan, std::size_t n, double k) {
  const double d0 = plan.value(n - 1, 0) - plan.value(n - 2, 0);
  const double d1 = plan.value(n - 1, 1) - plan.value(n - 2, 1);
  // Each component: one rounded product, then one rounded sum. The build
  // forbids contracting them into a fused multiply-add.
  const double product0 = k * d1;
  const double step0 = product0 + d0;
  const double product1 = d0 * k;
  const double step1 = d1 - product1;
  plan.set_real(n, 0, plan.value(n - 1, 0) + step0);
  plan.set_real(n, 1, plan.value(n - 1, 1) + step1);
}

}  // namespace scenario
