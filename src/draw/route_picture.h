// One SVG picture of a compiled scenario: the plan of the line with its
// stations, start and end; under it, on one distance axis in km with the
// railway's own kilometre posts, the elevation, the speed limit, the line's
// curves, scenery and adhesion, and the lineside objects. Every object
// carries a tooltip.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "draw/label_placement.h"
#include "inspect/route_facts.h"
#include "model/percorso.h"
#include "model/profilo.h"
#include "model/source_map.h"
#include "model/stazioni.h"
#include "output/plan_reader.h"

namespace scenario {

struct picture_options {
  // The stretch drawn, in metres along the route; the whole line (and what
  // stands past its end) when not given. Clipped to the grid.
  std::optional<double> from;
  std::optional<double> to;
  // Where the objects came from, for their tooltips, with the names of the
  // two descriptions; may be null.
  const source_map* sources = nullptr;
  std::string line_file;
  std::string train_file;
  // Each object's group names the record that made it (data-record="line:12"
  // or "train:7", from sources), for a page that leads from an object to its
  // record. Off for a picture written to a file.
  bool record_ids = false;
};

struct route_picture {
  std::string svg;
  double width = 0;
  double height = 0;
  std::vector<box> labels;   // every label drawn, in picture pixels
  std::vector<box> marks;    // every glyph that stands for an object
  std::size_t overlaps = 0;  // labels drawn over something for want of room
  std::size_t omitted = 0;   // labels left out for want of room
};

// The far end of the whole picture's axis, in metres: the route's end or
// the last object, whichever is further, up to the next whole kilometre,
// within the grid. A stretch to draw lies between 0 and this.
double picture_end(const percorso_t& grid, const stazioni_t& table);

// The picture of the scenario held by the three decoded tables. The grid
// must have at least one cell; an empty plan gives a plan panel that says so.
route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const profilo_t& plan,
                         const picture_options& options = {});
// The same, reading the plan a window at a time.
route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const plan_source& points,
                         const picture_options& options = {});
// The same, with the plan's outline already gathered (the plan file's
// checking walk can gather it): the plan is then read once more, for the
// points drawn.
route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const plan_source& points,
                         const plan_outline& outline, const picture_options& options = {});

}  // namespace scenario
