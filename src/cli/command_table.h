// The one table of scenario_gen's commands: each command's name, synopsis,
// help, options and handler. Dispatch, --help, each command's own help and
// the usage errors are all read off it.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

#include "cli/options.h"
#include "common/diagnostic.h"

namespace scenario {

struct command_info {
  std::string_view name;
  std::string_view synopsis;  // the usage line after "scenario_gen "
  std::string_view summary;   // one line for the list of commands
  std::string_view details;   // what it does, as lines indented by two blanks
  unsigned options;           // the accepted_option bits besides -h and --help
  std::string_view example;   // one command line, after "scenario_gen "
  // Runs the command on its parsed words; returns the exit status.
  int (*run)(const command_options& o, std::ostream& out, std::ostream& err);
};

// Every command, in the order help lists them.
std::span<const command_info> command_table();

// The command of that name, or nullptr.
const command_info* find_command(std::string_view name);

inline constexpr std::string_view k_version = "0.1.0";

// "scenario_gen 0.1.0" and a line end.
void print_version(std::ostream& out);

// The whole help: every command in one line, the options, the exit statuses.
void print_help(std::ostream& out);

// One command's help: its usage, what it does, its options and an example.
void print_command_help(std::ostream& out, const command_info& c);

// Prints "scenario_gen: error: message", then the usage line of c (or of
// every command when c is null) and where to find more; returns the status of
// a usage error.
int usage_error(std::ostream& err, std::string_view message, const command_info* c);

// Prints d as a diagnostic and returns the status of a command that wrote
// nothing (or status when given).
int report_failure(std::ostream& err, const diagnostic& d, int status = 2);

}  // namespace scenario
