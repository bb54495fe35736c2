#include "inspect/scenario_set.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "common/diagnostic.h"
#include "common/numeric.h"
#include "model/scenario_constants.h"
#include "output/check_codes.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

failure failed(const std::string& message) {
  return failure(program_diagnostic(message));
}

}  // namespace

scenario_paths find_in_folder(const std::string& folder) {
  if (!is_folder(folder)) throw failed("'" + folder + "' is not a folder");
  std::vector<std::string> sims;
  std::vector<std::string> grids;
  std::vector<std::string> plans;
  for (const std::string& name : regular_files_in(folder)) {
    const auto kind = kind_from_name(name);
    if (!kind) continue;
    (*kind == file_kind::stations ? sims
     : *kind == file_kind::grid   ? grids
                                  : plans)
        .push_back(name);
  }

  std::vector<scenario_paths> found;
  for (const std::string& sim : sims) {
    const std::string stem = sim.substr(0, sim.size() - 4);
    const auto grid = std::find_if(grids.begin(), grids.end(), [&](const std::string& g) {
      return g.size() == stem.size() + 4 && g.compare(0, stem.size(), stem) == 0;
    });
    // NAME_linea.dat belongs to NAME_NUM.sim.
    const auto plan = std::find_if(plans.begin(), plans.end(), [&](const std::string& p) {
      const std::string name = p.substr(0, p.size() - 10);
      return stem.size() > name.size() + 1 && stem.compare(0, name.size() + 1, name + "_") == 0;
    });
    if (grid != grids.end() && plan != plans.end())
      found.push_back({join_path(folder, *grid), join_path(folder, sim), join_path(folder, *plan)});
  }
  if (found.size() == 1) return found[0];
  if (found.empty()) {
    if (sims.empty()) throw failed("no station table (.sim) in '" + folder + "'");
    throw failed("no station table in '" + folder +
                 "' has its route grid (NAME_NUM.dat) and line plan (NAME_linea.dat) beside it");
  }
  std::string names;
  for (const scenario_paths& s : found)
    names += (names.empty() ? "" : ", ") + fs::path(s.stations).filename().string();
  throw failed("'" + folder + "' holds " + std::to_string(found.size()) + " scenarios (" + names +
               "); name the three files");
}

loaded_scenario load_scenario_files(const std::vector<std::string>& inputs) {
  std::map<file_kind, loaded_file> files;
  if (inputs.size() == 1) {
    const scenario_paths p = find_in_folder(inputs[0]);
    for (const std::string& path : {p.grid, p.stations, p.plan}) {
      loaded_file f = load_file(path);
      files.emplace(f.kind, std::move(f));
    }
  } else {
    for (const std::string& path : inputs) {
      loaded_file f = load_file(path);
      const file_kind kind = f.kind;
      if (!files.emplace(kind, std::move(f)).second)
        throw failed("two " + std::string(kind_title(kind)) + "s: '" + files[kind].path +
                     "' and '" + path + "'");
    }
  }
  for (const file_kind kind : {file_kind::grid, file_kind::stations, file_kind::plan})
    if (files.count(kind) == 0)
      throw failed("no " + std::string(kind_title(kind)) + " among the files named");
  return {std::move(files.at(file_kind::grid)), std::move(files.at(file_kind::stations)),
          std::move(files.at(file_kind::plan))};
}

std::string scenario_mismatch(const loaded_scenario& s) {
  const std::int64_t extent = s.plan.plan.extent();
  const std::int64_t length = s.stations.stations[k_slot_train].fine;
  const std::int64_t last_cell = static_cast<std::int64_t>(s.grid.grid.size()) - 1;
  auto differ = [](const loaded_file& a, const loaded_file& b, const std::string& why) {
    return "'" + a.path + "' and '" + b.path + "' are not one scenario: " + why;
  };
  if (extent != length + k_route_margin)
    return differ(
        s.stations, s.plan,
        "route length " + std::to_string(length) + " m, plan to metre " + std::to_string(extent));
  if (round_half_even(extent, k_cell_metres) != last_cell)
    return differ(
        s.grid, s.plan,
        "grid to cell " + std::to_string(last_cell) + ", plan to metre " + std::to_string(extent));
  run_state names;
  names.stazioni = s.stations.stations;
  const std::int32_t expected = codice_gara_og(names);
  const std::int32_t stamped = s.grid.grid.size() > 1 ? s.grid.grid[1].valore_b : -1;
  if (stamped != expected)
    return differ(s.grid, s.stations,
                  "the grid's check code is " + std::to_string(stamped) +
                      ", the table's names give " + std::to_string(expected));
  return {};
}

loaded_scenario load_scenario(const std::vector<std::string>& inputs) {
  loaded_scenario s = load_scenario_files(inputs);
  if (std::string why = scenario_mismatch(s); !why.empty()) throw failed(why);
  return s;
}

}  // namespace scenario
