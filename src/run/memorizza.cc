#include "run/memorizza.h"

#include <optional>

#include "output/binary_files.h"
#include "output/check_codes.h"
#include "output/code_pass.h"
#include "platform/files.h"
#include "route/line_compiler.h"
#include "run/errore.h"
#include "run/fault_codes.h"
#include "service/train_compiler.h"

namespace scenario {
namespace {

void done_with(const scenario_sources& sources, const std::string& path) {
  if (sources.delete_after_reading) remove_file(path);
}

// Reads a description, or records the run-time failure of a file that cannot
// be read.
std::optional<std::string> read_source(run_state& st, const std::string& path,
                                       fault_origin origin) {
  try {
    return read_file(path);
  } catch (const io_error& e) {
    record_fault(st, {25, std::nullopt, origin, 0, e.what()});
    return std::nullopt;
  }
}

}  // namespace

void name_station_table(run_state& st) {
  st.stazioni[k_slot_line].nome = st.nome_linea;
  st.stazioni[k_slot_repetition].nome = st.numero_treno;
}

void memorizza_dati(run_state& st, const scenario_sources& sources) {
  name_station_table(st);

  if (!file_exists(sources.line_path)) {
    record_fault(st, {101, std::nullopt, fault_origin::line_file, 0, {}});
    return;
  }
  const std::optional<std::string> line_text =
      read_source(st, sources.line_path, fault_origin::line_file);
  if (!line_text) {
    done_with(sources, sources.line_path);
    done_with(sources, sources.train_path);
    return;
  }
  const compile_end line_end = compile_line(*line_text, st);
  done_with(sources, sources.line_path);
  if (line_end == compile_end::runtime_failure) done_with(sources, sources.train_path);
  if (line_end != compile_end::finished) return;

  const std::optional<std::string> train_text =
      read_source(st, sources.train_path, fault_origin::train_file);
  if (train_text) compile_train(*train_text, st);
  // Whatever its ending, the train compiler is done with its file.
  done_with(sources, sources.train_path);
}

void memorizza_percorso(run_state& st, std::int32_t j, const scenario_sources& sources,
                        const std::string& out_folder, display& ui) {
  st.scrivi_linea = j;
  st.codice_errore = 0;
  st.faults.clear();
  st.stazioni = stazioni_t{};

  memorizza_dati(st, sources);
  if (st.percorso.empty()) {
    const fault_code_info* info = find_fault_code(st.codice_errore);
    throw run_failure("the compile left no route grid (code " + std::to_string(st.codice_errore) +
                      (info != nullptr ? ": " + std::string(info->words) : std::string()) +
                      "); no binary file was written");
  }
  code_point_pass(st);

  if (const std::string_view conflict = stamp_scenario(st); !conflict.empty()) errore(ui, conflict);
  write_binary_files(st, out_folder);
}

}  // namespace scenario
