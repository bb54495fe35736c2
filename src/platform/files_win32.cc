// The file operations of platform/files.h on Windows, through the wide Win32
// calls so that any name the user gives works, whatever the code page.
#include "platform/files.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/wide_text.h"

namespace scenario {
namespace {

// A file another program holds open is tried again this often, for up to
// about two seconds: a virus scanner lets go within that, the simulator or an
// editor does not, and is then named.
constexpr int k_busy_tries = 20;
constexpr auto k_busy_pause = std::chrono::milliseconds(100);

class handle {
 public:
  explicit handle(HANDLE h) : h_(h) {}
  handle(const handle&) = delete;
  handle& operator=(const handle&) = delete;
  ~handle() {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

HANDLE open_for_reading(const std::wstring& path) {
  for (int tries = 1;; ++tries) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || !win32_file_in_use(::GetLastError()) || tries == k_busy_tries)
      return h;
    std::this_thread::sleep_for(k_busy_pause);
  }
}

}  // namespace

std::string executable_folder() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) throw io_error("the program", "find the folder of", win32_reason(::GetLastError()));
    if (n < buf.size()) {
      std::wstring exe(buf.data(), n);
      const auto slash = exe.find_last_of(L"\\/");
      if (slash == std::wstring::npos) return ".";
      // A drive's root keeps its backslash ("C:\"), as Windows reports it;
      // the names joined to it then have two in a row, which Windows accepts.
      if (slash == 2 && exe[1] == L':') return narrow(exe.substr(0, 3));
      return narrow(exe.substr(0, slash));
    }
    buf.resize(buf.size() * 2);
  }
}

bool file_exists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string read_file(const std::string& path, std::uint64_t max_bytes, std::string_view what) {
  const auto too_large = [&](std::uint64_t size) {
    return io_error(path, "read",
                    std::to_string(size) + " bytes, larger than " + std::string(what) +
                        " may be (at most " + std::to_string(max_bytes) + " bytes)");
  };
  const std::wstring wide = widen(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    throw io_error(path, "open", win32_reason(::GetLastError()));
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    throw io_error(path, "read", "not a regular file");
  const handle h(open_for_reading(wide));
  if (h.get() == INVALID_HANDLE_VALUE) throw io_error(path, "open", win32_reason(::GetLastError()));
  // A device name (CON, NUL, a pipe) is not a file on disk and could wait.
  if (::GetFileType(h.get()) != FILE_TYPE_DISK) throw io_error(path, "read", "not a regular file");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(h.get(), &size))
    throw io_error(path, "read", win32_reason(::GetLastError()));
  if (static_cast<std::uint64_t>(size.QuadPart) > max_bytes)
    throw too_large(static_cast<std::uint64_t>(size.QuadPart));
  std::string content;
  content.reserve(static_cast<std::size_t>(size.QuadPart));
  std::array<char, 65536> buf{};
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h.get(), buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr))
      throw io_error(path, "read", win32_reason(::GetLastError()));
    if (n == 0) break;
    content.append(buf.data(), n);
    // A file that grows while it is read is held to the same limit.
    if (content.size() > max_bytes) throw too_large(content.size());
  }
  return content;
}

bool holds_exactly(const std::string& path, std::string_view bytes) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return false;
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
    return false;
  const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  if (size != bytes.size()) return false;
  try {
    return read_file(path, bytes.size()) == bytes;
  } catch (const io_error&) {
    return false;
  }
}

std::string move_aside(const std::string& path) {
  const std::wstring from = widen(path);
  for (int n = 0;; ++n) {
    std::string aside = path + ".bak";
    if (n > 0) aside += "." + std::to_string(n);
    // Without MOVEFILE_REPLACE_EXISTING a move never replaces anything.
    if (::MoveFileExW(from.c_str(), widen(aside).c_str(), MOVEFILE_WRITE_THROUGH)) return aside;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
    throw io_error(path, "move", win32_reason(error));
  }
}

void remove_file(const std::string& path) {
  const std::wstring wide = widen(path);
  for (int tries = 1;; ++tries) {
    if (::DeleteFileW(wide.c_str())) return;
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
    if (!win32_file_in_use(error) || tries == k_busy_tries)
      throw io_error(path, "delete", win32_reason(error));
    std::this_thread::sleep_for(k_busy_pause);
  }
}

}  // namespace scenario
