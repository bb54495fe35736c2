#include "cli/generated_docs.h"

#include <ostream>
#include <sstream>
#include <string>

#include "cli/command_table.h"

namespace scenario {
namespace {

template <typename Words>
std::string joined(const Words& words, std::string_view between = " ") {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : std::string(between)) + std::string(w);
  return out;
}

// The case arms after an option that takes a value in the next word: a
// file name after -o, one of the values of an option that has a few, and
// nothing (free text) after the others.
std::string value_arms() {
  std::vector<std::string> files, free_text;
  std::string arms;
  for (const option_spec& o : option_table()) {
    if (o.kind != value_kind::required) continue;
    std::vector<std::string> words{std::string(o.long_name)};
    if (!o.short_name.empty()) words.insert(words.begin(), std::string(o.short_name));
    if (o.value_target == &command_options::output)
      files.insert(files.end(), words.begin(), words.end());
    else if (o.usual_choices == 0)
      free_text.insert(free_text.end(), words.begin(), words.end());
    else
      arms += "    " + joined(words, "|") +
              ")\n"
              "      mapfile -t COMPREPLY < <(compgen -W '" +
              joined(completed_values(o)) +
              "' -- \"$cur\")\n"
              "      return 0 ;;\n";
  }
  return "    " + joined(files, "|") +
         ")\n"
         "      mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
         "      return 0 ;;\n" +
         arms + "    " + joined(free_text, "|") + ")\n      return 0 ;;\n";
}

// text as roff shows it: backslashes doubled, a leading dot or quote kept
// from reading as a request.
std::string roff(std::string_view text) {
  std::string out;
  bool line_start = true;
  for (const char c : text) {
    if (line_start && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') out += '\\';
    if (c == '-') out += '\\';
    out += c;
    line_start = c == '\n';
  }
  return out;
}

}  // namespace

void write_bash_completion(std::ostream& out) {
  out << "# bash completion for scenario_gen, generated from its command table.\n"
         "_scenario_gen() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local commands='"
      << joined(command_names())
      << "'\n"
         "  COMPREPLY=()\n"
         "  if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
         "    if [[ $cur == -* ]]; then\n"
         "      mapfile -t COMPREPLY < <(compgen -W '"
      << joined(option_words(k_program_options))
      << "' -- \"$cur\")\n"
         "    else\n"
         "      mapfile -t COMPREPLY < <(compgen -W \"$commands\" -- \"$cur\")\n"
         "    fi\n"
         "    return 0\n"
         "  fi\n"
         "  local options operands\n"
         "  case ${COMP_WORDS[1]} in\n";
  for (const command_info& c : command_table()) {
    const char* operands = c.operands == operand_kind::files      ? "files"
                           : c.operands == operand_kind::commands ? "commands"
                                                                  : "none";
    out << "    " << c.name << ") options='" << joined(option_words(c.options))
        << "' operands=" << operands << " ;;\n";
  }
  out << "    *) return 0 ;;\n"
         "  esac\n"
         "  case $prev in\n"
      << value_arms()
      << "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    mapfile -t COMPREPLY < <(compgen -W \"$options\" -- \"$cur\")\n"
         "  elif [ \"$operands\" = files ]; then\n"
         "    mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
         "  elif [ \"$operands\" = commands ] && [ \"$COMP_CWORD\" -eq 2 ]; then\n"
         "    mapfile -t COMPREPLY < <(compgen -W \"$commands\" -- \"$cur\")\n"
         "  fi\n"
         "  return 0\n"
         "}\n"
         "complete -o filenames -F _scenario_gen scenario_gen\n";
}

void write_man_sections(std::ostream& out) {
  out << "[COMMANDS]\n";
  for (const command_info& c : command_table()) {
    std::ostringstream help;
    print_command_help(help, c);
    out << ".SS " << c.name << "\n.nf\n" << roff(help.str()) << ".fi\n";
  }
}

}  // namespace scenario
