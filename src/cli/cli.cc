#include "cli/cli.h"

#include <exception>
#include <ostream>
#include <string>

#include "common/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/errore.h"
#include "run/run_sequence.h"

namespace scenario {
namespace {

constexpr int k_status_fault_pending = 1;

int default_run(std::ostream& err) {
  const std::string folder = executable_folder();
  const auto ui = make_terminal_display(err);
  const run_state st = form_load(folder, *ui);
  const source_names names{line_source_name(st.nome_linea),
                           train_source_name(st.nome_linea, st.numero_treno)};
  for (const fault& f : st.faults) err << format_fault(f, names) << '\n';
  return st.codice_errore != 0 ? k_status_fault_pending : 0;
}

}  // namespace

int cli_main(std::span<const std::string_view> args, std::ostream& /*out*/, std::ostream& err) {
  try {
    if (args.empty()) return default_run(err);
    err << "scenario_gen: error: unknown argument '" << args[0] << "'\n";
    return k_status_nothing_written;
  } catch (const process_end& e) {
    err << "scenario_gen: error: " << e.what() << '\n';
    return e.status();
  } catch (const std::exception& e) {
    err << "scenario_gen: error: " << e.what() << '\n';
    return k_status_nothing_written;
  }
}

}  // namespace scenario
