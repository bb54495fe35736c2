// Whether the program's own output goes to a person.
#pragma once

namespace scenario {

// True when standard error is a terminal and NO_COLOR is not set: the only
// case in which diagnostics are coloured.
bool colour_on_stderr();

// True when standard error is a terminal: a person reads it, not a pipe or
// a log.
bool stderr_is_terminal();

// True when standard input is a terminal: a person types it, not a program.
bool stdin_is_terminal();

}  // namespace scenario
