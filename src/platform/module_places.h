#pragma once

#include <string_view>

namespace scenario {

// Where the program looks for its modules (platform/modules.h), as the build
// was configured: written into a generated file of its own
// (cmake/module_places.cc.in), so that building again for another install
// prefix compiles that file alone.
std::string_view modules_from_program_folder();  // relative to the program's folder
std::string_view modules_built_folder();         // where this build makes them

}  // namespace scenario
