#include "platform/input.h"

#include <windows.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace scenario {

std::optional<std::string> read_input(const std::string& path, std::size_t limit) {
  const std::string name = input_name(path);
  const bool standard = path == "-";
  HANDLE own = INVALID_HANDLE_VALUE;
  HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (standard && ::GetConsoleMode(h, &mode))
    throw failure(program_diagnostic(
        "the standard input is a terminal; pipe a file into it or name the file"));
  if (!standard) {
    const std::wstring wide = widen(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      throw io_error(name, "read", std::strerror(EISDIR));
    own = ::CreateFileW(wide.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (own == INVALID_HANDLE_VALUE) throw io_error(name, "read", win32_reason(::GetLastError()));
    h = own;
  }
  struct closer {
    HANDLE h;
    ~closer() {
      if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
  } const close_own{own};
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  if (::GetFileType(h) == FILE_TYPE_DISK) {
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h, &size)) {
      if (static_cast<std::uint64_t>(size.QuadPart) > limit) return std::nullopt;
      content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
  }
  std::array<char, 65536> buf{};
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h, buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr)) {
      // The writer of a pipe closing its end is the end of the input.
      const DWORD error = ::GetLastError();
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;
      throw io_error(name, "read", win32_reason(error));
    }
    if (n == 0) break;
    content.append(buf.data(), n);
    // A pipe tells no size: stop as soon as it is known to be too long.
    if (content.size() > limit) return std::nullopt;
  }
  return content;
}

}  // namespace scenario
