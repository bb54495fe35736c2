#include "cli/command_table.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "cli/build_info.h"
#include "cli/commands.h"
#include "common/spelling.h"
#include "platform/files.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

// The operands of the commands that take none, and the usage errors said
// for any other count by the commands that take two or one-or-three.
constexpr operand_rule k_no_operand{operand_counts({0}), {}, {}};
constexpr std::string_view k_watch_operands =
    "watch needs a line description and a train description";
constexpr std::string_view k_decompile_operands =
    "decompile needs a folder or the three files of a scenario";
constexpr std::string_view k_draw_operands = "draw needs a folder or the three files of a scenario";

constexpr command_info k_commands[] = {
    {"run", "", "build the shipped scenario in a folder of your choice",
     "  Builds the shipped scenario as the plain run does, in DIR instead of the\n"
     "  executable's folder (created when missing). Refuses to start when DIR\n"
     "  holds a file other than the run's own under the name of one of the two\n"
     "  descriptions the run writes and then deletes, unless --force is given.\n",
     k_accept_out | k_accept_force | k_accept_quiet | k_accept_sync, "run -o scenario", run_command,
     operand_kind::none, k_no_operand},
    {"export", "", "write the shipped scenario's five text files, to start your own from",
     "  Writes the shipped scenario's five text files into DIR (default: the\n"
     "  current folder, created when missing) and keeps them: the line and train\n"
     "  descriptions to start from, and the three driver documents. Refuses to\n"
     "  replace a file that exists unless --force is given.\n",
     k_accept_out | k_accept_force | k_accept_sync, "export -o mine", export_command,
     operand_kind::none, k_no_operand},
    {"compile",
     "LINE_FILE TRAIN_FILE",
     "compile a line and a train description into the three binary files",
     "  Compiles a line description and a train description into NAME_linea.dat,\n"
     "  NAME_NUM.sim and NAME_NUM.dat in DIR (default: the current folder, created\n"
     "  when missing). Unless given, NAME comes from a line file named\n"
     "  NAME_linea.txt, and NUM from a train file named NUM-.txt or\n"
     "  ANYTHING_NUM-.txt. The names are stored as Windows-1252 text, the\n"
     "  simulator's; a character that set lacks is refused. The input files are\n"
     "  never changed.\n",
     k_accept_out | k_accept_names | k_accept_no_plan | k_accept_no_warnings | k_accept_werror |
         k_accept_warning_groups | k_accept_encoding | k_accept_sync,
     "compile docs/examples/Valle_linea.txt docs/examples/Valle_12-.txt -o out",
     compile_command,
     operand_kind::files,
     {operand_counts({2}), "compile needs a line description and a train description", {}},
     k_open_read_descriptions | k_open_refuse_undecodable | k_open_choose_names},
    {"check",
     "LINE_FILE TRAIN_FILE",
     "report every problem of a line and a train description, writing nothing",
     "  Reads both descriptions as compile does and reports every error and\n"
     "  warning of both in source order, with its line, column, the source line\n"
     "  and a caret, and notes where the cause lies elsewhere. It goes on after\n"
     "  each fault with the next record, and checks the train description even\n"
     "  when the line description has a fault. Nothing is written. Exit status:\n"
     "  0 when nothing is reported, 1 when anything is, 2 for a usage error or\n"
     "  a file that cannot be read.\n",
     k_accept_names | k_accept_warning_groups | k_accept_format | k_accept_encoding,
     "check docs/examples/Valle_linea.txt docs/examples/Valle_12-.txt",
     check_command,
     operand_kind::files,
     {operand_counts({2}), "check needs a line description and a train description", {}},
     k_open_read_descriptions | k_open_choose_names},
    {"watch",
     "LINE_FILE TRAIN_FILE",
     "compile and draw a line and a train description at every save",
     "  Compiles and draws the two descriptions at start and again after every\n"
     "  save of either (in place or by rename, as editors save), and prints the\n"
     "  diagnostics each time. With -o DIR it also writes the binary files there\n"
     "  after each compile without faults. With --serve it serves a page on\n"
     "  127.0.0.1 (the address is printed at start) that holds the picture and\n"
     "  the diagnostics and updates itself within a second of a save; after an\n"
     "  edit with errors it keeps the last good picture, marked out of date.\n"
     "  Ctrl-C ends it.\n",
     k_accept_out | k_accept_names | k_accept_no_warnings | k_accept_warning_groups |
         k_accept_stretch | k_accept_serve | k_accept_encoding,
     "watch docs/examples/Valle_linea.txt docs/examples/Valle_12-.txt --serve 8018",
     watch_command,
     operand_kind::files,
     {operand_counts({2}), k_watch_operands, k_watch_operands},
     k_open_choose_names},
    {"decompile",
     "DIR | GRID.dat STATIONS.sim PLAN_linea.dat",
     "write the two descriptions that compile to a scenario's binary files",
     "  Writes NAME_linea.txt and NAME_NUM-.txt into DIR (default: the current\n"
     "  folder, created when missing), NAME and NUM as the station table names\n"
     "  them: descriptions that compile back to the three files of the scenario\n"
     "  in DIR, or of the three files named, byte for byte. It compiles them to\n"
     "  check; a difference, a part of the files that no description gives, or\n"
     "  files that are not one fault-free scenario is reported and exits with 1.\n"
     "  Refuses to replace a file that exists unless --force is given.\n",
     k_accept_out | k_accept_force | k_accept_sync,
     "decompile build -o edit",
     decompile_command,
     operand_kind::files,
     {operand_counts({1, 3}), k_decompile_operands, k_decompile_operands},
     k_open_settle_inputs},
    {"dump",
     "FILE",
     "print one binary file of a scenario as tables or JSON",
     "  Decodes a route grid (NAME_NUM.dat), a station table (NAME_NUM.sim) or a\n"
     "  line plan (NAME_linea.dat) and prints it as aligned tables, or with --json\n"
     "  every field. The name tells the kind; a file with another name, or the\n"
     "  standard input when FILE is -, is taken as the first kind its bytes fit.\n",
     k_accept_json,
     "dump build/Corvale_Pianasco_4816.dat",
     dump_command,
     operand_kind::files,
     {operand_counts({1}), "dump needs a file", "dump takes one file"},
     k_open_settle_inputs},
    {"draw",
     "DIR | GRID.dat STATIONS.sim PLAN_linea.dat",
     "draw the plan, profile and lineside objects of a scenario as SVG",
     "  Draws one SVG picture of the scenario in DIR, or of the three files named:\n"
     "  the plan of the line with the railway's kilometre posts, the elevation, the\n"
     "  speed limit, lanes for the curves, scenery, adhesion, stations, signals,\n"
     "  boards, slowdown and code points, and the distance axis in route km and\n"
     "  railway km. Every object has a tooltip. -o - writes the picture to\n"
     "  standard output; an output name with another extension than .svg is\n"
     "  refused.\n",
     k_accept_out | k_accept_stretch | k_accept_sync,
     "draw build -o route.svg --from 45 --to 55",
     draw_command,
     operand_kind::files,
     {operand_counts({1, 3}), k_draw_operands, k_draw_operands},
     k_open_settle_inputs,
     "draw needs -o FILE.svg",
     refused_drawing_options},
    {"lsp", "", "serve the language protocol to an editor on standard input and output",
     "  Checks the descriptions an editor has open as they are typed, with the\n"
     "  diagnostics of check, and offers hover, completion, quick fixes, an\n"
     "  outline and formatting, speaking the Language Server Protocol on standard\n"
     "  input and output. Editors start it themselves: see \"In your editor\" in\n"
     "  the authors' reference. It needs a build with nlohmann-json.\n",
     0, "lsp", lsp_command, operand_kind::none, k_no_operand},
    {"help",
     "[COMMAND]",
     "print the help of one command",
     "  Prints the usage, options and an example of COMMAND, as\n"
     "  'scenario_gen COMMAND --help' does; with no command, the general help.\n",
     0,
     "help compile",
     help_command,
     operand_kind::commands,
     {operand_counts({0, 1}), {}, {}}},
};

constexpr std::size_t k_screen_width = 79;
constexpr std::size_t k_option_column = 28;

// "WORDS  WHAT" after indent blanks, the text wrapped at the screen width
// under its column; words too wide for the column stand on a line of their
// own, the text under them in the column.
void print_option(std::ostream& out, std::string_view words, std::string_view what,
                  std::size_t indent = 4) {
  std::string line = std::string(indent, ' ') + std::string(words);
  if (line.size() + 2 > k_option_column) line += '\n';
  std::size_t column = line.back() == '\n' ? 0 : line.size();
  bool first = true;  // no word of what yet: nothing to part it from
  while (!what.empty()) {
    const std::size_t space = what.find(' ');
    const std::string_view word = what.substr(0, space);
    if (column < k_option_column) {
      line += std::string(k_option_column - column, ' ');
      column = k_option_column;
    } else if (column + 1 + word.size() > k_screen_width) {
      line += '\n' + std::string(k_option_column, ' ');
      column = k_option_column;
    } else if (!first) {
      line += ' ';
      ++column;
    }
    line += word;
    column += word.size();
    first = false;
    if (space == what.npos) break;
    what.remove_prefix(space + 1);
  }
  out << line << '\n';
}

// The options accepted, with their help as command shows them; -h last.
void print_options(std::ostream& out, unsigned accepted, std::string_view command,
                   std::size_t indent) {
  for (const option_spec& o : option_table())
    if (o.flag == k_accept_help || (o.flag & accepted) != 0)
      print_option(out, help_words(o, command), text_for(o, command).what, indent);
}

// The warning groups that -W names, each with what its warnings are about.
void print_groups(std::ostream& out) {
  out << "\n  Warning groups (each warning ends with its group as [-WGROUP]):\n";
#define SCENARIO_PRINT_GROUP(id, name, what) print_option(out, name, what);
  SCENARIO_WARNING_GROUPS(SCENARIO_PRINT_GROUP)
#undef SCENARIO_PRINT_GROUP
}

}  // namespace

std::span<const command_info> command_table() {
  return k_commands;
}

std::vector<std::string_view> command_names() {
  std::vector<std::string_view> names;
  for (const command_info& c : k_commands) names.push_back(c.name);
  return names;
}

const command_info* find_command(std::string_view name) {
  for (const command_info& c : k_commands)
    if (c.name == name) return &c;
  return nullptr;
}

void print_version(std::ostream& out) {
  // LICENSE reads title, copyright, terms: the version, the copyright and
  // one line naming the licence, where readers and help2man look for them.
  const std::string_view text = licence_text();
  const std::size_t title_end = text.find('\n');
  const std::size_t copyright_start = text.find("Copyright");
  out << "scenario_gen " << program_version() << '\n';
  if (copyright_start != text.npos)
    out << text.substr(copyright_start, text.find('\n', copyright_start) - copyright_start) << '\n';
  out << "Distributed under the " << text.substr(0, title_end)
      << "; its terms are in the file LICENSE.\n";
}

std::string command_synopsis(const command_info& c) {
  const std::string indent(std::string_view("Usage: scenario_gen ").size(), ' ');
  std::string out(c.name);
  if (!c.synopsis.empty()) out += " " + std::string(c.synopsis);
  std::size_t column = indent.size() + out.size();
  for (const option_spec& o : option_table()) {
    if ((o.flag & c.options) == 0) continue;
    const std::string words = usage_words(o, c.name);
    if (column + 1 + words.size() > k_screen_width) {
      out += "\n" + indent;
      column = indent.size();
    } else {
      out += ' ';
      ++column;
    }
    out += words;
    column += words.size();
  }
  return out;
}

namespace {

// A name in the documentation folder, written with one kind of separator
// (on Windows the folder may come with slashes, the name gets a backslash).
std::string in_docs(std::string_view docs, std::string_view name) {
  return utf8_of(path_from_utf8(join_path(docs, name)).lexically_normal());
}

}  // namespace

void print_help(std::ostream& out, std::string_view docs) {
  out << "Usage: scenario_gen [-q]\n"
         "  or:  scenario_gen COMMAND [OPTION]... [ARGUMENT]...\n"
         "  or:  scenario_gen help [COMMAND]\n"
         "  or:  scenario_gen --help | --version\n"
         "\n"
         "With no command, builds the shipped scenario (line Corvale_Pianasco, train\n"
         "4816) in the executable's folder, showing \"Attendere\" while it works: in a\n"
         "window when there is a display, otherwise on a terminal's standard error.\n"
         "\n"
         "Commands:\n";
  std::size_t longest = 0;
  for (const command_info& c : k_commands) longest = std::max(longest, c.name.size());
  for (const command_info& c : k_commands) {
    std::string name = "  " + std::string(c.name);
    name.resize(2 + longest + 2, ' ');
    out << name << c.summary << '\n';
  }
  out << "\n"
         "'scenario_gen help COMMAND' or 'scenario_gen COMMAND --help' prints a\n"
         "command's usage, options and an example.\n"
         "\n"
         "Faults and warnings are printed on stderr as\n"
         "FILE:LINE:COLUMN: error: WHAT (code N, at P m), with the source line, a caret\n"
         "under the field and notes where the cause lies elsewhere; check reports every\n"
         "one of both files at once.\n"
         "\n"
         "Exit status: 0 when no fault is pending; 1 when a compile fault is pending\n"
         "(the binary files are still written); 2 when no binary file was written\n"
         "(a usage error, an input that cannot be read, a file that cannot be\n"
         "written, message 1250 or 1251, no route grid): the older binary files then\n"
         "stand as they were. No command leaves a partly written file. compile\n"
         "--werror exits 1 on a warning and writes nothing; check exits 0 when it\n"
         "reports nothing, 1 when it reports anything, 2 for a usage error or an\n"
         "unreadable file.\n"
         "\n"
         "The description formats and every fault code are in the authors' reference,\n"
         "  "
      << in_docs(docs, "authoring.md")
      << "\n"
         "with example descriptions in\n"
         "  "
      << in_docs(docs, "examples")
      << "\n"
         "\n"
         "Options:\n";
  print_options(out, k_program_options, k_program_context, 2);
}

void print_command_help(std::ostream& out, const command_info& c) {
  out << "Usage: scenario_gen " << command_synopsis(c) << "\n\n" << c.details << "\n  Options:\n";
  print_options(out, c.options, c.name, 4);
  if ((c.options & k_accept_warning_groups) != 0) print_groups(out);
  out << "\n  Example:\n    scenario_gen " << c.example << '\n';
}

int usage_error(std::ostream& err, std::string_view message, const command_info* c) {
  err << format_diagnostic(program_diagnostic(std::string(message))) << "Try 'scenario_gen "
      << (c != nullptr ? std::string(c->name) + " " : std::string()) << "--help' for more "
      << "information.\n";
  return k_status_failed;
}

std::string unknown_command(std::string_view word) {
  // An option of the program written as a command ("version"), or misspelt
  // as one ("verison"), is suggested as the option.
  const std::vector<std::string_view> commands = command_names();
  std::vector<std::string_view> words = commands;
  for (const option_spec& o : option_table())
    if ((o.flag & k_program_options) != 0 && o.long_name.size() > 2)
      words.push_back(o.long_name.substr(2));
  std::string unknown = "unknown command '" + std::string(word) + "'";
  const bool exact = std::find(words.begin(), words.end(), word) != words.end();
  const std::string_view best = exact ? word : closest_word(word, words).value_or("");
  if (best.empty()) return unknown;
  const bool command = std::find(commands.begin(), commands.end(), best) != commands.end();
  return unknown + "; did you mean '" + (command ? "" : "--") + std::string(best) + "'?";
}

std::string operand_fault(const command_info& c, std::span<const std::string> operands) {
  const operand_rule& rule = c.takes;
  if (operands.size() < 32 && (rule.counts >> operands.size() & 1u) != 0) return {};
  std::size_t most = 0;
  while (rule.counts >> (most + 1) != 0) ++most;
  if (operands.size() <= most) return std::string(rule.missing);
  if (!rule.surplus.empty()) return std::string(rule.surplus);
  return "unexpected argument '" + operands[most] + "'";
}

int report_failure(std::ostream& err, const diagnostic& d, int status) {
  err << format_diagnostic(d);
  return status;
}

}  // namespace scenario
