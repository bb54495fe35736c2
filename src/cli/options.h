// The options of the authoring commands, read from the words after the
// command word.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The words of a command line after the command word.
using arguments = std::span<const std::string_view>;

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
};

// One option as help shows it: its words and what it does.
struct option_help {
  unsigned flag;
  std::string_view words;  // "-o DIR, --output DIR"
  std::string_view what;
};

// The help line of every option, in the order help lists them.
std::span<const option_help> option_helps();

// Every spelling of the options in accepted and of -h and --help, short
// ones first.
std::vector<std::string_view> option_words(unsigned accepted);

// True for the spellings of options that take a value (-o, --line-name...).
bool takes_value(std::string_view option_word);

// The options read, or the reason the words are not a valid command line
// ("unknown option '--jsn'; did you mean '--json'?", "option '-o' needs a
// value"). Options and operands
// may come in any order; a value goes in the next word or after '=' (or right
// after -o); "--" makes every later word an operand; a later option replaces
// an earlier one.
struct parsed_options {
  command_options options;
  std::string error;  // empty when the words were read
};
parsed_options parse_options(arguments args, unsigned accepted);

}  // namespace scenario
