#include "platform/file_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace scenario {
namespace {

// The folder and the name of a path; "." for a bare name.
std::pair<std::string, std::string> split(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// A save in place ends with the file closed after writing; a save by rename
// moves a new file onto the name. A write that never closes still counts.
constexpr std::uint32_t k_events = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MODIFY | IN_CREATE;

}  // namespace

file_watch::file_watch(const std::vector<std::string>& paths) {
  inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify_ < 0) throw io_error(".", "watch files in", std::strerror(errno));
  if (pipe2(stop_pipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    close(inotify_);
    throw io_error(".", "watch files in", std::strerror(errno));
  }
  for (const std::string& path : paths) {
    auto [folder, name] = split(path);
    const int wd = inotify_add_watch(inotify_, folder.c_str(), k_events);
    if (wd < 0) {
      const std::string why = std::strerror(errno);
      close(inotify_);
      close(stop_pipe_[0]);
      close(stop_pipe_[1]);
      throw io_error(folder, "watch the folder", why);
    }
    files_.push_back({wd, folder, name});
  }
}

file_watch::~file_watch() {
  close(inotify_);
  close(stop_pipe_[0]);
  close(stop_pipe_[1]);
}

void file_watch::stop() {
  const char byte = 1;
  // A full pipe already holds a stop.
  [[maybe_unused]] const ssize_t n = write(stop_pipe_[1], &byte, 1);
}

bool file_watch::drain() {
  bool hit = false;
  alignas(inotify_event) char buf[16384];
  for (;;) {
    const ssize_t n = read(inotify_, buf, sizeof buf);
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
      if (e->len > 0)
        for (const watched& w : files_)
          if (w.descriptor == e->wd && w.name == e->name) hit = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  return hit;
}

file_watch::outcome file_watch::wait(int timeout_ms, int settle_ms) {
  pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
  bool saved = false;
  for (;;) {
    const int r = poll(fds, 2, saved ? settle_ms : timeout_ms);
    if (r < 0 && errno == EINTR) continue;
    if (fds[1].revents != 0) return outcome::stopped;
    if (r <= 0) return saved ? outcome::saved : outcome::timed_out;
    if (drain()) saved = true;
  }
}

}  // namespace scenario
