// The one table of scenario_gen's commands: each command's name, synopsis,
// help, options and handler. Dispatch, --help, each command's own help, the
// usage errors, the suggestions for a misspelt word, the shell completion and
// the manual page are all read off it.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "common/diagnostic.h"

namespace scenario {

// What the shell offers for a command's operands.
enum class operand_kind {
  files,     // file and folder names
  none,      // the command takes no operand
  commands,  // the names of the commands
};

struct command_info {
  std::string_view name;
  std::string_view synopsis;  // the operands on the usage line, after the name
  std::string_view summary;   // one line for the list of commands
  std::string_view details;   // what it does, as lines indented by two blanks
  unsigned options;           // the accepted_option bits besides -h and --help
  std::string_view example;   // one command line, after "scenario_gen "
  // Runs the command on its parsed words; returns the exit status.
  int (*run)(const command_options& o, std::ostream& out, std::ostream& err);
  operand_kind operands = operand_kind::files;
};

// Every command, in the order help lists them.
std::span<const command_info> command_table();

// The names of the commands, in the table's order.
std::vector<std::string_view> command_names();

// The command of that name, or nullptr.
const command_info* find_command(std::string_view name);

// The options taken with no command (the plain run), besides -h and --help.
inline constexpr unsigned k_program_options = k_accept_quiet | k_accept_version;

// "scenario_gen 0.1.0", the copyright and the licence's name.
void print_version(std::ostream& out);

// The usage line after "scenario_gen ": the name, the operands and every
// option the command takes, wrapped under its start.
std::string command_synopsis(const command_info& c);

// The whole help: the usage, every command in one line, the options, the
// exit statuses and where docs, the folder of the authors' reference, is.
void print_help(std::ostream& out, std::string_view docs);

// One command's help: its usage, what it does, its options and an example.
void print_command_help(std::ostream& out, const command_info& c);

// Prints "scenario_gen: error: message" and "Try 'scenario_gen CMD --help'
// for more information." (or 'scenario_gen --help' when c is null); returns
// the status of a usage error.
int usage_error(std::ostream& err, std::string_view message, const command_info* c);

// "unknown command 'x'", with the closest command name when there is one.
std::string unknown_command(std::string_view word);

// Prints d as a diagnostic and returns the status of a command that wrote
// nothing (or status when given).
int report_failure(std::ostream& err, const diagnostic& d, int status = 2);

}  // namespace scenario
