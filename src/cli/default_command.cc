#include <ostream>
#include <string>

#include "cli/commands.h"
#include "common/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {

int default_command(std::ostream& /*out*/, std::ostream& err) {
  const std::string folder = executable_folder();
  const auto ui = make_display(err);
  const run_state st = form_load(folder, *ui);
  const source_names names{line_source_name(st.nome_linea),
                           train_source_name(st.nome_linea, st.numero_treno)};
  for (const fault& f : st.faults) err << format_fault(f, names) << '\n';
  return st.codice_errore != 0 ? k_status_fault_pending : k_status_ok;
}

}  // namespace scenario
