#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/set_intent.h"
#include "platform/temp_files.h"

namespace scenario {

// One folder locked by this process, with the number of its holders.
struct held_folder {
  dev_t device;
  ino_t inode;
  int fd;
  int holders;
};

namespace {

// flock belongs to the open folder, so a second open in this process would
// wait for the first: holders of one folder share one.
std::mutex g_mutex;
std::vector<held_folder*> g_holds;

constexpr auto k_patience = std::chrono::seconds(1);
constexpr auto k_poll = std::chrono::milliseconds(20);

bool try_lock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// Waits for the lock; says so once the wait has lasted k_patience. Returns
// false when the folder cannot be locked at all.
bool wait_for_lock(int fd, const std::string& folder, std::ostream& notices) {
  const auto start = std::chrono::steady_clock::now();
  while (!try_lock(fd)) {
    if (errno != EWOULDBLOCK) return false;
    if (std::chrono::steady_clock::now() - start >= k_patience) {
      notices << format_diagnostic(waiting_note(folder)) << std::flush;
      while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return false;
      return true;
    }
    std::this_thread::sleep_for(k_poll);
  }
  return true;
}

}  // namespace

folder_lock::folder_lock(const std::string& folder, std::ostream& notices) : hold_(nullptr) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return;
  }
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    for (held_folder* h : g_holds)
      if (h->device == st.st_dev && h->inode == st.st_ino) {
        ++h->holders;
        hold_ = h;
        ::close(fd);
        return;
      }
  }
  // Waiting happens outside the mutex: another thread of this process may
  // meanwhile take the lock of another folder.
  wait_for_lock(fd, folder, notices);
  try {
    finish_interrupted_set(folder);
  } catch (...) {
    ::close(fd);
    throw;
  }
  remove_stale_temps(folder);
  const std::lock_guard<std::mutex> lock(g_mutex);
  hold_ = new held_folder{st.st_dev, st.st_ino, fd, 1};
  g_holds.push_back(hold_);
}

folder_lock::~folder_lock() {
  if (hold_ == nullptr) return;
  const std::lock_guard<std::mutex> lock(g_mutex);
  if (--hold_->holders > 0) return;
  ::close(hold_->fd);
  std::erase(g_holds, hold_);
  delete hold_;
}

int folder_lock::folder_descriptor() const {
  return hold_ != nullptr ? hold_->fd : -1;
}

}  // namespace scenario
