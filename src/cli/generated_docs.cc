#include "cli/generated_docs.h"

#include <ostream>
#include <sstream>
#include <string>

#include "cli/command_table.h"

namespace scenario {
namespace {

std::string joined(const std::vector<std::string_view>& words) {
  std::string out;
  for (const std::string_view w : words) out += (out.empty() ? "" : " ") + std::string(w);
  return out;
}

// The words of the options that take a value, of every command.
std::vector<std::string_view> value_option_words() {
  std::vector<std::string_view> words;
  for (const std::string_view w : option_words(~0u))
    if (takes_value(w)) words.push_back(w);
  return words;
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
         "    "
      <<
      [] {
        std::string alternatives;
        for (const std::string_view w : value_option_words())
          alternatives += (alternatives.empty() ? "" : "|") + std::string(w);
        return alternatives;
      }()
      << ")\n"
         "      # -o takes a file or folder name; the names take free text.\n"
         "      if [[ $prev == -o || $prev == --output ]]; then\n"
         "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
         "      fi\n"
         "      return 0 ;;\n"
         "  esac\n"
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
