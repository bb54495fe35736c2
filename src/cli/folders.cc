#include "cli/folders.h"

#include <filesystem>
#include <system_error>

namespace scenario {

namespace fs = std::filesystem;

std::string make_folder(const std::string& dir) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return {};
  if (something_at(dir)) return "'" + dir + "' is not a folder";
  fs::create_directories(dir, ec);
  if (ec) return "cannot create the folder '" + dir + "': " + ec.message();
  return {};
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  const bool same = fs::equivalent(a, b, ec);
  return !ec && same;
}

bool something_at(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace scenario
