// Waiting for a save on Windows: each folder is opened for its changes and
// read with ReadDirectoryChangesW, whose records name the file changed; a
// save by rename arrives as the new name of a rename, a save in place as a
// change of the file's size or time. Windows matches names without regard to
// case, and so does the watch.
#include "platform/file_watch.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace scenario {

struct watched_folder {
  std::wstring path;
  std::vector<std::wstring> names;
  HANDLE folder = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  OVERLAPPED pending{};
  alignas(DWORD) char buf[16384];
};

namespace {

constexpr DWORD k_changes = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                            FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;

// The folder and the name of a path; "." for a bare name.
std::pair<std::string, std::string> split(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return {".", path};
  std::string folder = slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return {folder, path.substr(slash + 1)};
}

bool same_name(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

void release(std::vector<watched_folder*>& folders, void*& stop_event) {
  for (watched_folder* w : folders) {
    if (w->folder != INVALID_HANDLE_VALUE) {
      ::CancelIoEx(w->folder, &w->pending);
      DWORD n = 0;
      ::GetOverlappedResult(w->folder, &w->pending, &n, TRUE);
      ::CloseHandle(w->folder);
    }
    if (w->event != nullptr) ::CloseHandle(w->event);
    delete w;
  }
  folders.clear();
  if (stop_event != nullptr) ::CloseHandle(stop_event);
  stop_event = nullptr;
}

bool start_reading(watched_folder& w) {
  ::ResetEvent(w.event);
  w.pending = {};
  w.pending.hEvent = w.event;
  return ::ReadDirectoryChangesW(w.folder, w.buf, sizeof w.buf, FALSE, k_changes, nullptr,
                                 &w.pending, nullptr) != 0;
}

}  // namespace

file_watch::file_watch(const std::vector<std::string>& paths) {
  stop_event_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (stop_event_ == nullptr) throw io_error(".", "watch files in", win32_reason(::GetLastError()));
  try {
    for (const std::string& path : paths) {
      auto [folder, name] = split(path);
      const std::wstring wide_folder = widen(folder);
      auto found = std::find_if(folders_.begin(), folders_.end(),
                                [&](const watched_folder* w) { return w->path == wide_folder; });
      if (found != folders_.end()) {
        (*found)->names.push_back(widen(name));
        continue;
      }
      auto* w = new watched_folder;
      folders_.push_back(w);
      w->path = wide_folder;
      w->names.push_back(widen(name));
      w->folder =
          ::CreateFileW(wide_folder.c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
      w->event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (w->folder == INVALID_HANDLE_VALUE || w->event == nullptr || !start_reading(*w))
        throw io_error(folder, "watch the folder", win32_reason(::GetLastError()));
    }
  } catch (...) {
    release(folders_, stop_event_);
    throw;
  }
}

file_watch::~file_watch() {
  release(folders_, stop_event_);
}

void file_watch::stop() {
  ::SetEvent(stop_event_);
}

bool file_watch::drain() {
  bool hit = false;
  for (watched_folder* w : folders_) {
    DWORD n = 0;
    if (!::GetOverlappedResult(w->folder, &w->pending, &n, FALSE)) {
      if (::GetLastError() == ERROR_IO_INCOMPLETE) continue;
      n = 0;
    }
    // No records (n == 0): more changed than the buffer holds; any may be
    // a save.
    if (n == 0) hit = true;
    for (DWORD at = 0; n > 0;) {
      const auto* e = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(w->buf + at);
      const std::wstring_view name(e->FileName, e->FileNameLength / sizeof(wchar_t));
      if (e->Action != FILE_ACTION_REMOVED && e->Action != FILE_ACTION_RENAMED_OLD_NAME)
        for (const std::wstring& watched : w->names)
          if (same_name(watched, name)) hit = true;
      if (e->NextEntryOffset == 0) break;
      at += e->NextEntryOffset;
    }
    start_reading(*w);
  }
  return hit;
}

file_watch::outcome file_watch::wait(int timeout_ms, int settle_ms) {
  std::vector<HANDLE> events{stop_event_};
  for (const watched_folder* w : folders_) events.push_back(w->event);
  bool saved = false;
  for (;;) {
    const int ms = saved ? settle_ms : timeout_ms;
    const DWORD r = ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(),
                                             FALSE, ms < 0 ? INFINITE : static_cast<DWORD>(ms));
    if (r == WAIT_OBJECT_0) return outcome::stopped;
    if (r == WAIT_TIMEOUT || r == WAIT_FAILED) return saved ? outcome::saved : outcome::timed_out;
    if (drain()) saved = true;
  }
}

}  // namespace scenario
