#include "run/run_state.h"

#include <utility>

namespace scenario {

void record_fault(run_state& st, fault f) {
  st.codice_errore = f.code;
  if (f.position) st.posizione_errore = *f.position;
  st.faults.push_back(std::move(f));
}

}  // namespace scenario
