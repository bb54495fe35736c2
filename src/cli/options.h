// The options of scenario_gen, each described once: its spellings, its
// value, the commands that take it, its help in each, and the words the
// shell completes after it. Parsing, every usage line and help, the manual
// page, the bash completion and the suggestions for a misspelt option are
// all read off this one table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/warning_groups.h"

namespace scenario {

// The words of a command line after the command word.
using arguments = std::span<const std::string_view>;

// What -Wno-GROUP, -WGROUP, -Werror=GROUP and -Wno-error=GROUP ask of a group.
enum class group_action { off, on, error, no_error };
struct warning_setting {
  warning_group group;
  group_action action;
  friend bool operator==(const warning_setting&, const warning_setting&) = default;
};

// What a command was asked to do.
struct command_options {
  std::vector<std::string> operands;        // the words that are not options, in order
  std::optional<std::string> output;        // -o PATH, --output PATH
  std::optional<std::string> line_name;     // --line-name NAME
  std::optional<std::string> train_number;  // --train-number NUM
  std::optional<std::string> from_km;       // --from KM
  std::optional<std::string> to_km;         // --to KM
  std::optional<std::string> serve;         // --serve [PORT]: empty when no port follows
  std::optional<std::string> format;        // --format text|json
  std::optional<std::string> encoding;      // --encoding cp1252|utf-8
  std::vector<warning_setting> warnings;    // -W... in the order given
  bool no_plan = false;                     // --no-plan
  bool force = false;                       // --force
  bool no_warnings = false;                 // -w, --no-warnings
  bool json = false;                        // --json
  bool quiet = false;                       // -q, --quiet
  bool version = false;                     // --version
  bool sync = false;                        // --sync
  bool werror = false;                      // --werror
  bool help = false;                        // -h, --help
};

// The options a command accepts besides -h and --help.
enum accepted_option : unsigned {
  k_accept_out = 1u << 0,
  k_accept_names = 1u << 1,
  k_accept_no_plan = 1u << 2,
  k_accept_force = 1u << 3,
  k_accept_no_warnings = 1u << 4,
  k_accept_json = 1u << 5,
  k_accept_quiet = 1u << 10,
  k_accept_version = 1u << 11,
  k_accept_stretch = 1u << 12,
  k_accept_serve = 1u << 13,
  k_accept_sync = 1u << 14,
  k_accept_format = 1u << 15,
  k_accept_encoding = 1u << 16,
  k_accept_werror = 1u << 17,
  k_accept_warning_groups = 1u << 18,
  k_accept_help = 1u << 31,  // every command's -h and --help
};

// How an option takes its value.
enum class value_kind {
  none,           // a flag
  required,       // the next word, or after '=' (or right after a short name)
  optional_port,  // --serve: a number in the next word, or after '='
  group,          // -W: the group in the same word
};

// What an option says in one command's help.
struct option_text {
  std::string_view command;  // the command it is for; "*" for every other one
  std::string_view value;    // the value's name there; empty: the option's own
  std::string_view what;     // the help line
  bool required = false;     // the usage line shows it without brackets
};

struct option_spec {
  unsigned flag;                // the accepted_option bit
  std::string_view short_name;  // "-o", or empty
  std::string_view long_name;   // "--output"
  value_kind kind;
  std::string_view value;                     // the value's name: "DIR", "[PORT]"
  std::span<const std::string_view> choices;  // the values it takes: the usual ones first
  std::size_t usual_choices;                  // how many of them help and completion offer
  std::span<const option_text> texts;         // its help, per command
  std::optional<std::string> command_options::*value_target;
  bool command_options::*flag_target;
};

// Every option, in the order help and usage lines list them; -h, --help last.
std::span<const option_spec> option_table();

// The name the program's own options (those before any command) go by.
inline constexpr std::string_view k_program_context = "scenario_gen";

// What o says in the help of command (or of the program, k_program_context).
const option_text& text_for(const option_spec& o, std::string_view command);

// "-o DIR, --output DIR" as command's help shows o.
std::string help_words(const option_spec& o, std::string_view command);

// "[-o DIR]" (or "-o FILE.svg" when required) as command's usage line shows o.
std::string usage_words(const option_spec& o, std::string_view command);

// The values the shell offers after o: the usual choices, or nothing.
std::vector<std::string_view> completed_values(const option_spec& o);

// Every spelling of the options in accepted and of -h and --help, short
// ones first; for -W, each group with each of its prefixes.
std::vector<std::string> option_words(unsigned accepted);

// The options read, or the reason the words are not a valid command line
// ("unknown option '--jsn'; did you mean '--json'?", "option '-o' needs a
// value"). Options and operands may come in any order; a value goes in the
// next word or after '=' (or right after -o); "--" makes every later word an
// operand; a later option replaces an earlier one.
struct parsed_options {
  command_options options;
  std::string error;  // empty when the words were read
};
parsed_options parse_options(arguments args, unsigned accepted);

}  // namespace scenario
