// The one table of scenario_gen's commands: each command's name, synopsis,
// help, options and handler. Dispatch, --help, each command's own help, the
// usage errors, the suggestions for a misspelt word, the shell completion and
// the manual page are all read off it.
#pragma once

#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "common/diagnostic.h"
#include "sources/scenario_names.h"

namespace scenario {

// What the shell offers for a command's operands.
enum class operand_kind {
  files,     // file and folder names
  none,      // the command takes no operand
  commands,  // the names of the commands
};

// How many operands a command takes, and what a usage error says when the
// count is not one of them.
struct operand_rule {
  unsigned counts;           // bit n set: n operands are taken
  std::string_view missing;  // too few, or a count between two taken ones
  std::string_view surplus;  // more than the most; when empty, "unexpected
                             // argument 'X'" names the first word too many
};

// The counts of operands a command takes, as operand_rule::counts.
constexpr unsigned operand_counts(std::initializer_list<unsigned> counts) {
  unsigned bits = 0;
  for (const unsigned n : counts) bits |= 1u << n;
  return bits;
}

// What a command does before its own work, in this order, after its
// operands and options are found good: the reading steps that every
// command of two descriptions, or of a scenario's files, starts with.
enum opening_step : unsigned {
  // LINE_FILE and TRAIN_FILE read whole, once each, before anything is
  // written: a mistyped name never leaves a half-written scenario.
  k_open_read_descriptions = 1u << 0,
  // A description that --encoding cannot make Windows-1252 ends the command.
  k_open_refuse_undecodable = 1u << 1,
  // NAME and NUM from the options or from the two files' names.
  k_open_choose_names = 1u << 2,
  // The interrupted replacement in each input's folder finished before any
  // of it is read (cli/settled_inputs.h).
  k_open_settle_inputs = 1u << 3,
};

// What the opening steps gathered, for the command's own work.
struct command_start {
  std::string line_text;   // with k_open_read_descriptions
  std::string train_text;  // Windows-1252 with k_open_refuse_undecodable
  scenario_names names;    // with k_open_choose_names
};

// A command's own work, on its parsed words once its opening steps are
// done; returns the exit status.
using command_handler = int(const command_options& o, command_start& start, std::ostream& out,
                            std::ostream& err);

struct command_info {
  std::string_view name;
  std::string_view synopsis;  // the operands on the usage line, after the name
  std::string_view summary;   // one line for the list of commands
  std::string_view details;   // what it does, as lines indented by two blanks
  unsigned options;           // the accepted_option bits besides -h and --help
  std::string_view example;   // one command line, after "scenario_gen "
  command_handler* run;
  operand_kind operands;  // what the shell offers
  operand_rule takes;     // checked before anything else but -o
  unsigned opening = 0;   // the opening_step bits
  // Said when the command is given no -o; empty when -o may be left out.
  std::string_view needs_output = {};
  // Why the command cannot take its options, after its operands are
  // checked, or empty.
  std::string (*refused_options)(const command_options& o) = nullptr;
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

// The usage error of c given operands, or empty when it takes them.
std::string operand_fault(const command_info& c, std::span<const std::string> operands);

// Checks o against c's declaration, takes c's opening steps and runs c;
// returns the exit status.
int open_and_run(const command_info& c, const command_options& o, std::ostream& out,
                 std::ostream& err);

// Prints d as a diagnostic and returns the status of a command that wrote
// nothing (or status when given).
int report_failure(std::ostream& err, const diagnostic& d, int status = 2);

}  // namespace scenario
