// What -w, --werror and the -W options do to the diagnostics of a compile,
// and the count a terminal run ends with.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "common/diagnostic.h"

namespace scenario {

// found as the options leave it: the warnings of a group turned off (every
// warning with -w) left out, and those made an error (every warning with
// --werror, unless -Wno-error=GROUP; a group's with -Werror=GROUP) become
// errors marked from_warning. Every group starts on and a warning; a later
// option wins.
std::vector<diagnostic> apply_warning_options(std::vector<diagnostic> found,
                                              const command_options& o);

// The options, as given, that made warnings of found errors: "--werror",
// "-Werror=units, -Werror=order"; empty when none did.
std::string werror_options(const std::vector<diagnostic>& found, const command_options& o);

// "2 errors, 1 warning": the diagnostics counted by their level, notes not.
std::string count_line(const std::vector<diagnostic>& found);

}  // namespace scenario
