// dump and draw: the binary files of a scenario read back, as text or as a
// picture.
#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/inspect.h"
#include "common/numeric.h"
#include "draw/route_picture.h"
#include "output/check_codes.h"
#include "platform/files.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr const char* k_dump_usage = "usage: scenario_gen dump FILE [--json]\n";
constexpr const char* k_draw_usage =
    "usage: scenario_gen draw DIR | GRID.dat STATIONS.sim PLAN_linea.dat -o FILE.svg\n";

int usage(std::ostream& err, const char* text) {
  err << text;
  return k_status_failed;
}

int failure(std::ostream& err, const std::string& message) {
  err << "scenario_gen: error: " << message << '\n';
  return k_status_failed;
}

// The three files of one scenario.
struct scenario_paths {
  std::string grid;
  std::string stations;
  std::string plan;
};

// The one scenario in folder: a station table NAME_NUM.sim with its grid
// NAME_NUM.dat and its plan NAME_linea.dat.
scenario_paths find_in_folder(const std::string& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw inspect_error("'" + folder + "' is not a folder");
  std::vector<std::string> sims;
  std::vector<std::string> grids;
  std::vector<std::string> plans;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    const auto kind = kind_from_name(name);
    if (!kind) continue;
    (*kind == file_kind::stations ? sims
     : *kind == file_kind::grid   ? grids
                                  : plans)
        .push_back(name);
  }
  if (ec) throw inspect_error("cannot read the folder '" + folder + "': " + ec.message());
  std::sort(sims.begin(), sims.end());

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
    if (sims.empty()) throw inspect_error("no station table (.sim) in '" + folder + "'");
    throw inspect_error(
        "no station table in '" + folder +
        "' has its route grid (NAME_NUM.dat) and line plan (NAME_linea.dat) beside it");
  }
  std::string names;
  for (const scenario_paths& s : found)
    names += (names.empty() ? "" : ", ") + fs::path(s.stations).filename().string();
  throw inspect_error("'" + folder + "' holds " + std::to_string(found.size()) + " scenarios (" +
                      names + "); name the three files");
}

// Refuses three files that are not one scenario: the plan runs 7000 m past the
// route length of record 84, the grid has one cell per 50 m of the plan, and
// the grid's stamp is the check code of the table's names.
void check_one_scenario(const loaded_file& grid, const loaded_file& stations,
                        const loaded_file& plan) {
  const std::int64_t extent = plan.plan.extent();
  const std::int64_t length = stations.stations[k_slot_train].fine;
  const std::int64_t last_cell = static_cast<std::int64_t>(grid.grid.size()) - 1;
  auto differ = [](const loaded_file& a, const loaded_file& b, const std::string& why) {
    return inspect_error("'" + a.path + "' and '" + b.path + "' are not one scenario: " + why);
  };
  if (extent != length + 7000)
    throw differ(
        stations, plan,
        "route length " + std::to_string(length) + " m, plan to metre " + std::to_string(extent));
  if (round_half_even(extent, 50) != last_cell)
    throw differ(
        grid, plan,
        "grid to cell " + std::to_string(last_cell) + ", plan to metre " + std::to_string(extent));
  run_state names;
  names.stazioni = stations.stations;
  const std::int32_t expected = codice_gara_og(names);
  const std::int32_t stamped = grid.grid.size() > 1 ? grid.grid[1].valore_b : -1;
  if (stamped != expected)
    throw differ(grid, stations,
                 "the grid's check code is " + std::to_string(stamped) +
                     ", the table's names give " + std::to_string(expected));
}

}  // namespace

int dump_command(arguments args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  bool json = false;
  for (const std::string_view a : args) {
    if (a == "--help" || a == "-h") {
      out << k_dump_usage;
      return k_status_ok;
    }
    if (a == "--json")
      json = true;
    else if (a.size() > 1 && a[0] == '-')
      return usage(err, k_dump_usage);
    else
      files.emplace_back(a);
  }
  if (files.size() != 1) return usage(err, k_dump_usage);
  try {
    const loaded_file file = load_file(files[0]);
    if (json)
      dump_json(out, file);
    else
      dump_text(out, file);
  } catch (const inspect_error& e) {
    return failure(err, e.what());
  }
  return k_status_ok;
}

int draw_command(arguments args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> inputs;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (a == "--help" || a == "-h") {
      out << k_draw_usage;
      return k_status_ok;
    }
    if (a == "-o") {
      if (i + 1 == args.size() || !output.empty()) return usage(err, k_draw_usage);
      output = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return usage(err, k_draw_usage);
    } else {
      inputs.emplace_back(a);
    }
  }
  if (output.empty() || (inputs.size() != 1 && inputs.size() != 3)) return usage(err, k_draw_usage);

  try {
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
          throw inspect_error("two " + std::string(kind_title(kind)) + "s: '" + files[kind].path +
                              "' and '" + path + "'");
      }
    }
    for (const file_kind kind : {file_kind::grid, file_kind::stations, file_kind::plan})
      if (files.count(kind) == 0)
        throw inspect_error("no " + std::string(kind_title(kind)) + " among the files named");
    const loaded_file& grid = files.at(file_kind::grid);
    const loaded_file& stations = files.at(file_kind::stations);
    const loaded_file& plan = files.at(file_kind::plan);
    check_one_scenario(grid, stations, plan);

    const route_picture picture = draw_route(grid.grid, stations.stations, plan.plan);
    if (output == "-")
      out << picture.svg;
    else
      replace_file(output, picture.svg);
    if (picture.overlaps > 0)
      err << "scenario_gen: warning: " << picture.overlaps
          << " labels had no free place and overlap others\n";
    if (picture.omitted > 0)
      err << "scenario_gen: warning: " << picture.omitted
          << " labels were left out for want of room (dump shows every value)\n";
  } catch (const inspect_error& e) {
    return failure(err, e.what());
  } catch (const io_error& e) {
    return failure(err, e.what());
  }
  return k_status_ok;
}

}  // namespace scenario
