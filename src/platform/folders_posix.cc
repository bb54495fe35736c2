#include "platform/folders.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

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

bool is_folder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool folder_is_writable(const std::string& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::vector<std::string> regular_files_in(const std::string& folder) {
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code type_ec;
    if (entry.is_regular_file(type_ec)) names.push_back(entry.path().filename().string());
  }
  if (ec) throw io_error(folder, "read the folder", ec.message());
  std::sort(names.begin(), names.end());
  return names;
}

std::uint64_t size_of_file(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) throw io_error(path, "read", ec.message());
  return size;
}

}  // namespace scenario
