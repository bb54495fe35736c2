// What -w, --werror and the -W options do to the diagnostics of a compile,
// and the count a terminal run ends with.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "common/diagnostic.h"

namespace scenario {

// found as the options leave it: the warnings of a group turned off (every
// warning with -w) left out, and those of a group made an error become
// errors. Every group starts on and a warning; a later option wins.
std::vector<diagnostic> apply_warning_options(std::vector<diagnostic> found,
                                              const command_options& o);

// "2 errors, 1 warning": the diagnostics counted by their level, notes not.
std::string count_line(const std::vector<diagnostic>& found);

}  // namespace scenario
