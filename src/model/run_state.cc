#include "model/run_state.h"

#include <utility>

namespace scenario {

void record_fault(run_state& st, fault f) {
  st.codice_errore = f.code;
  if (f.position) st.posizione_errore = *f.position;
  if (st.report != nullptr) st.report->fault_found(f);
  st.faults.push_back(std::move(f));
}

void record_warning(run_state& st, source_warning w) {
  if (st.report != nullptr) st.report->warning_found(w);
}

}  // namespace scenario
