// Facts read off the three decoded tables, shared by the dump and the
// picture: names of cell kinds and slot roles, runs of the per-cell values,
// the elevation profile, the railway's own kilometres, the curves and a
// summary of the plan.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/percorso.h"
#include "model/profilo.h"
#include "model/scenario_constants.h"
#include "model/stazioni.h"
#include "output/plan_reader.h"

namespace scenario {

// The length of a cell, for arithmetic in metres.
inline constexpr double k_cell_span = k_cell_metres;

// What a record of the station table holds.
enum class slot_role {
  unused,        // slot 0, and every all-zero slot between stations and board texts
  station,       // from slot 1 up
  board_text,    // from slot 80 down: a text board's text, nome only
  km_reference,  // 81 to 83
  train_values,  // 84: braked mass, route length, cars
  line_values,   // 85: line name, backgrounds, stamps
  train_number,  // 86: train number, signal repetition, sand, clock
};

std::string_view role_name(slot_role role);

// The role of every slot. Slots 1 to 80 are told apart by content: board
// texts are the unbroken run of name-only records that ends at slot 80, empty
// records are unused, and every other record is a station.
std::array<slot_role, k_station_slots> slot_roles(const stazioni_t& table);

// A stretch of cells first to last (inclusive) sharing one value of a field.
struct cell_run {
  std::size_t first = 0;
  std::size_t last = 0;
  std::uint8_t value = 0;
};

// The runs of one per-cell field (ambiente, vel_limite, pendenza, aderenza)
// over the whole grid, in cell order.
std::vector<cell_run> runs_of(const percorso_t& grid, std::uint8_t cella::*field);

// The height in metres, relative to the start, at every cell boundary: entry
// n is where cell n begins, the last entry where the grid ends. Each cell
// climbs its gradient (pendenza - 100, per mille) over 50 m.
std::vector<double> elevation_profile(const percorso_t& grid);

// A plan point: x is coordinate 0, y coordinate 1, in plan metres.
struct plan_point {
  double x = 0;
  double y = 0;
};

// A point of the plan when both its coordinates are set.
bool plan_has(const profilo_t& plan, std::size_t metre);
plan_point plan_at(const profilo_t& plan, std::size_t metre);
bool plan_has(const plan_cursor& plan, std::size_t metre);
plan_point plan_at(const plan_cursor& plan, std::size_t metre);

struct plan_summary {
  std::int32_t extent = -1;  // E, the last metre of the plan
  std::size_t points = 0;    // metres with both coordinates set
  std::size_t first_metre = 0;
  std::size_t last_metre = 0;
  plan_point first;
  plan_point last;
  plan_point low;          // the bounding box: smallest x and y
  plan_point high;         // largest x and y
  double path_length = 0;  // the sum of the steps between set points
  // The change of direction from the first step to the last, in degrees,
  // positive for a turn to the right (from coordinate 1 towards coordinate 0).
  double net_turning = 0;
  double total_turning = 0;  // the sum of every turn, either way, in degrees
};

// The summary of a plan; points 0 when no metre is set. One walk along it.
plan_summary summarise_plan(const plan_source& plan);
plan_summary summarise_plan(const profilo_t& plan);

// A kilometric reference as the station table carries it once ordered: at
// route position `position` (m) the railway's own count reads `value` (m),
// the flag's 100 m already added.
struct km_reference {
  std::int32_t position = 0;
  std::int32_t value = 0;
};

// The references of records 81 to 83 that are set (a position or a value
// other than 0), smallest position first.
std::vector<km_reference> km_references(const stazioni_t& table);

// The railway's count at route position p (m). Each reference holds from its
// position to the next one's, and the count runs down from its value as the
// route goes on (the shipped line starts at 172+100 and its slowdown order
// puts 51150 m after post 121); positions before the first reference count
// back from it. Nothing when no reference is set.
std::optional<double> railway_metres_at(const std::vector<km_reference>& refs, double p);

// A count in metres as a railway writes it: "172+100", "0+050", "-1+200".
std::string km_text(std::int64_t metres);

// A kilometre post: where along the route the count passes a whole multiple
// of the step, and the count there.
struct km_post {
  double position = 0;
  std::int64_t value = 0;
};

// The posts at every multiple of step (m, above 0) of the count between
// route positions from and to, in route order.
std::vector<km_post> km_posts(const std::vector<km_reference>& refs, double from, double to,
                              std::int64_t step);

// A stretch of the plan that turns at one curvature: metres first to last,
// the turn happening on the steps after first up to last (so a record
// "curvad6, 500, 300" gives 500 to 800).
struct curve_run {
  std::size_t first = 0;
  std::size_t last = 0;
  int curve_class = 0;   // the keyword digit 1 to 6; 0 for a curvature no keyword gives
  int side = 0;          // +1 right (keyword "d"), -1 left ("s")
  double curvature = 0;  // per metre, as measured, positive to the right
};

// The curves of a plan, read off its points, in metre order. One walk
// along it.
std::vector<curve_run> curve_runs(const plan_source& plan);
std::vector<curve_run> curve_runs(const profilo_t& plan);

// What a picture of the plan needs before it draws, gathered in one walk
// along it (the walk that checks the plan file, or its own): which metres
// are set, the first and the last of them, and the curves.
class plan_outline final : public plan_walker {
 public:
  void take(const plan_window& w) override;
  void end(std::size_t metres) override;

  // True once every metre of a plan has been taken.
  bool complete() const { return complete_; }
  std::size_t metres() const { return seen_; }
  // Metres with both coordinates set; the first and last of them (0 when none).
  std::size_t points() const { return points_; }
  std::size_t first_metre() const { return first_; }
  std::size_t last_metre() const { return last_; }
  bool has(std::size_t metre) const {
    return metre < seen_ && (set_[metre / 64] >> (metre % 64) & 1) != 0;
  }
  // The set metre nearest to m, within the first and the last, the one
  // before it on a tie; the first when none is set.
  std::size_t nearest_set(double m) const;
  const std::vector<curve_run>& curves() const { return curves_; }

 private:
  std::size_t seen_ = 0;
  std::size_t points_ = 0;
  std::size_t first_ = 0;
  std::size_t last_ = 0;
  std::vector<std::uint64_t> set_;  // a bit per metre
  std::vector<curve_run> curves_;
  bool complete_ = false;
  bool open_ = false;       // the last curve run may go on
  double classes_[7] = {};  // the curvature of each keyword digit
  plan_point before_;       // metres n - 2 and n - 1
  plan_point previous_;
};

// The outline of a plan, in one walk along it.
plan_outline outline_of(const plan_source& plan);

}  // namespace scenario
