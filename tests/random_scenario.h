// A generator of scenarios that compile without a fault, for the tests that
// take a scenario through its binary files and back: every record kind, at
// random positions and values, as an author might write them; and, on
// request, objects laid over one another where the compile lets a later
// record overwrite part of an earlier one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario::testing {

// The ways a later record leaves only part of an earlier one, each a kind a
// scenario may be asked to hold.
enum overlay : unsigned {
  // Speed boards and text boards on the cells that stations' stops take
  // later: a board's values b, c and d stay under the stop, a text board's
  // text stays in its record with no cell showing it.
  k_boards_under_stops = 1u << 0,
  // Signals whose approach marks fall on the marks of stations and of other
  // signals, written before or after them, some with codes whose marks wrap
  // past 255.
  k_marks_over_marks = 1u << 1,
  // Scenery sections overlapping in any order, with boards among them that
  // keep markers off their cells.
  k_sections_any_order = 1u << 2,
  // As many text boards as the stations leave room for: station records and
  // board texts meet with one empty record between them.
  k_slots_full = 1u << 3,
  // Signals written just before a station whose stop takes their cell: the
  // stop keeps their values b, c, d and delay, and their farther marks stay.
  k_signals_under_stops = 1u << 4,
  // Slowdowns written just before a station whose stop takes one of their
  // cells (start, end, warning or an approach cell): the stop keeps the
  // slowdown's values b and c.
  k_stops_over_slowdowns = 1u << 5,
};
inline constexpr std::array<overlay, 6> k_overlays{k_boards_under_stops,  k_marks_over_marks,
                                                   k_sections_any_order,  k_slots_full,
                                                   k_signals_under_stops, k_stops_over_slowdowns};
std::string_view overlay_name(overlay o);

struct generated_scenario {
  std::string line;       // the line description
  std::string train;      // the train description
  unsigned overlays = 0;  // the overlays asked for, a set of `overlay`
};

// The same seed gives the same scenario on every platform; the line name is
// "Gen" and the train number the seed.
generated_scenario random_scenario(std::uint32_t seed);

// A scenario holding at least one of the overlays, chosen by the seed, each
// made on purpose; otherwise as random_scenario.
generated_scenario overlay_scenario(std::uint32_t seed);

// The shipped scenario or a generated one (plain or with overlays), changed
// by one to four edits an author might make: a number changed, a record
// copied, moved or deleted, two sections swapped. The result may fault; the
// line name is "Gen" and the train number the seed.
generated_scenario mutated_scenario(std::uint32_t seed);

// A 1,000,000 m line with 78 stations, a speed board every 5 km and a signal
// every 1.2 km, left where those spacings put them: boards under stops and
// signal marks over station marks wherever they meet. Only a signal that
// would take a board's or a stop's cell moves on by 50 m.
generated_scenario long_overlay_scenario();

}  // namespace scenario::testing
