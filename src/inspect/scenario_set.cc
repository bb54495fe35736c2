#include "inspect/scenario_set.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/diagnostic.h"
#include "common/numeric.h"
#include "model/scenario_constants.h"
#include "output/check_codes.h"
#include "output/plan_format.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// No scenario file is larger than the longest plan, 10 bytes per entry; a
// larger one is left to load_file to refuse.
constexpr std::uintmax_t k_largest_scenario_file = 2 * k_plan_max_metres * 10;

failure failed(const std::string& message) {
  return failure(program_diagnostic(message));
}

// A regular file read where asked, a piece at a time.
class file_bytes final : public byte_source {
 public:
  file_bytes(std::string path, const fs::path& file, std::uint64_t size)
      : path_(std::move(path)), in_(file, std::ios::binary), size_(size) {}
  bool is_open() const { return in_.is_open(); }
  std::uint64_t size() const override { return size_; }
  void read(std::uint64_t offset, char* out, std::size_t n) const override {
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(out, static_cast<std::streamsize>(n));
    if (!in_ || static_cast<std::size_t>(in_.gcount()) != n)
      throw io_error(path_, "read", "the file changed while it was read");
  }

 private:
  std::string path_;
  mutable std::ifstream in_;
  std::uint64_t size_;
};

// The plan file at path, checked whole and read by pieces, when its name
// says it is a plan and it is a regular file that opens; nothing otherwise,
// for load_file to read it whole or say why it cannot.
std::optional<std::pair<loaded_file, std::shared_ptr<const plan_reader>>> open_plan(
    const std::string& path, plan_walker* walker) {
  if (path == "-" || kind_from_name(path) != file_kind::plan) return std::nullopt;
  const fs::path file(std::u8string(path.begin(), path.end()));
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec || size > k_largest_scenario_file) return std::nullopt;
  auto bytes = std::make_shared<file_bytes>(path, file, size);
  if (!bytes->is_open()) return std::nullopt;
  const auto opened = plan_reader::open(bytes, walker);
  if (!opened.ok())
    throw failed(path + ": " + std::string(kind_title(file_kind::plan)) + ", offset " +
                 std::to_string(opened.error().offset) + ": " + opened.error().reason);
  loaded_file f;
  f.path = path;
  f.kind = file_kind::plan;
  f.bytes = static_cast<std::size_t>(size);
  return std::make_pair(std::move(f), opened.value());
}

}  // namespace

std::shared_ptr<const plan_source> loaded_scenario::plan_points() const {
  if (plan_pieces) return plan_pieces;
  return std::make_shared<table_source>(plan.plan);
}

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
    names += (names.empty() ? "" : ", ") + utf8_of(path_from_utf8(s.stations).filename());
  throw failed("'" + folder + "' holds " + std::to_string(found.size()) + " scenarios (" + names +
               "); name the three files");
}

loaded_scenario load_scenario_files(const std::vector<std::string>& inputs, plan_walker* walker) {
  std::map<file_kind, loaded_file> files;
  std::shared_ptr<const plan_reader> plan_pieces;
  // Loads one file, the plan by pieces where it can; its kind when a file
  // of that kind is already loaded.
  auto load = [&](const std::string& path) -> std::optional<file_kind> {
    if (auto plan = open_plan(path, walker)) {
      if (files.count(file_kind::plan) != 0) return file_kind::plan;
      plan_pieces = std::move(plan->second);
      files.emplace(file_kind::plan, std::move(plan->first));
      return std::nullopt;
    }
    loaded_file f = load_file(path);
    const file_kind kind = f.kind;
    if (files.emplace(kind, std::move(f)).second) return std::nullopt;
    return kind;
  };
  if (inputs.size() == 1) {
    const scenario_paths p = find_in_folder(inputs[0]);
    for (const std::string& path : {p.grid, p.stations, p.plan}) load(path);
  } else {
    for (const std::string& path : inputs)
      if (const std::optional<file_kind> kind = load(path))
        throw failed("two " + std::string(kind_title(*kind)) + "s: '" + files[*kind].path +
                     "' and '" + path + "'");
  }
  for (const file_kind kind : {file_kind::grid, file_kind::stations, file_kind::plan})
    if (files.count(kind) == 0)
      throw failed("no " + std::string(kind_title(kind)) + " among the files named");
  loaded_scenario s{std::move(files.at(file_kind::grid)), std::move(files.at(file_kind::stations)),
                    std::move(files.at(file_kind::plan)), std::move(plan_pieces)};
  return s;
}

std::string scenario_mismatch(const loaded_scenario& s) {
  const std::int64_t extent = s.plan_points()->extent();
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

loaded_scenario load_scenario(const std::vector<std::string>& inputs, plan_walker* walker) {
  loaded_scenario s = load_scenario_files(inputs, walker);
  if (std::string why = scenario_mismatch(s); !why.empty()) throw failed(why);
  return s;
}

}  // namespace scenario
