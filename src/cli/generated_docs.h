// Files made from the command table at build time: the bash completion
// and the sections the manual page adds to the general help.
#pragma once

#include <iosfwd>

namespace scenario {

// A bash script that completes scenario_gen's commands, each command's
// options, the values of -o (file and folder names) and operands (file
// names, or command names after help), registered with `complete`.
void write_bash_completion(std::ostream& out);

// A help2man include file: a COMMANDS section with every command's help.
void write_man_sections(std::ostream& out);

}  // namespace scenario
