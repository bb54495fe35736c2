#include "cli/options.h"

#include <algorithm>
#include <array>

#include "common/spelling.h"

namespace scenario {
namespace {

struct value_option {
  std::string_view long_name;
  unsigned flag;
  std::optional<std::string> command_options::*target;
  // The only values it takes, when given: the two that usage names, then
  // other spellings of them.
  std::array<std::string_view, 4> choices = {};
};

constexpr value_option k_value_options[] = {
    {"--output", k_accept_out, &command_options::output},
    {"--line-name", k_accept_names, &command_options::line_name},
    {"--train-number", k_accept_names, &command_options::train_number},
    {"--from", k_accept_stretch, &command_options::from_km},
    {"--to", k_accept_stretch, &command_options::to_km},
    {"--format", k_accept_format, &command_options::format, {"text", "json"}},
    {"--encoding",
     k_accept_encoding,
     &command_options::encoding,
     {"cp1252", "utf-8", "windows-1252", "utf8"}},
};

struct flag_option {
  std::string_view long_name;
  std::string_view short_name;
  unsigned flag;
  bool command_options::*target;
};

constexpr flag_option k_flag_options[] = {
    {"--no-plan", "", k_accept_no_plan, &command_options::no_plan},
    {"--force", "", k_accept_force, &command_options::force},
    {"--no-warnings", "-w", k_accept_no_warnings, &command_options::no_warnings},
    {"--json", "", k_accept_json, &command_options::json},
    {"--quiet", "-q", k_accept_quiet, &command_options::quiet},
    {"--version", "", k_accept_version, &command_options::version},
    {"--sync", "", k_accept_sync, &command_options::sync},
    {"--werror", "", k_accept_werror, &command_options::werror},
};

constexpr option_help k_option_helps[] = {
    {k_accept_out, "-o PATH, --output PATH",
     "where the output goes: a folder (created when missing), or draw's picture file"},
    {k_accept_names, "--line-name NAME",
     "the line name (required when LINE_FILE is not NAME_linea.txt)"},
    {k_accept_names, "--train-number NUM",
     "the train number (required when TRAIN_FILE is not NAME_NUM-.txt)"},
    {k_accept_no_plan, "--no-plan",
     "compile without the line plan: curve records are not read and NAME_linea.dat is not "
     "written"},
    {k_accept_force, "--force", "replace files that exist"},
    {k_accept_no_warnings, "-w, --no-warnings", "print faults only"},
    {k_accept_json, "--json", "print every field as JSON, for scripts"},
    {k_accept_quiet, "-q, --quiet", "do not show \"Attendere\" while the run works"},
    {k_accept_version, "--version", "print the version and the licence"},
    {k_accept_serve, "--serve [PORT]",
     "serve the picture and the diagnostics as a page on 127.0.0.1 (PORT: a free one when not "
     "given)"},
    {k_accept_stretch, "--from KM, --to KM",
     "draw only the stretch between these route kilometres (either may be left out)"},
    {k_accept_format, "--format text|json",
     "print the diagnostics as text on standard error (the default), or as one JSON document "
     "on standard output"},
    {k_accept_encoding, "--encoding cp1252|utf-8",
     "how the descriptions are written: Windows-1252 (the default, read as they are), or UTF-8, "
     "converted to Windows-1252 with every character that set lacks refused"},
    {k_accept_werror, "--werror", "treat every warning as an error: exit 1 and write nothing"},
    {k_accept_sync, "--sync",
     "sync each file written and its folder to the disk before ending, to keep them "
     "through a power loss"},
};

}  // namespace

std::span<const option_help> option_helps() {
  return k_option_helps;
}

std::vector<std::string_view> option_words(unsigned accepted) {
  std::vector<std::string_view> words;
  if ((accepted & k_accept_out) != 0) words.push_back("-o");
  for (const flag_option& f : k_flag_options)
    if ((accepted & f.flag) != 0 && !f.short_name.empty()) words.push_back(f.short_name);
  words.push_back("-h");
  for (const value_option& v : k_value_options)
    if ((accepted & v.flag) != 0) words.push_back(v.long_name);
  for (const flag_option& f : k_flag_options)
    if ((accepted & f.flag) != 0) words.push_back(f.long_name);
  words.push_back("--help");
  return words;
}

bool takes_value(std::string_view option_word) {
  if (option_word == "-o") return true;
  for (const value_option& v : k_value_options)
    if (option_word == v.long_name) return true;
  return false;
}

parsed_options parse_options(arguments args, unsigned accepted) {
  parsed_options r;
  command_options& o = r.options;
  bool only_operands = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view word = args[i];
    if (only_operands || word.size() < 2 || word[0] != '-') {
      o.operands.emplace_back(word);
      continue;
    }
    if (word == "--") {
      only_operands = true;
      continue;
    }
    if (word == "-h" || word == "--help") {
      o.help = true;
      continue;
    }
    // -o DIR and -oDIR are the short form of --output.
    std::string_view name = word;
    std::optional<std::string_view> inline_value;
    if (word.starts_with("-o") && (accepted & k_accept_out) != 0) {
      name = "--output";
      if (word.size() > 2) inline_value = word.substr(2);
    } else if (const auto eq = word.find('='); word.starts_with("--") && eq != word.npos) {
      name = word.substr(0, eq);
      inline_value = word.substr(eq + 1);
    }
    bool known = false;
    if (name == "--serve" && (accepted & k_accept_serve) != 0) {
      known = true;
      const auto is_number = [](std::string_view w) {
        return !w.empty() && w.find_first_not_of("0123456789") == std::string_view::npos;
      };
      if (inline_value)
        o.serve = std::string(*inline_value);
      else if (i + 1 < args.size() && is_number(args[i + 1]))
        o.serve = std::string(args[++i]);
      else
        o.serve = std::string();
    }
    for (const value_option& v : k_value_options) {
      if (name != v.long_name || (accepted & v.flag) == 0) continue;
      known = true;
      if (inline_value) {
        o.*v.target = std::string(*inline_value);
      } else if (i + 1 < args.size()) {
        o.*v.target = std::string(args[++i]);
      } else {
        r.error = "option '" + std::string(word) + "' needs a value";
        return r;
      }
      const std::string& value = *(o.*v.target);
      const auto& choices = v.choices;
      if (!choices[0].empty() &&
          std::none_of(choices.begin(), choices.end(),
                       [&](std::string_view c) { return !c.empty() && c == value; })) {
        r.error = std::string(v.long_name) + " takes '" + std::string(v.choices[0]) + "' or '" +
                  std::string(v.choices[1]) + "', not '" + value + "'";
        return r;
      }
    }
    for (const flag_option& f : k_flag_options) {
      if ((name != f.long_name && name != f.short_name) || (accepted & f.flag) == 0) continue;
      if (inline_value) {
        r.error = "option '" + std::string(name) + "' takes no value";
        return r;
      }
      known = true;
      o.*f.target = true;
    }
    if (!known) {
      r.error =
          "unknown option '" + std::string(word) + "'" + did_you_mean(name, option_words(accepted));
      return r;
    }
  }
  return r;
}

}  // namespace scenario
