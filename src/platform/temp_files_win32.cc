// The temporary files of platform/temp_files.h on Windows. Ctrl-C, Ctrl-Break
// and the closing of the console reach the process as a call of its console
// handler on a thread of its own; the handler removes the live temporary
// files, once no set is being put in place, and lets the process end.
#include "platform/temp_files.h"

#include <windows.h>

#include <charconv>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/set_intent.h"
#include "platform/wide_text.h"

namespace scenario {
namespace {

std::mutex g_temps_mutex;
std::vector<std::pair<int, std::wstring>> g_temps;
int g_next_slot = 0;
// Held shared by every signals_held, taken whole by the console handler.
SRWLOCK g_commit_lock = SRWLOCK_INIT;

BOOL WINAPI remove_temps_and_stop(DWORD) {
  ::AcquireSRWLockExclusive(&g_commit_lock);
  {
    const std::lock_guard<std::mutex> lock(g_temps_mutex);
    for (const auto& [slot, path] : g_temps) ::DeleteFileW(path.c_str());
  }
  // The process now ends as it would have without the handler.
  return FALSE;
}

void install_handler() {
  static std::once_flag once;
  std::call_once(once, [] { ::SetConsoleCtrlHandler(remove_temps_and_stop, TRUE); });
}

bool process_runs(unsigned long pid) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool runs = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  ::CloseHandle(process);
  return runs;
}

}  // namespace

std::string temp_name_for(const std::string& path) {
  return new_name_for(path, process_mark());
}

void remove_stale_temps(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = with_backslashes(widen(join_path(folder, "*")));
  HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  const unsigned long me = ::GetCurrentProcessId();
  do {
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
      continue;
    const std::string name = narrow(found.cFileName);
    const unsigned long owner = temp_owner(name);
    if (owner == 0 || owner == me || process_runs(owner)) continue;
    ::DeleteFileW(widen(join_path(folder, name)).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

temp_guard::temp_guard(const std::string& path) : slot_(-1) {
  install_handler();
  const std::lock_guard<std::mutex> lock(g_temps_mutex);
  slot_ = g_next_slot++;
  g_temps.emplace_back(slot_, widen(path));
}

temp_guard::~temp_guard() {
  const std::lock_guard<std::mutex> lock(g_temps_mutex);
  std::erase_if(g_temps, [this](const auto& t) { return t.first == slot_; });
}

signals_held::signals_held() {
  ::AcquireSRWLockShared(&g_commit_lock);
}

signals_held::~signals_held() {
  ::ReleaseSRWLockShared(&g_commit_lock);
}

}  // namespace scenario
