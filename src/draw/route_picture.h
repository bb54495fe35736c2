// One SVG picture of a compiled scenario: the plan of the line with its
// stations, start and end; under it, on one distance axis in km, the
// elevation, the speed limit and the lineside objects.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "draw/label_placement.h"
#include "model/percorso.h"
#include "model/profilo.h"
#include "model/stazioni.h"

namespace scenario {

struct route_picture {
  std::string svg;
  std::vector<box> labels;   // every label drawn, in picture pixels
  std::size_t overlaps = 0;  // labels drawn over something for want of room
  std::size_t omitted = 0;   // labels left out for want of room
};

// The picture of the scenario held by the three decoded tables. The grid
// must have at least one cell; an empty plan gives a plan panel that says so.
route_picture draw_route(const percorso_t& grid, const stazioni_t& table, const profilo_t& plan);

}  // namespace scenario
