// decompile: a scenario's three binary files back to the two descriptions
// that compile to them.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "common/diagnostic.h"
#include "common/utf8_text.h"
#include "inspect/decompile.h"
#include "inspect/invert_plan.h"
#include "inspect/scenario_set.h"
#include "inspect/self_check.h"
#include "model/file_names.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/path_names.h"
#include "run/diagnostics.h"
#include "sources/scenario_names.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

diagnostic warning(std::string message, std::string file = {}) {
  diagnostic d = program_diagnostic(std::move(message), severity::warning);
  d.file = std::move(file);
  return d;
}

// Each file named otherwise than the table's names say.
std::vector<diagnostic> name_warnings(const loaded_scenario& s, const decompiled& d) {
  const std::pair<const loaded_file*, std::string> expected[] = {
      {&s.grid, grid_file_name(d.nome_linea, d.numero_treno)},
      {&s.stations, station_file_name(d.nome_linea, d.numero_treno)},
      {&s.plan, plan_file_name(d.nome_linea)}};
  std::vector<diagnostic> out;
  for (const auto& [file, name] : expected)
    if (utf8_of(path_from_utf8(file->path).filename()) != name)
      out.push_back(warning("the station table names the scenario's file '" + name +
                                "'; the descriptions are named after the table",
                            file->path));
  return out;
}

void write_text(const std::string& path, const std::vector<std::string>& lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  replace_file(path, render_lines(views));
}

}  // namespace

int decompile_command(const command_options& o, command_start& /*start*/, std::ostream& /*out*/,
                      std::ostream& err) {
  // The curves are found in the walk that checks the plan, which is read once.
  curve_inversion curves;
  const loaded_scenario s = load_scenario_files(o.operands, &curves);
  const decompiled d = decompile(s, &curves);
  // The names become file names here, and the names a compile of them
  // takes from those: they must come back from their file names unchanged.
  const std::string line_name = utf8_from_1252(d.nome_linea);
  const std::string train_number = utf8_from_1252(d.numero_treno);
  const scenario_names names = choose_scenario_names(
      line_source_name(d.nome_linea), train_source_name(d.nome_linea, d.numero_treno), line_name,
      train_number);
  std::string why = names.error;
  if (why.empty() &&
      (names.nome_linea != d.nome_linea || names.numero_treno != d.numero_treno ||
       line_name.find('\0') != std::string::npos || train_number.find('\0') != std::string::npos))
    why = "a name holds a byte no file name keeps";
  if (!why.empty())
    return report_failure(
        err, program_diagnostic("'" + s.stations.path + "' names no scenario: " + why));

  const std::string folder = o.output.value_or(".");
  if (const std::string why = make_folder(folder); !why.empty())
    return report_failure(err, program_diagnostic(why));
  const std::string line_path = join_path(folder, line_source_name(d.nome_linea));
  const std::string train_path = join_path(folder, train_source_name(d.nome_linea, d.numero_treno));
  // An author's edited descriptions are not replaced without --force.
  if (!o.force)
    for (const std::string& path : {line_path, train_path})
      if (something_at(path))
        return report_failure(
            err, program_diagnostic("'" + path + "' exists; give --force to replace it"));

  const self_check check = check_decompiled(s, d, line_path, train_path);
  write_text(line_path, d.line);
  write_text(train_path, d.train);

  std::vector<diagnostic> told = name_warnings(s, d);
  const std::string mismatch = scenario_mismatch(s);
  if (!mismatch.empty()) told.push_back(warning(mismatch));
  told.insert(told.end(), d.warnings.begin(), d.warnings.end());
  const std::vector<diagnostic> faults = compile_diagnostics(check.compiled, false);
  told.insert(told.end(), faults.begin(), faults.end());
  told.insert(told.end(), check.differences.begin(), check.differences.end());
  for (const diagnostic& t : told) err << format_diagnostic(t);

  const bool exact = mismatch.empty() && d.warnings.empty() && faults.empty() && check.same_files;
  if (exact) return k_status_ok;
  err << format_diagnostic(program_diagnostic(
      check.same_files ? "the descriptions written compile back to the same files, but the files "
                         "are not a fault-free scenario"
                       : "the descriptions written do not compile back to the same files"));
  return k_status_fault_pending;
}

}  // namespace scenario
