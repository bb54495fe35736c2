// The stretch a picture shows, from the --from and --to options (route
// kilometres), shared by draw and watch.
#pragma once

#include <string>

#include "cli/options.h"
#include "draw/route_picture.h"

namespace scenario {

// Sets the stretch of picture from the options; returns why they are wrong
// ("--from '-1' is not a distance in km", "--to must be beyond --from"), or
// an empty string.
std::string read_stretch(const command_options& o, picture_options& picture);

// Why the stretch read by read_stretch lies outside a picture whose axis
// ends at end metres ("--from '25' is beyond the route's end: the picture
// spans 0 to 20 km"), or an empty string.
std::string stretch_outside(const command_options& o, const picture_options& picture, double end);

}  // namespace scenario
