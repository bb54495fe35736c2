// File-system checks and listings: the output folder, the guard that keeps
// an output from landing on an input, and what a folder holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

// Makes sure dir is a folder, creating it and any missing parents. Returns
// an empty text, or why it cannot be used ("'x' is not a folder").
std::string make_folder(const std::string& dir);

// True when both paths exist and name the same file (through links too).
bool same_file(const std::string& a, const std::string& b);

// True when anything (a file, a folder, a dangling link) stands at path.
bool something_at(const std::string& path);

// True when path names a folder (through links too).
bool is_folder(const std::string& path);

// True when this process may create files in folder.
bool folder_is_writable(const std::string& folder);

// The names of the regular files in folder (through links too), sorted.
// Throws io_error when the folder cannot be read.
std::vector<std::string> regular_files_in(const std::string& folder);

// The size of the file at path in bytes. Throws io_error when it cannot be
// told.
std::uint64_t size_of_file(const std::string& path);

}  // namespace scenario
