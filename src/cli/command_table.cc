#include "cli/command_table.h"

#include <ostream>

#include "cli/commands.h"

namespace scenario {
namespace {

constexpr command_info k_commands[] = {
    {"run", "run [-o DIR] [--force]", "build the shipped scenario in a folder of your choice",
     "  Builds the shipped scenario as the plain run does, in DIR instead of the\n"
     "  executable's folder (created when missing). Refuses to start when DIR\n"
     "  already holds one of the two descriptions the run writes and then deletes,\n"
     "  unless --force is given.\n",
     k_accept_out | k_accept_force, "run -o scenario", run_command},
    {"export", "export [-o DIR] [--force]",
     "write the shipped scenario's five text files, to start your own from",
     "  Writes the shipped scenario's five text files into DIR (default: the\n"
     "  current folder, created when missing) and keeps them: the line and train\n"
     "  descriptions to start from, and the three driver documents. Refuses to\n"
     "  replace a file that exists unless --force is given.\n",
     k_accept_out | k_accept_force, "export -o mine", export_command},
    {"compile",
     "compile LINE_FILE TRAIN_FILE [-o DIR] [--line-name NAME]\n"
     "                     [--train-number NUM] [--no-plan] [-w]",
     "compile a line and a train description into the three binary files",
     "  Compiles a line description and a train description into NAME_linea.dat,\n"
     "  NAME_NUM.sim and NAME_NUM.dat in DIR (default: the current folder, created\n"
     "  when missing). NAME and NUM come from file names of the form\n"
     "  NAME_linea.txt and NAME_NUM-.txt unless given. The input files are never\n"
     "  changed.\n",
     k_accept_out | k_accept_names | k_accept_no_plan | k_accept_no_warnings,
     "compile docs/examples/Valle_linea.txt docs/examples/Valle_12-.txt -o out", compile_command},
    {"dump", "dump FILE [--json]", "print one binary file of a scenario as tables or JSON",
     "  Decodes a route grid (NAME_NUM.dat), a station table (NAME_NUM.sim) or a\n"
     "  line plan (NAME_linea.dat) and prints it as aligned tables, or with --json\n"
     "  every field. The name tells the kind; a file with another name is taken as\n"
     "  the first kind its bytes fit.\n",
     k_accept_json, "dump build/Corvale_Pianasco_4816.dat", dump_command},
    {"draw", "draw DIR | GRID.dat STATIONS.sim PLAN_linea.dat -o FILE.svg",
     "draw the plan, profile and lineside objects of a scenario as SVG",
     "  Draws one SVG picture of the scenario in DIR, or of the three files named:\n"
     "  the plan of the line, the elevation, the speed limit and lanes for the\n"
     "  stations, signals, boards, slowdown and code points. -o - writes the\n"
     "  picture to standard output.\n",
     k_accept_out, "draw build -o route.svg", draw_command},
};

void print_synopsis(std::ostream& out, std::string_view first_prefix) {
  out << first_prefix << "scenario_gen\n";
  for (const command_info& c : k_commands) out << "       scenario_gen " << c.synopsis << '\n';
  out << "       scenario_gen --help | --version\n";
}

void print_options(std::ostream& out, unsigned accepted) {
  for (const option_help& o : option_helps()) {
    if ((o.flag & accepted) == 0) continue;
    std::string line = "    " + std::string(o.words);
    line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
    out << line << o.what << '\n';
  }
}

}  // namespace

std::span<const command_info> command_table() {
  return k_commands;
}

const command_info* find_command(std::string_view name) {
  for (const command_info& c : k_commands)
    if (c.name == name) return &c;
  return nullptr;
}

void print_version(std::ostream& out) {
  out << "scenario_gen " << k_version << '\n';
}

void print_help(std::ostream& out) {
  print_synopsis(out, "usage: ");
  out << "\n"
         "With no command, builds the shipped scenario (line Corvale_Pianasco, train\n"
         "4816) in the executable's folder.\n\n"
         "Commands:\n";
  for (const command_info& c : k_commands) {
    std::string name = "  " + std::string(c.name);
    name.resize(12, ' ');
    out << name << c.summary << '\n';
  }
  out << "\n";
  for (const command_info& c : k_commands) {
    out << "scenario_gen " << c.synopsis << '\n' << c.details;
    print_options(out, c.options);
    out << '\n';
  }
  out << "Options:\n"
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

void print_command_help(std::ostream& out, const command_info& c) {
  out << "usage: scenario_gen " << c.synopsis << "\n\n" << c.details;
  if (c.options != 0) {
    out << "\n  Options:\n";
    print_options(out, c.options);
  }
  out << "\n  Example:\n    scenario_gen " << c.example << '\n';
}

int usage_error(std::ostream& err, std::string_view message, const command_info* c) {
  err << "scenario_gen: error: " << message << '\n';
  if (c != nullptr)
    err << "usage: scenario_gen " << c->synopsis << '\n';
  else
    print_synopsis(err, "usage: ");
  err << "Try 'scenario_gen --help' for more information.\n";
  return k_status_failed;
}

int report_failure(std::ostream& err, const diagnostic& d, int status) {
  err << format_diagnostic(d);
  return status;
}

}  // namespace scenario
