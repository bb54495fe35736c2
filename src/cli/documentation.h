// Where the person reading the help finds the authors' reference.
#pragma once

#include <string>

namespace scenario {

// The folder that holds authoring.md and examples/: the installed one beside
// the running executable, else the source tree's docs/ when the program runs
// from its build folder, else where an installation puts it.
std::string documentation_folder();

}  // namespace scenario
