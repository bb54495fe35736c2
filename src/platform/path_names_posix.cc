#include "platform/path_names.h"

namespace scenario {

std::filesystem::path path_from_utf8(std::string_view utf8) {
  return std::filesystem::path(utf8);
}

std::string utf8_of(const std::filesystem::path& path) {
  return path.string();
}

std::string_view file_name_of(std::string_view path) {
  const auto slash = path.find_last_of('/');
  return slash == path.npos ? path : path.substr(slash + 1);
}

std::string name_as_stored(const std::string& path) {
  return path;  // names match exactly: the name typed is the name stored
}

bool file_name_ends_with(std::string_view name, std::string_view suffix) {
  return name.ends_with(suffix);
}

}  // namespace scenario
