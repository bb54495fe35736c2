// What scenario_gen says about its own use: the version, the help text and
// the usage lines that follow a command-line error.
#pragma once

#include <iosfwd>
#include <string_view>

namespace scenario {

inline constexpr std::string_view k_version = "0.1.0";

// "scenario_gen 0.1.0" and a line end.
void print_version(std::ostream& out);

// The whole help text: every command, its options and the exit statuses.
void print_help(std::ostream& out);

// The help of one command ("run", "export", "compile"), or the whole help
// for any other word.
void print_command_help(std::ostream& out, std::string_view command);

// Prints "scenario_gen: error: message", then the usage line of command (or
// of every command when command is empty) and where to find more, and
// returns the status of a usage error.
int usage_error(std::ostream& err, std::string_view message, std::string_view command = {});

// Prints "scenario_gen: error: why" and returns the status of a command that
// wrote no binary file.
int program_error(std::ostream& err, std::string_view why);

}  // namespace scenario
