// compile: an author's line and train descriptions into the simulator's
// binary files, with the default run's compilers and its diagnostics.
#include <algorithm>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/folders.h"
#include "cli/options.h"
#include "cli/scenario_names.h"
#include "cli/source_check.h"
#include "cli/usage.h"
#include "common/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/errore.h"
#include "run/memorizza.h"

namespace scenario {
namespace {

constexpr std::int32_t k_misplaced_reference = 2;
constexpr std::int32_t k_soft_stop = 15;

// The last line of each description that the compile read. Warnings beyond
// it concern records that were never compiled, so they are not shown.
struct lines_read {
  int line_file = INT_MAX;
  int train_file = INT_MAX;
};

lines_read lines_compiled(const run_state& st) {
  lines_read r;
  for (const fault& f : st.faults) {
    const int at = f.line > 0 ? f.line : INT_MAX;
    if (f.origin == fault_origin::line_file && f.code != k_misplaced_reference) {
      r.line_file = std::min(r.line_file, at);
      // Only a soft stop of the line description lets the train one compile.
      if (f.code != k_soft_stop) r.train_file = 0;
    } else if (f.origin == fault_origin::train_file) {
      r.train_file = std::min(r.train_file, at);
    }
  }
  return r;
}

void print_diagnostics(const run_state& st, const source_names& names, const line_check& line,
                       const std::vector<source_warning>& train, bool with_warnings,
                       std::ostream& err) {
  if (with_warnings) {
    const lines_read read = lines_compiled(st);
    for (const source_warning& w : line.warnings)
      if (w.line <= read.line_file) err << format_warning(w, names) << '\n';
    for (const source_warning& w : train)
      if (w.line <= read.train_file) err << format_warning(w, names) << '\n';
  }
  for (fault f : st.faults) {
    // Code 2 is found after reading; the check knows which record caused it.
    if (f.code == k_misplaced_reference && f.line == 0) f.line = line.misplaced_reference_line;
    err << format_fault(f, names) << '\n';
  }
}

}  // namespace

int compile_command(arguments args, std::ostream& out, std::ostream& err) {
  const parsed_options parsed =
      parse_options(args, k_accept_out | k_accept_names | k_accept_no_plan | k_accept_no_warnings);
  if (!parsed.error.empty()) return usage_error(err, parsed.error, "compile");
  const command_options& o = parsed.options;
  if (o.help) {
    print_command_help(out, "compile");
    return k_status_ok;
  }
  if (o.operands.size() < 2)
    return usage_error(err, "compile needs a line description and a train description", "compile");
  if (o.operands.size() > 2)
    return usage_error(err, "unexpected argument '" + o.operands[2] + "'", "compile");
  const std::string& line_path = o.operands[0];
  const std::string& train_path = o.operands[1];

  // Both inputs are read before anything is written, so that a mistyped name
  // never leaves a half-compiled scenario behind.
  std::string line_text, train_text;
  try {
    line_text = read_file(line_path);
    train_text = read_file(train_path);
  } catch (const io_error& e) {
    return usage_error(err, e.what(), "compile");
  }
  const scenario_names names =
      choose_scenario_names(line_path, train_path, o.line_name, o.train_number);
  if (!names.error.empty()) return usage_error(err, names.error, "compile");

  const std::string folder = o.out_folder.value_or(".");
  if (const std::string why = make_folder(folder); !why.empty()) return program_error(err, why);
  const std::string plan = join_path(folder, plan_file_name(names.nome_linea));
  const std::string grid = join_path(folder, grid_file_name(names.nome_linea, names.numero_treno));
  std::vector<std::string> outputs{
      join_path(folder, station_file_name(names.nome_linea, names.numero_treno)), grid};
  if (!o.no_plan) {
    if (plan == grid)
      return program_error(err, "train number '" + names.numero_treno +
                                    "' would give the route grid the name of the line plan '" +
                                    plan + "'");
    outputs.push_back(plan);
  }
  for (const std::string& output : outputs)
    for (const std::string& input : {line_path, train_path})
      if (same_file(output, input))
        return program_error(err, "the output '" + output + "' is the input '" + input +
                                      "'; choose another folder with -o or other names");

  const line_check line = check_line_description(line_text, !o.no_plan);
  const std::vector<source_warning> train = check_train_description(train_text);
  const source_names shown{line_path, train_path};

  run_state st;
  st.nome_linea = names.nome_linea;
  st.numero_treno = names.numero_treno;
  // A terminal line rather than a window: compile is run from shells,
  // editors and scripts, where nobody is there to answer a message box.
  const auto ui = make_terminal_display(err);
  const scenario_sources sources{line_path, train_path, /*delete_after_reading=*/false};
  try {
    memorizza_percorso(st, o.no_plan ? 0 : 1, sources, folder, *ui);
  } catch (const run_failure& e) {
    print_diagnostics(st, shown, line, train, !o.no_warnings, err);
    return program_error(err, e.what());
  } catch (const process_end& e) {
    print_diagnostics(st, shown, line, train, !o.no_warnings, err);
    err << "scenario_gen: error: " << e.what() << '\n'
        << "scenario_gen: note: the stamp goes into grid cell 1, the start of the line: move "
           "any signal, slowdown, board or code line within its first 75 m further along\n";
    return e.status();
  } catch (const io_error& e) {
    print_diagnostics(st, shown, line, train, !o.no_warnings, err);
    return program_error(err, e.what());
  }
  print_diagnostics(st, shown, line, train, !o.no_warnings, err);
  return st.codice_errore != 0 ? k_status_fault_pending : k_status_ok;
}

}  // namespace scenario
