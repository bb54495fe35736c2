#include "model/run_state.h"

#include <utility>

#include "model/fault_codes.h"
#include "model/scenario_constants.h"

namespace scenario {

std::optional<std::int32_t> route_end(const run_state& st) {
  const std::int32_t length = st.stazioni[k_slot_train].fine;
  if (st.route_length_line == 0 || length < 0 || length > k_max_route_length) return std::nullopt;
  return length;
}

void record_fault(compile_context& st, fault f, std::optional<std::int64_t> taken_cell) {
  st.codice_errore = f.code;
  // A position shown with a code that records none (a run-time failure)
  // leaves posizione_errore as it was.
  const fault_code_info* info = find_fault_code(f.code);
  if (f.position && info != nullptr && info->has_position) st.posizione_errore = *f.position;
  if (st.report != nullptr) {
    if (taken_cell)
      st.report->fault_on_taken_cell(f, *taken_cell);
    else
      st.report->fault_found(f);
  }
  st.faults.push_back(std::move(f));
}

void record_warning(compile_context& st, const source_warning& w) {
  if (st.report != nullptr) st.report->warning_found(w);
}

void record_begins(compile_context& st, fault_origin origin, int line) {
  if (st.report != nullptr) st.report->record_begins(origin, line);
}

}  // namespace scenario
