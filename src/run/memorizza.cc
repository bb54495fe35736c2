#include "run/memorizza.h"

#include <optional>

#include "common/diagnostic.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "platform/files.h"
#include "run/binary_files.h"
#include "run/diagnostics.h"
#include "run/errore.h"

namespace scenario {
namespace {

// A description read whole, or why it could not be. The compile's view of
// it is taken only once this stands still.
struct source_file {
  std::string name;
  bool exists = true;
  std::optional<std::string> text;
  std::string unreadable;

  description view() const {
    description d;
    d.name = name;
    if (text) d.text = *text;
    d.exists = exists;
    d.unreadable = unreadable;
    return d;
  }
};

source_file read_source(const std::string& path, const std::string& name) {
  source_file r;
  r.name = name.empty() ? path : name;
  r.exists = file_exists(path);
  try {
    r.text = read_file(path, k_description_max_bytes, "a description");
  } catch (const io_error& e) {
    r.unreadable = e.what();
  }
  return r;
}

}  // namespace

void apply_compile(const compile_result& out, const scenario_files& files, display& ui) {
  // A missing line description leaves both files; a hard stop of the line
  // compiler leaves the train description, which was never read.
  if (files.delete_after_reading && !out.line_missing) {
    remove_file(files.line_path);
    if (!out.line_end || *out.line_end != compile_end::hard_stop) remove_file(files.train_path);
  }

  if (!out.has_grid()) {
    const fault_code_info* info = find_fault_code(out.st.codice_errore);
    throw failure(program_diagnostic(
        "the compile left no route grid (code " + std::to_string(out.st.codice_errore) +
        (info != nullptr ? ": " + std::string(info->words) : std::string()) +
        "); no binary file was written"));
  }
  if (!out.stamp_conflict.empty()) errore(ui, out.stamp_conflict, stamp_conflict_diagnostic(out));
  write_binary_files(out.st, files.out_folder);
}

void memorizza_percorso(std::int32_t j, const scenario_files& files, display& ui,
                        compile_result& out) {
  const source_file line = read_source(files.line_path, files.line_name);
  // The train description is read only when the line compiler may hand over
  // to it: a missing one is then the run-time failure of code 25.
  source_file train;
  if (line.exists) train = read_source(files.train_path, files.train_name);
  const compile_input input{files.nome_linea, files.numero_treno, j != 0, line.view(),
                            train.view()};
  out = compile(input);
  apply_compile(out, files, ui);
}

}  // namespace scenario
