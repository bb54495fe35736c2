// The folder checks and listings of platform/folders.h on Windows, by wide
// names.
#include "platform/folders.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

DWORD attributes_of(const std::string& path) {
  return ::GetFileAttributesW(widen(path).c_str());
}

// The volume and the file's number on it, which name one file whatever path
// leads to it; false when the file cannot be opened.
bool identity_of(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h =
      ::CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  return ok;
}

}  // namespace

std::string make_folder(const std::string& dir) {
  if (is_folder(dir)) return {};
  if (something_at(dir)) return "'" + dir + "' is not a folder";
  std::error_code ec;
  fs::create_directories(fs::path(widen(dir)), ec);
  if (ec)
    return "cannot create the folder '" + dir + "': " +
           (ec.category() == std::system_category() ? win32_reason(ec.value()) : ec.message());
  return {};
}

bool same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia{};
  BY_HANDLE_FILE_INFORMATION ib{};
  return identity_of(a, ia) && identity_of(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool something_at(const std::string& path) {
  return attributes_of(path) != INVALID_FILE_ATTRIBUTES;
}

bool is_folder(const std::string& path) {
  const DWORD attributes = attributes_of(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool folder_is_writable(const std::string& folder) {
  if (!is_folder(folder)) return false;
  // Windows tells this only by trying: a file that is gone once closed.
  const std::string probe =
      join_path(folder, ".scenario_gen-probe-" + std::to_string(::GetCurrentProcessId()));
  HANDLE h = ::CreateFileW(widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

std::vector<std::string> regular_files_in(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = with_backslashes(widen(join_path(folder, "*")));
  HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return names;
    throw io_error(folder, "read the folder", win32_reason(error));
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.push_back(narrow(found.cFileName));
  } while (::FindNextFileW(search, &found));
  const DWORD error = ::GetLastError();
  ::FindClose(search);
  if (error != ERROR_NO_MORE_FILES) throw io_error(folder, "read the folder", win32_reason(error));
  std::sort(names.begin(), names.end());
  return names;
}

std::uint64_t size_of_file(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data))
    throw io_error(path, "read", win32_reason(::GetLastError()));
  return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace scenario
