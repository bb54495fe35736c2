#include "run/binary_files.h"

#include <optional>
#include <thread>

#include "model/file_names.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "platform/file_set.h"
#include "platform/files.h"
#include "run/plan_pipeline.h"

namespace scenario {
namespace {

// The plan size from which a second thread makes the plan's pieces.
constexpr std::uint64_t k_threaded_plan_bytes = std::uint64_t{8} * k_plan_piece_bytes;

// Whether the plan gets a thread of its own: only where more than two cores
// make an idle one likely. On two shared cores the largest compile took
// longer with the thread than without it, rerun in its folder and into an
// emptied one alike (bench/whole_process.sh, at load averages near 2).
bool plan_thread_pays() {
  return std::thread::hardware_concurrency() > 2;
}

}  // namespace

binary_bytes serialise_binary_files(const run_state& st) {
  binary_bytes b;
  if (st.scrivi_linea != 0) b.plan = serialise_plan(st.profilo);
  b.stations = serialise_stations(st.stazioni);
  b.grid = serialise_grid(st.percorso);
  return b;
}

void write_binary_files(const run_state& st, const std::string& folder) {
  // The plan's points are computed as its file is written, a piece at a
  // time: no table of them is ever made. Nothing in them can fail, so the
  // set is whole or, on a write error, never committed. A long plan, where
  // the thread pays, is made on a second thread a few pieces ahead of the
  // writes, started before the set so that the first pieces wait for the
  // writer, and the thread then makes the other two files' bytes while the
  // last pieces are written. Otherwise, and for a short plan (the default
  // run's 1.4 MB), the plan is made between the writes.
  std::string station_bytes;
  std::string grid_bytes;
  const auto other_files = [&] {
    station_bytes = serialise_stations(st.stazioni);
    grid_bytes = serialise_grid(st.percorso);
  };
  std::optional<plan_pipeline> pieces;
  if (st.scrivi_linea != 0 && plan_file_size(st.profilo) >= k_threaded_plan_bytes &&
      plan_thread_pays())
    pieces.emplace(st.profilo, other_files);
  // Every name is tested before a byte is written: a folder under the grid's
  // name is found before the plan's megabytes are.
  file_set set(folder);
  output_file* plan = st.scrivi_linea != 0 ? &set.add(plan_file_name(st.nome_linea)) : nullptr;
  output_file& stations = set.add(station_file_name(st.nome_linea, st.numero_treno));
  output_file& grid = set.add(grid_file_name(st.nome_linea, st.numero_treno));
  const auto write_piece = [&](std::uint64_t offset, std::string_view piece) {
    plan->write_at(offset, piece);
  };
  if (pieces) {
    pieces->drain(write_piece);
  } else {
    if (plan != nullptr) encode_plan(st.profilo, write_piece);
    other_files();
  }
  stations.write(station_bytes);
  grid.write(grid_bytes);
  set.commit();
}

}  // namespace scenario
