// The records of a line and a train description laid out as their lines, in
// the sections and spacing the program writes its own descriptions with.
#pragma once

#include <string>
#include <vector>

#include "inspect/description_records.h"

namespace scenario {

// The lines of the line description, from "[generale]" to "[fine]".
std::vector<std::string> line_description_lines(const line_records& r);

// The lines of the train description, from "[generale]" to "[fine]".
std::vector<std::string> train_description_lines(const train_records& r);

}  // namespace scenario
