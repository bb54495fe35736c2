// The file sets of platform/file_set.h on Windows. Each member is written to
// its temporary file, which may be deleted while open (a Ctrl-C removes it);
// at the commit the older file is kept under a second name by a hard link,
// then MoveFileExW puts the new file under the name in one step. A failure
// moves every kept older file back, so the set stays whole.
#include "platform/file_set.h"

#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include "platform/file_faults.h"
#include "platform/files.h"
#include "platform/set_intent.h"
#include "platform/wide_text.h"

namespace scenario {
namespace {

// A name another program holds open is tried again this often, about two
// seconds in all: long enough for a virus scanner to let go.
constexpr int k_busy_tries = 20;
constexpr auto k_busy_pause = std::chrono::milliseconds(100);

// output_file keeps its file in an int. Windows keeps kernel handles within
// 32 bits on 64-bit systems, so a handle survives the trip through one.
int handle_to_int(HANDLE h) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}
HANDLE int_to_handle(int fd) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

std::string errno_reason(int err) {
  return std::strerror(err);
}

// The name under which the older file of path waits for the set's end,
// marked as this process's, so that a crash leaves nothing a later writer
// would not remove.
std::string kept_name_of(const std::string& path) {
  return kept_name_for(path, process_mark());
}

// Refuses what may not be replaced by a file under path, without creating
// anything there.
void check_name(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return;
    throw io_error(path, "create", win32_reason(error));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    throw io_error(path, "create", errno_reason(EISDIR));
  // A file its owner made read-only is refused, as writing it in place would be.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
    throw io_error(path, "create", errno_reason(EACCES));
}

int injected_write_error(const std::string& path, std::uint64_t offset, std::size_t size) {
  before_set_step(set_step::write);
  const file_faults* f = active_file_faults();
  return f != nullptr && f->write_error ? f->write_error(path, offset, size) : 0;
}

// Writes bytes at offset; the file's own position is not used.
void write_at_offset(HANDLE h, const std::string& path, std::uint64_t offset,
                     std::string_view bytes) {
  while (!bytes.empty()) {
    if (const int err = injected_write_error(path, offset, bytes.size()); err != 0)
      throw io_error(path, "write", errno_reason(err));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
    DWORD n = 0;
    if (!::WriteFile(h, bytes.data(), chunk, &n, &at))
      throw io_error(path, "write", win32_reason(::GetLastError()));
    bytes.remove_prefix(n);
    offset += n;
  }
}

// Runs step until it succeeds or fails for another reason than a file held
// open elsewhere, trying again for a bounded time; returns the last error.
template <typename Step>
DWORD patiently(Step step) {
  for (int tries = 1;; ++tries) {
    if (step()) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    if ((!win32_file_in_use(error) && error != ERROR_ACCESS_DENIED) || tries == k_busy_tries)
      return error;
    std::this_thread::sleep_for(k_busy_pause);
  }
}

// Why path could not be replaced: a denied access is told as the file being
// in use when another program holds it open without sharing.
std::string replace_reason(const std::wstring& path, DWORD error) {
  if (error == ERROR_ACCESS_DENIED) {
    HANDLE h =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE)
      ::CloseHandle(h);
    else if (win32_file_in_use(::GetLastError()))
      error = ERROR_SHARING_VIOLATION;
  }
  return win32_reason(error);
}

}  // namespace

output_file::~output_file() {
  if (fd_ != -1) ::CloseHandle(int_to_handle(fd_));
}

void output_file::write_through(std::string_view bytes) {
  write_at_offset(int_to_handle(fd_), path_, written_, bytes);
  written_ += bytes.size();
}

void output_file::write_at(std::uint64_t offset, std::string_view bytes) {
  write_at_offset(int_to_handle(fd_), path_, offset, bytes);
}

void output_file::finish() {
  write_through(buffer_);
  buffer_.clear();
  const HANDLE h = int_to_handle(fd_);
  if (sync_writes()) {
    before_set_step(set_step::sync);
    if (!::FlushFileBuffers(h)) throw io_error(path_, "write", win32_reason(::GetLastError()));
  }
  fd_ = -1;
  if (!::CloseHandle(h)) throw io_error(path_, "write", win32_reason(::GetLastError()));
}

file_set::~file_set() {
  if (committed_) return;
  for (const auto& f : members_) {
    if (f->fd_ != -1) {
      ::CloseHandle(int_to_handle(f->fd_));
      f->fd_ = -1;
    }
    ::DeleteFileW(widen(f->temp_).c_str());
  }
}

output_file& file_set::add(std::string_view name) {
  std::unique_ptr<output_file> f = new_member(name, check_name);
  const std::wstring wide_temp = widen(f->temp_);
  // Shared for deleting, so that a Ctrl-C can remove it while it is written.
  const HANDLE h =
      ::CreateFileW(wide_temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw io_error(f->path_, "create", win32_reason(::GetLastError()));
  f->fd_ = handle_to_int(h);
  return keep_member(std::move(f), name);
}

void file_set::put_in_place(output_file& f) {
  const std::wstring path = widen(f.path_);
  const std::wstring temp = widen(f.temp_);
  const std::wstring kept = widen(kept_name_of(f.path_));
  const bool was_free = ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
  if (!was_free) {
    // Replacing a name needs the right to delete the file under it, which a
    // program holding it open without sharing withholds: asked first, so
    // that nothing is made for a name that cannot be replaced.
    const DWORD held = patiently([&] {
      HANDLE h = ::CreateFileW(path.c_str(), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      ::CloseHandle(h);
      return true;
    });
    if (held != ERROR_SUCCESS) throw io_error(f.path_, "replace", replace_reason(path, held));
    // The older file stays reachable under the kept name until the whole set
    // is in place; a file system without hard links gets a copy.
    ::DeleteFileW(kept.c_str());
    before_set_step(set_step::rename);
    DWORD error = patiently([&] { return ::CreateHardLinkW(kept.c_str(), path.c_str(), nullptr); });
    if (error != ERROR_SUCCESS && !win32_file_in_use(error))
      error = patiently([&] { return ::CopyFileW(path.c_str(), kept.c_str(), TRUE); });
    if (error != ERROR_SUCCESS) throw io_error(f.path_, "replace", replace_reason(path, error));
  }
  before_set_step(set_step::rename);
  const DWORD error = patiently([&] {
    return ::MoveFileExW(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  });
  if (error != ERROR_SUCCESS) {
    if (!was_free) ::DeleteFileW(kept.c_str());
    throw io_error(f.path_, "replace", replace_reason(path, error));
  }
  f.placed_ = was_free ? output_file::placed::into_free : output_file::placed::over_older;
}

bool file_set::take_back(output_file& f) {
  const std::wstring path = widen(f.path_);
  DWORD error = ERROR_SUCCESS;
  if (f.placed_ == output_file::placed::over_older) {
    const std::wstring kept = widen(kept_name_of(f.path_));
    error = patiently([&] {
      return ::MoveFileExW(kept.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
  } else if (f.placed_ == output_file::placed::into_free) {
    error = patiently([&] { return ::DeleteFileW(path.c_str()); });
  }
  f.placed_ = output_file::placed::no;
  return error == ERROR_SUCCESS;
}

void file_set::drop_older(output_file& f) {
  before_set_step(set_step::remove);
  ::DeleteFileW(widen(kept_name_of(f.path_)).c_str());
}

// MOVEFILE_WRITE_THROUGH has already made each name durable.
void file_set::sync_folder() {}

void replace_file(const std::string& path, std::string_view bytes) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "\\" : path.substr(0, slash);
  // A drive's root keeps its backslash: "C:" alone is the drive's current folder.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  file_set set(std::move(folder));
  set.add(slash == std::string::npos ? std::string_view(path)
                                     : std::string_view(path).substr(slash + 1))
      .write(bytes);
  set.commit();
}

// The older file is kept by a link or a copy: a new file's waiting name
// alone tells whether it is in place.
std::uint64_t file_identity(const std::string&) {
  return 0;
}

unsigned long current_process_id() {
  return ::GetCurrentProcessId();
}

void end_process_at_once() {
  ::TerminateProcess(::GetCurrentProcess(), 137);
  ::ExitProcess(137);  // never reached
}

void move_over(const std::string& from, const std::string& to) {
  const std::wstring wide_from = widen(from);
  const std::wstring wide_to = widen(to);
  const DWORD error = patiently([&] {
    return ::MoveFileExW(wide_from.c_str(), wide_to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  });
  if (error != ERROR_SUCCESS) throw io_error(to, "replace", replace_reason(wide_to, error));
}

// MOVEFILE_WRITE_THROUGH has already made each name durable.
void sync_folder_named(const std::string&) {}

void write_intent_file(const std::string&, const std::string& temp, const std::string& path,
                       std::string_view bytes) {
  const std::wstring wide_temp = widen(temp);
  const HANDLE h =
      ::CreateFileW(wide_temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw io_error(path, "create", win32_reason(::GetLastError()));
  before_set_step(set_step::write);
  DWORD n = 0;
  bool whole = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
               n == bytes.size();
  if (whole && sync_writes()) {
    before_set_step(set_step::sync);
    whole = ::FlushFileBuffers(h) != 0;
  }
  const DWORD error = ::GetLastError();
  ::CloseHandle(h);
  if (!whole) {
    ::DeleteFileW(wide_temp.c_str());
    throw io_error(path, "write", win32_reason(error));
  }
  before_set_step(set_step::rename);
  try {
    move_over(temp, path);
  } catch (...) {
    ::DeleteFileW(wide_temp.c_str());
    throw;
  }
}

}  // namespace scenario
