#include "platform/path_names.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace scenario {
namespace {

char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::filesystem::path path_from_utf8(std::string_view utf8) {
  return std::filesystem::path(widen(utf8));
}

std::string utf8_of(const std::filesystem::path& path) {
  return narrow(path.native());
}

std::string_view file_name_of(std::string_view path) {
  const auto separator = path.find_last_of("/\\:");
  return separator == path.npos ? path : path.substr(separator + 1);
}

std::string name_as_stored(const std::string& path) {
  const std::string_view name = file_name_of(path);
  // A search by a name with wildcards would find another file.
  if (name.empty() || name == "." || name == ".." || path.find_first_of("*?") != std::string::npos)
    return path;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileExW(widen(path).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return path;
  ::FindClose(search);
  return path.substr(0, path.size() - name.size()) + narrow(found.cFileName);
}

bool file_name_ends_with(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (ascii_lower(tail[i]) != ascii_lower(suffix[i])) return false;
  return true;
}

}  // namespace scenario
