#include "in_memory_run.h"

#include "output/check_codes.h"
#include "output/code_pass.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "route/line_compiler.h"
#include "run/memorizza.h"
#include "service/train_compiler.h"

namespace scenario {

run_state named_state(std::string_view nome_linea, std::string_view numero_treno) {
  run_state st;
  st.nome_linea = nome_linea;
  st.numero_treno = numero_treno;
  st.scrivi_linea = 1;
  name_station_table(st);
  return st;
}

std::string_view compile_in_memory(run_state& st, std::string_view line_text,
                                   std::string_view train_text) {
  if (compile_line(line_text, st) == compile_end::finished) compile_train(train_text, st);
  if (st.percorso.empty()) return {};
  code_point_pass(st);
  return stamp_scenario(st);
}

binary_bytes serialise_all(const run_state& st) {
  return {serialise_plan(st.profilo), serialise_stations(st.stazioni), serialise_grid(st.percorso)};
}

}  // namespace scenario
