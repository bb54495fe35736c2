// Names in paths as the file system reads them: on Linux a slash ends a
// folder and names match exactly; on Windows a backslash or a slash ends a
// folder (a drive's colon too) and names match without regard to case, so
// that a file the system opens as NAME_linea.txt is read as one whatever case
// and separator the user typed.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scenario {

// The path that UTF-8 text names, and the UTF-8 text of a path: the
// program's names are UTF-8 on every system, while a path made from a plain
// string on Windows reads it in the system's narrow code page.
std::filesystem::path path_from_utf8(std::string_view utf8);
std::string utf8_of(const std::filesystem::path& path);

// The last name of path, after its folders.
std::string_view file_name_of(std::string_view path);

// path with its last name spelt as its folder holds it: on Windows, where a
// name typed in another case opens the same file, the file's own spelling,
// as Explorer shows it; path itself on Linux, or when no file has that name.
std::string name_as_stored(const std::string& path);

// True when name ends with suffix as the file system compares names (suffix
// is ASCII).
bool file_name_ends_with(std::string_view name, std::string_view suffix);

}  // namespace scenario
