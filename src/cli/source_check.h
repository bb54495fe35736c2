// Warnings about an author's descriptions: records that compile, but not as
// their author probably meant. The checks read the text with the same field
// rules and in the same order as the compilers, and only look: the compile
// that follows is not affected by anything found here.
#pragma once

#include <string_view>
#include <vector>

#include "run/diagnostics.h"

namespace scenario {

struct line_check {
  std::vector<source_warning> warnings;  // in line order
  // The line of a kilometric reference whose position or value is not a
  // multiple of 50 m (the cause of code 2, found only after reading), or 0.
  int misplaced_reference_line = 0;
};

// Reads a line description as the line compiler does (with_plan: curve
// records are read). Reading ends where the compiler's would fail.
line_check check_line_description(std::string_view text, bool with_plan);

// Reads a train description as the train compiler does.
std::vector<source_warning> check_train_description(std::string_view text);

}  // namespace scenario
