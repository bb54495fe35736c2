// The folder lock of platform/folder_lock.h on Windows: a folder cannot carry
// a lock of its own there, and a lock file would stay among the files a run
// leaves, so the lock is a named mutex of the session whose name is the
// folder's identity (its volume and its number on it). Windows gives a mutex
// whose holder died to the next waiter, as it drops a dead process's lock.
#include "platform/folder_lock.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "platform/set_intent.h"
#include "platform/temp_files.h"
#include "platform/wide_text.h"

namespace scenario {

// One folder locked by this process, with the number of its holders.
struct held_folder {
  std::wstring identity;
  HANDLE mutex;
  int holders;
};

namespace {

std::mutex g_mutex;
std::vector<held_folder*> g_holds;

constexpr DWORD k_patience_ms = 1000;

// The name of folder's lock, or nothing when the folder cannot be opened.
std::wstring lock_name(const std::string& folder) {
  HANDLE h = ::CreateFileW(widen(folder).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  if (!ok || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return {};
  return L"Local\\scenario_gen-folder-" + std::to_wstring(info.dwVolumeSerialNumber) + L"-" +
         std::to_wstring(info.nFileIndexHigh) + L"-" + std::to_wstring(info.nFileIndexLow);
}

// Waits for the mutex; says so once the wait has lasted k_patience_ms.
// Returns false when it cannot be had at all.
bool wait_for_lock(HANDLE mutex, const std::string& folder, std::ostream& notices) {
  DWORD r = ::WaitForSingleObject(mutex, k_patience_ms);
  if (r == WAIT_TIMEOUT) {
    notices << format_diagnostic(waiting_note(folder)) << std::flush;
    r = ::WaitForSingleObject(mutex, INFINITE);
  }
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

}  // namespace

folder_lock::folder_lock(const std::string& folder, std::ostream& notices) : hold_(nullptr) {
  const std::wstring name = lock_name(folder);
  if (name.empty()) return;
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    for (held_folder* h : g_holds)
      if (h->identity == name) {
        ++h->holders;
        hold_ = h;
        return;
      }
  }
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return;
  // Waiting happens outside g_mutex: another thread of this process may
  // meanwhile take the lock of another folder.
  if (!wait_for_lock(mutex, folder, notices)) {
    ::CloseHandle(mutex);
    return;
  }
  try {
    finish_interrupted_set(folder);
  } catch (...) {
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
    throw;
  }
  remove_stale_temps(folder);
  const std::lock_guard<std::mutex> lock(g_mutex);
  hold_ = new held_folder{name, mutex, 1};
  g_holds.push_back(hold_);
}

folder_lock::~folder_lock() {
  if (hold_ == nullptr) return;
  const std::lock_guard<std::mutex> lock(g_mutex);
  if (--hold_->holders > 0) return;
  ::ReleaseMutex(hold_->mutex);
  ::CloseHandle(hold_->mutex);
  std::erase(g_holds, hold_);
  delete hold_;
}

int folder_lock::folder_descriptor() const {
  // Nothing to sync: MOVEFILE_WRITE_THROUGH returns once the name is on disk.
  return -1;
}

}  // namespace scenario
