#include "platform/wide_text.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

namespace scenario {

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
  return wide;
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

bool win32_file_in_use(unsigned long error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_USER_MAPPED_FILE;
}

std::string win32_reason(unsigned long error) {
  struct known {
    unsigned long error;
    int errno_value;
  };
  static constexpr known k_known[] = {
      {ERROR_FILE_NOT_FOUND, ENOENT},    {ERROR_PATH_NOT_FOUND, ENOENT},
      {ERROR_INVALID_DRIVE, ENOENT},     {ERROR_BAD_NETPATH, ENOENT},
      {ERROR_ACCESS_DENIED, EACCES},     {ERROR_WRITE_PROTECT, EACCES},
      {ERROR_DISK_FULL, ENOSPC},         {ERROR_HANDLE_DISK_FULL, ENOSPC},
      {ERROR_FILE_EXISTS, EEXIST},       {ERROR_ALREADY_EXISTS, EEXIST},
      {ERROR_DIRECTORY, ENOTDIR},        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
      {ERROR_INVALID_NAME, EINVAL},      {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
      {ERROR_NOT_ENOUGH_MEMORY, ENOMEM}, {ERROR_OUTOFMEMORY, ENOMEM},
  };
  if (win32_file_in_use(error)) return "the file is in use by another program";
  for (const known& k : k_known)
    if (k.error == error) return std::strerror(k.errno_value);
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string why = n > 0 ? narrow(std::wstring_view(text, n)) : std::string();
  if (text != nullptr) ::LocalFree(text);
  // The system's sentences end with a full stop and a line end.
  while (!why.empty() &&
         (why.back() == '\n' || why.back() == '\r' || why.back() == '.' || why.back() == ' '))
    why.pop_back();
  if (why.empty()) why = "Windows error " + std::to_string(error);
  return why;
}

std::wstring with_backslashes(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

}  // namespace scenario
