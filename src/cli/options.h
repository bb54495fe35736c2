// The options of the authoring commands, read from the words after the
// command word.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace scenario {

// What a command was asked to do.
struct command_options {
  std::vector<std::string> operands;        // the words that are not options, in order
  std::optional<std::string> out_folder;    // -o DIR, --output DIR
  std::optional<std::string> line_name;     // --line-name NAME
  std::optional<std::string> train_number;  // --train-number NUM
  bool no_plan = false;                     // --no-plan
  bool force = false;                       // --force
  bool no_warnings = false;                 // -w, --no-warnings
  bool help = false;                        // -h, --help
};

// The options a command accepts besides -h and --help.
enum accepted_option : unsigned {
  k_accept_out = 1u << 0,
  k_accept_names = 1u << 1,
  k_accept_no_plan = 1u << 2,
  k_accept_force = 1u << 3,
  k_accept_no_warnings = 1u << 4,
};

// The options read, or the reason the words are not a valid command line
// ("unknown option '--x'", "option '-o' needs a value"). Options and operands
// may come in any order; a value goes in the next word or after '=' (or right
// after -o); "--" makes every later word an operand; a later option replaces
// an earlier one.
struct parsed_options {
  command_options options;
  std::string error;  // empty when the words were read
};
parsed_options parse_options(arguments args, unsigned accepted);

}  // namespace scenario
