#include "cli/options.h"

#include <algorithm>
#include <array>

#include "common/spelling.h"

namespace scenario {
namespace {

using sv = std::string_view;

constexpr sv k_format_choices[] = {"text", "json"};
// The two that help names, then other spellings of them.
constexpr sv k_encoding_choices[] = {"cp1252", "utf-8", "windows-1252", "utf8"};

constexpr option_text k_output_texts[] = {
    {"run", "DIR",
     "the folder to build the scenario in (created when missing; default: the executable's "
     "folder)"},
    {"export", "DIR",
     "the folder to write the five files into (created when missing; default: the current "
     "folder)"},
    {"compile", "DIR",
     "the folder of the binary files (created when missing; default: the current folder)"},
    {"watch", "DIR", "also write the binary files into DIR after each compile without faults"},
    {"decompile", "DIR",
     "the folder of the two descriptions (created when missing; default: the current folder)"},
    {"draw", "FILE.svg", "the picture file, or - for standard output", true},
};
constexpr option_text k_line_name_texts[] = {
    {"*", "", "the line name (required when LINE_FILE is not named NAME_linea.txt)"}};
constexpr option_text k_train_number_texts[] = {
    {"*", "",
     "the train number (required when TRAIN_FILE is not named NUM-.txt or ANYTHING_NUM-.txt; "
     "NUM is what follows NAME_ when the file name starts with the line name, else what follows "
     "its last _)"}};
constexpr option_text k_no_plan_texts[] = {
    {"*", "",
     "compile without the line plan: curve records are not read and NAME_linea.dat is not "
     "written"}};
constexpr option_text k_force_texts[] = {{"*", "", "replace files that exist"}};
constexpr option_text k_no_warnings_texts[] = {{"*", "", "print faults only, no warning"}};
constexpr option_text k_werror_texts[] = {
    {"*", "", "treat every warning as an error: exit 1 and write nothing"}};
constexpr option_text k_group_texts[] = {
    {"compile", "",
     "leave out the warnings of GROUP, show them again, make them errors (exit 1, nothing "
     "written) or warnings again; the later option wins; the groups are listed below"},
    {"*", "",
     "leave out the warnings of GROUP, show them again, make them errors or warnings again; the "
     "later option wins; the groups are listed below"},
};
constexpr option_text k_json_texts[] = {{"*", "", "print every field as JSON, for scripts"}};
constexpr option_text k_quiet_texts[] = {
    {"*", "", "do not show \"Attendere\" while the run works, nor the files written"}};
constexpr option_text k_version_texts[] = {{"*", "", "print the version and its licence"}};
constexpr option_text k_serve_texts[] = {
    {"*", "",
     "serve the picture and the diagnostics as a page on 127.0.0.1 (PORT: a free one when not "
     "given)"}};
constexpr option_text k_from_texts[] = {
    {"*", "", "draw only the route from this kilometre on (as 12.5)"}};
constexpr option_text k_to_texts[] = {{"*", "", "draw only the route up to this kilometre"}};
constexpr option_text k_format_texts[] = {
    {"*", "",
     "print the diagnostics as text on standard error (the default), or as one JSON document on "
     "standard output"}};
constexpr option_text k_encoding_texts[] = {
    {"*", "",
     "how the descriptions are written: Windows-1252 (the default, read as they are), or UTF-8, "
     "converted to Windows-1252 with every character that set lacks refused"}};
constexpr option_text k_sync_texts[] = {
    {"*", "",
     "sync each file written and its folder to the disk before ending, to keep them through a "
     "power loss"}};
constexpr option_text k_help_texts[] = {
    {k_program_context, "", "this help; with a command, that command's help"},
    {"*", "", "this help"}};

using co = command_options;

// One row an option: its bit, short and long names, how it takes a value,
// the value's name, the values it takes (and how many help offers), its
// texts, and where it goes.
// clang-format off
constexpr option_spec k_options[] = {
    {k_accept_out, "-o", "--output", value_kind::required, "PATH", {}, 0, k_output_texts, &co::output, nullptr},
    {k_accept_names, "", "--line-name", value_kind::required, "NAME", {}, 0, k_line_name_texts, &co::line_name, nullptr},
    {k_accept_names, "", "--train-number", value_kind::required, "NUM", {}, 0, k_train_number_texts, &co::train_number, nullptr},
    {k_accept_no_plan, "", "--no-plan", value_kind::none, "", {}, 0, k_no_plan_texts, nullptr, &co::no_plan},
    {k_accept_force, "", "--force", value_kind::none, "", {}, 0, k_force_texts, nullptr, &co::force},
    {k_accept_no_warnings, "-w", "--no-warnings", value_kind::none, "", {}, 0, k_no_warnings_texts, nullptr, &co::no_warnings},
    {k_accept_werror, "", "--werror", value_kind::none, "", {}, 0, k_werror_texts, nullptr, &co::werror},
    {k_accept_warning_groups, "", "-W", value_kind::group, "GROUP", {}, 0, k_group_texts, nullptr, nullptr},
    {k_accept_json, "", "--json", value_kind::none, "", {}, 0, k_json_texts, nullptr, &co::json},
    {k_accept_quiet, "-q", "--quiet", value_kind::none, "", {}, 0, k_quiet_texts, nullptr, &co::quiet},
    {k_accept_version, "", "--version", value_kind::none, "", {}, 0, k_version_texts, nullptr, &co::version},
    {k_accept_serve, "", "--serve", value_kind::optional_port, "[PORT]", {}, 0, k_serve_texts, &co::serve, nullptr},
    {k_accept_stretch, "", "--from", value_kind::required, "KM", {}, 0, k_from_texts, &co::from_km, nullptr},
    {k_accept_stretch, "", "--to", value_kind::required, "KM", {}, 0, k_to_texts, &co::to_km, nullptr},
    {k_accept_format, "", "--format", value_kind::required, "", k_format_choices, 2, k_format_texts, &co::format, nullptr},
    {k_accept_encoding, "", "--encoding", value_kind::required, "", k_encoding_choices, 2, k_encoding_texts, &co::encoding, nullptr},
    {k_accept_sync, "", "--sync", value_kind::none, "", {}, 0, k_sync_texts, nullptr, &co::sync},
    {k_accept_help, "-h", "--help", value_kind::none, "", {}, 0, k_help_texts, nullptr, &co::help},
};
// clang-format on

// The prefixes of -W, in the order help names them.
struct group_prefix {
  sv prefix;
  group_action action;
};
constexpr group_prefix k_group_prefixes[] = {
    {"-Wno-error=", group_action::no_error},
    {"-Werror=", group_action::error},
    {"-Wno-", group_action::off},
    {"-W", group_action::on},
};

std::vector<sv> group_names() {
  std::vector<sv> names;
#define SCENARIO_GROUP_NAME(id, name, what) names.push_back(name);
  SCENARIO_WARNING_GROUPS(SCENARIO_GROUP_NAME)
#undef SCENARIO_GROUP_NAME
  return names;
}

// The value's name as o shows it: its own, or the usual choices.
std::string value_name(const option_spec& o, std::string_view command) {
  const option_text& t = text_for(o, command);
  if (!t.value.empty()) return std::string(t.value);
  if (o.usual_choices > 0) {
    std::string out;
    for (std::size_t i = 0; i < o.usual_choices; ++i)
      out += (i == 0 ? "" : "|") + std::string(o.choices[i]);
    return out;
  }
  return std::string(o.value);
}

bool accepts(unsigned accepted, const option_spec& o) {
  return o.flag == k_accept_help || (accepted & o.flag) != 0;
}

// The word after an unknown option's "; did you mean": a close spelling; a
// long option the word begins ("--out" for --output); or, for a lone
// letter, the one long option it starts ("-v" for --version).
std::string suggestion(std::string_view name, unsigned accepted) {
  const std::vector<std::string> words = option_words(accepted);
  const std::vector<sv> views(words.begin(), words.end());
  if (const auto close = closest_word(name, views))
    return "; did you mean '" + std::string(*close) + "'?";
  std::vector<sv> found;
  const bool lone_letter = name.size() == 2 && name[0] == '-' && name[1] != '-';
  for (const option_spec& o : k_options) {
    if (!accepts(accepted, o) || !o.long_name.starts_with("--")) continue;
    if ((name.size() > 3 && name.starts_with("--") && o.long_name.starts_with(name)) ||
        (lone_letter && o.long_name.size() > 2 && o.long_name[2] == name[1]))
      found.push_back(o.long_name);
  }
  return found.size() == 1 ? "; did you mean '" + std::string(found[0]) + "'?" : std::string();
}

// -W...: the group setting, or why the word names none.
std::string read_group(std::string_view word, command_options& o) {
  for (const group_prefix& p : k_group_prefixes) {
    if (!word.starts_with(p.prefix)) continue;
    const std::string_view name = word.substr(p.prefix.size());
    if (const std::optional<warning_group> g = warning_group_named(name)) {
      o.warnings.push_back({*g, p.action});
      return {};
    }
    if (p.action == group_action::on && name == "error")
      return "'-Werror' needs a group, as in -Werror=" + std::string(group_names().front()) +
             "; --werror, where a command takes it, makes every warning an error";
    // "-Wno-unit" is taken as the group "unit" turned off, not "no-unit".
    const std::vector<sv> names = group_names();
    const auto close = closest_word(name, names);
    return "unknown warning group '" + std::string(name) + "' in '" + std::string(word) + "'" +
           (close ? "; did you mean '" + std::string(p.prefix) + std::string(*close) + "'?"
                  : "; the groups are listed in 'scenario_gen help check'");
  }
  return {};
}

// An option word as its name and the value written into it: -o DIR and
// -oDIR; --name VALUE and --name=VALUE.
struct option_word {
  std::string_view name;
  std::optional<std::string_view> inline_value;
};
option_word split_option(std::string_view word) {
  if (!word.starts_with("--") && word.size() > 2) return {word.substr(0, 2), word.substr(2)};
  if (const auto eq = word.find('='); word.starts_with("--") && eq != word.npos)
    return {word.substr(0, eq), word.substr(eq + 1)};
  return {word, std::nullopt};
}

// The accepted option of that name (the table's last of it), or nullptr.
const option_spec* option_named(std::string_view name, unsigned accepted) {
  const option_spec* found = nullptr;
  for (const option_spec& spec : k_options)
    if (accepts(accepted, spec) && spec.kind != value_kind::group &&
        (name == spec.long_name || (!spec.short_name.empty() && name == spec.short_name)))
      found = &spec;
  return found;
}

// The value of a required-value option, written in its word or the next
// one (i then moves past it), checked against its choices; why not, or
// empty.
std::string read_required(const option_spec& spec, const option_word& w, std::string_view word,
                          arguments args, std::size_t& i, command_options& o) {
  if (w.inline_value)
    o.*spec.value_target = std::string(*w.inline_value);
  else if (i + 1 < args.size())
    o.*spec.value_target = std::string(args[++i]);
  else
    return "option '" + std::string(word) + "' needs a value";
  const std::string& value = *(o.*spec.value_target);
  if (!spec.choices.empty() &&
      std::find(spec.choices.begin(), spec.choices.end(), value) == spec.choices.end())
    return std::string(spec.long_name) + " takes '" + std::string(spec.choices[0]) + "' or '" +
           std::string(spec.choices[1]) + "', not '" + value + "'";
  return {};
}

// The option args[i] (and its value, i then moved past it) into o; why it
// cannot be taken, or empty.
std::string read_option(arguments args, std::size_t& i, unsigned accepted, command_options& o) {
  const std::string_view word = args[i];
  const option_word w = split_option(word);
  const option_spec* spec = option_named(w.name, accepted);
  // A short option with letters after it that takes no value: "-json".
  if (spec == nullptr ||
      (spec->kind == value_kind::none && w.inline_value && !word.starts_with("--")))
    return "unknown option '" + std::string(word) + "'" +
           suggestion(word.starts_with("--") ? w.name : word, accepted);
  switch (spec->kind) {
    case value_kind::none:
      if (w.inline_value) return "option '" + std::string(w.name) + "' takes no value";
      o.*spec->flag_target = true;
      return {};
    case value_kind::optional_port: {
      const auto is_number = [](std::string_view v) {
        return !v.empty() && v.find_first_not_of("0123456789") == std::string_view::npos;
      };
      if (w.inline_value)
        o.*spec->value_target = std::string(*w.inline_value);
      else if (i + 1 < args.size() && is_number(args[i + 1]))
        o.*spec->value_target = std::string(args[++i]);
      else
        o.*spec->value_target = std::string();
      return {};
    }
    case value_kind::required:
      return read_required(*spec, w, word, args, i, o);
    case value_kind::group:
      break;
  }
  return {};
}

}  // namespace

std::span<const option_spec> option_table() {
  return k_options;
}

const option_text& text_for(const option_spec& o, std::string_view command) {
  for (const option_text& t : o.texts)
    if (t.command == command) return t;
  for (const option_text& t : o.texts)
    if (t.command == "*") return t;
  return o.texts.front();
}

std::string help_words(const option_spec& o, std::string_view command) {
  if (o.kind == value_kind::group) return "-W[no-]GROUP, -W[no-]error=GROUP";
  std::string value = value_name(o, command);
  if (!value.empty()) value.insert(0, " ");
  std::string out;
  if (!o.short_name.empty()) out = std::string(o.short_name) + value + ", ";
  return out + std::string(o.long_name) + value;
}

std::string usage_words(const option_spec& o, std::string_view command) {
  if (o.kind == value_kind::group) return "[-W[no-]GROUP] [-W[no-]error=GROUP]";
  std::string value = value_name(o, command);
  if (!value.empty()) value.insert(0, " ");
  const std::string words = std::string(o.short_name.empty() ? o.long_name : o.short_name) + value;
  return text_for(o, command).required ? words : "[" + words + "]";
}

std::vector<std::string_view> completed_values(const option_spec& o) {
  return {o.choices.begin(), o.choices.begin() + static_cast<std::ptrdiff_t>(o.usual_choices)};
}

std::vector<std::string> option_words(unsigned accepted) {
  std::vector<std::string> words;
  for (const option_spec& o : k_options)
    if (accepts(accepted, o) && !o.short_name.empty()) words.emplace_back(o.short_name);
  for (const option_spec& o : k_options) {
    if (!accepts(accepted, o)) continue;
    if (o.kind != value_kind::group) {
      words.emplace_back(o.long_name);
      continue;
    }
    for (const sv name : group_names())
      for (const group_prefix& p : k_group_prefixes)
        words.push_back(std::string(p.prefix) + std::string(name));
  }
  return words;
}

parsed_options parse_options(arguments args, unsigned accepted) {
  parsed_options r;
  command_options& o = r.options;
  bool only_operands = false;
  for (std::size_t i = 0; i < args.size() && r.error.empty(); ++i) {
    const std::string_view word = args[i];
    if (only_operands || word.size() < 2 || word[0] != '-')
      o.operands.emplace_back(word);
    else if (word == "--")
      only_operands = true;
    else if (word.starts_with("-W") && (accepted & k_accept_warning_groups) != 0)
      r.error = read_group(word, o);
    else
      r.error = read_option(args, i, accepted, o);
  }
  return r;
}

}  // namespace scenario
