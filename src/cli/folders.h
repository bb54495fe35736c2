// File-system checks of the authoring commands: the output folder and the
// guard that keeps an output from landing on an input.
#pragma once

#include <string>

namespace scenario {

// Makes sure dir is a folder, creating it and any missing parents. Returns
// an empty text, or why it cannot be used ("'x' is not a folder").
std::string make_folder(const std::string& dir);

// True when both paths exist and name the same file (through links too).
bool same_file(const std::string& a, const std::string& b);

// True when anything (a file, a folder, a dangling link) stands at path.
bool something_at(const std::string& path);

}  // namespace scenario
