// The parts of platform/files.h and platform/input.h that read the same on
// every system; the rest is each system's own (files_posix.cc,
// files_win32.cc, input_posix.cc, input_win32.cc).
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/input.h"

namespace scenario {

std::string join_path(std::string_view folder, std::string_view name) {
  // The system's own separator: '/', or '\\' on Windows.
  constexpr char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  std::string path(folder);
  path += separator;
  path += name;
  return path;
}

std::string input_name(const std::string& path) {
  return path == "-" ? "standard input" : path;
}

}  // namespace scenario
