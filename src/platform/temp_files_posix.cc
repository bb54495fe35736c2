#include "platform/temp_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <mutex>
#include <string_view>

#include "platform/files.h"
#include "platform/set_intent.h"

namespace scenario {
namespace {

constexpr int k_stop_signals[] = {SIGINT, SIGTERM, SIGHUP};

// The live temporary files, in a form the signal handler may read: fixed
// buffers, each marked used only once its path is complete.
struct temp_slot {
  char path[PATH_MAX];
  volatile std::sig_atomic_t used;
};
constexpr int k_slots = 16;
temp_slot g_slots[k_slots];
std::mutex g_slots_mutex;

extern "C" void remove_temps_and_stop(int sig) {
  for (temp_slot& s : g_slots)
    if (s.used != 0) ::unlink(s.path);
  // The handler was installed to run once: the signal, raised again, now
  // ends the process as it would have without it.
  ::raise(sig);
}

void install_handlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    ::signal(SIGXFSZ, SIG_IGN);
    for (const int sig : k_stop_signals) {
      struct sigaction before {};
      // A signal the caller chose to ignore or to handle stays so.
      if (::sigaction(sig, nullptr, &before) != 0 || before.sa_handler != SIG_DFL) continue;
      struct sigaction act {};
      act.sa_handler = remove_temps_and_stop;
      act.sa_flags = SA_RESETHAND;
      sigemptyset(&act.sa_mask);
      ::sigaction(sig, &act, nullptr);
    }
  });
}

bool process_runs(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

std::string temp_name_for(const std::string& path) {
  return new_name_for(path, process_mark());
}

void remove_stale_temps(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const auto me = static_cast<unsigned long>(::getpid());
  while (const dirent* e = ::readdir(dir)) {
    const unsigned long owner = temp_owner(e->d_name);
    if (owner == 0 || owner == me || process_runs(static_cast<long>(owner))) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      ::unlinkat(::dirfd(dir), e->d_name, 0);
  }
  ::closedir(dir);
}

temp_guard::temp_guard(const std::string& path) : slot_(-1) {
  install_handlers();
  if (path.size() >= PATH_MAX) throw io_error(path, "create", std::strerror(ENAMETOOLONG));
  const std::lock_guard<std::mutex> lock(g_slots_mutex);
  for (int i = 0; i < k_slots; ++i) {
    temp_slot& s = g_slots[i];
    if (s.used != 0) continue;
    std::memcpy(s.path, path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_release);
    s.used = 1;
    slot_ = i;
    return;
  }
  throw io_error(path, "create", "too many files being written at once");
}

temp_guard::~temp_guard() {
  const std::lock_guard<std::mutex> lock(g_slots_mutex);
  g_slots[slot_].used = 0;
}

signals_held::signals_held() {
  sigset_t stop;
  sigemptyset(&stop);
  for (const int sig : k_stop_signals) sigaddset(&stop, sig);
  ::pthread_sigmask(SIG_BLOCK, &stop, &before_);
}

signals_held::~signals_held() {
  ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

}  // namespace scenario
