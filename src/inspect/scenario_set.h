// The three binary files of one scenario, found in a folder or named, read
// through the decoders and checked to belong together.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inspect/inspect.h"
#include "output/plan_reader.h"

namespace scenario {

// The three files of one scenario.
struct scenario_paths {
  std::string grid;
  std::string stations;
  std::string plan;
};

// The one scenario in folder: a station table NAME_NUM.sim with its grid
// NAME_NUM.dat and its plan NAME_linea.dat. Throws failure when there is
// none, or more than one.
scenario_paths find_in_folder(const std::string& folder);

struct loaded_scenario {
  loaded_file grid;
  loaded_file stations;
  loaded_file plan;  // a plan read by pieces keeps no table here
  // The plan read by pieces from its file, checked whole; null when
  // plan.plan holds it.
  std::shared_ptr<const plan_reader> plan_pieces;

  // The plan, wherever it is kept; valid while the scenario is.
  std::shared_ptr<const plan_source> plan_points() const;
};

// Loads the three files of inputs (one folder, or the three files in any
// order) through the decoders, without checking that they belong together.
// A plan file that its name says is one, and that is a regular file, is
// checked whole but read by pieces when used: a plan of a million metres is
// never held. A walker given takes every metre of a plan read by pieces in
// the walk that checks it. Throws failure.
loaded_scenario load_scenario_files(const std::vector<std::string>& inputs,
                                    plan_walker* walker = nullptr);

// Why the three files are not one scenario, or an empty text when they are:
// the plan runs 7000 m past the route length of record 84, the grid has one
// cell per 50 m of the plan, and the grid's stamp is the check code of the
// table's names.
std::string scenario_mismatch(const loaded_scenario& s);

// load_scenario_files, refusing files that are not one scenario. Throws
// failure.
loaded_scenario load_scenario(const std::vector<std::string>& inputs,
                              plan_walker* walker = nullptr);

}  // namespace scenario
