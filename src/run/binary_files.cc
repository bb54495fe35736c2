#include "run/binary_files.h"

#include "model/file_names.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "platform/files.h"

namespace scenario {

binary_bytes serialise_binary_files(const run_state& st) {
  binary_bytes b;
  if (st.scrivi_linea != 0) b.plan = serialise_plan(st.profilo);
  b.stations = serialise_stations(st.stazioni);
  b.grid = serialise_grid(st.percorso);
  return b;
}

void write_binary_files(const run_state& st, const std::string& folder) {
  if (st.scrivi_linea != 0)
    replace_file(join_path(folder, plan_file_name(st.nome_linea)), serialise_plan(st.profilo));
  replace_file(join_path(folder, station_file_name(st.nome_linea, st.numero_treno)),
               serialise_stations(st.stazioni));
  replace_file(join_path(folder, grid_file_name(st.nome_linea, st.numero_treno)),
               serialise_grid(st.percorso));
}

}  // namespace scenario
