// The curvature of a curve record; the plan's runs and their points are in
// model/plan_runs.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// The curvature per metre named by a curve keyword: the lowest digit 1 to 6
// it holds picks 0.0001, 0.0002, 0.0004, 0.001, 0.002 or 0.003, negated when
// the keyword holds an "s" in either case. Nothing when there is no digit.
std::optional<double> curve_curvature(std::string_view keyword);

}  // namespace scenario
