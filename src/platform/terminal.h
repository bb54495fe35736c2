// Whether the program's own output goes to a person.
#pragma once

namespace scenario {

// True when standard error is a terminal and NO_COLOR is not set: the only
// case in which diagnostics are coloured.
bool colour_on_stderr();

}  // namespace scenario
