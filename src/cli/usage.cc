#include "cli/usage.h"

#include <ostream>

#include "cli/commands.h"

namespace scenario {
namespace {

struct command_help {
  std::string_view name;
  std::string_view synopsis;
  std::string_view details;
};

constexpr command_help k_commands[] = {
    {"run", "scenario_gen run [-o DIR] [--force]",
     "  Builds the shipped scenario as the plain run does, in DIR instead of the\n"
     "  executable's folder (created when missing). Refuses to start when DIR\n"
     "  already holds one of the two descriptions the run writes and then deletes,\n"
     "  unless --force is given.\n"},
    {"export", "scenario_gen export [-o DIR] [--force]",
     "  Writes the shipped scenario's five text files into DIR (default: the\n"
     "  current folder, created when missing) and keeps them: the line and train\n"
     "  descriptions to start from, and the three driver documents. Refuses to\n"
     "  replace a file that exists unless --force is given.\n"},
    {"compile",
     "scenario_gen compile LINE_FILE TRAIN_FILE [-o DIR] [--line-name NAME]\n"
     "                     [--train-number NUM] [--no-plan] [-w]",
     "  Compiles a line description and a train description into NAME_linea.dat,\n"
     "  NAME_NUM.sim and NAME_NUM.dat in DIR (default: the current folder, created\n"
     "  when missing). NAME and NUM come from file names of the form\n"
     "  NAME_linea.txt and NAME_NUM-.txt unless given. The input files are never\n"
     "  changed.\n"
     "    --line-name NAME     the line name (required when LINE_FILE is not NAME_linea.txt)\n"
     "    --train-number NUM   the train number (required when TRAIN_FILE is not NAME_NUM-.txt)\n"
     "    --no-plan            compile without the line plan: curve records are not\n"
     "                         read and NAME_linea.dat is not written\n"
     "    -w, --no-warnings    print faults only\n"},
};

const command_help* find_command(std::string_view name) {
  for (const command_help& c : k_commands)
    if (c.name == name) return &c;
  return nullptr;
}

void print_synopsis(std::ostream& out, std::string_view first_prefix) {
  out << first_prefix << "scenario_gen\n";
  for (const command_help& c : k_commands) out << "       " << c.synopsis << '\n';
  out << "       scenario_gen --help | --version\n";
}

}  // namespace

void print_version(std::ostream& out) {
  out << "scenario_gen " << k_version << '\n';
}

void print_help(std::ostream& out) {
  print_synopsis(out, "usage: ");
  out << "\n"
         "With no command, builds the shipped scenario (line Corvale_Pianasco, train\n"
         "4816) in the executable's folder.\n\n";
  for (const command_help& c : k_commands) out << c.synopsis << '\n' << c.details << '\n';
  out << "Options:\n"
         "  -o DIR, --output DIR   the folder the files go into\n"
         "  -h, --help             this help; after a command, that command's help\n"
         "  --version              the version\n\n"
         "Compile faults are printed on stderr as FILE:LINE: error: WHAT (code N, at P m),\n"
         "warnings as FILE:LINE: warning: WHAT.\n\n"
         "Exit status: 0 when no fault is pending; 1 when a compile fault is pending\n"
         "(the binary files are still written); 2 when no binary file was written\n"
         "(a usage error, an input that cannot be read, message 1250 or 1251, no\n"
         "route grid).\n\n"
         "The description formats and every fault code: docs/authoring.md.\n";
}

void print_command_help(std::ostream& out, std::string_view command) {
  const command_help* c = find_command(command);
  if (c == nullptr) {
    print_help(out);
    return;
  }
  out << "usage: " << c->synopsis << "\n\n" << c->details;
}

int usage_error(std::ostream& err, std::string_view message, std::string_view command) {
  err << "scenario_gen: error: " << message << '\n';
  if (const command_help* c = find_command(command))
    err << "usage: " << c->synopsis << '\n';
  else
    print_synopsis(err, "usage: ");
  err << "Try 'scenario_gen --help' for more information.\n";
  return k_status_failed;
}

int program_error(std::ostream& err, std::string_view why) {
  err << "scenario_gen: error: " << why << '\n';
  return k_status_failed;
}

}  // namespace scenario
