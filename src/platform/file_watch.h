// Waiting for a file to be saved. Editors save in place (the file is
// truncated and written) or by rename (a new file takes the name), so the
// folder of each file is watched and its events are matched by name.
#pragma once

#include <string>
#include <vector>

namespace scenario {

class file_watch {
 public:
  // Watches the files named (which need not exist yet). Throws io_error
  // when a folder cannot be watched.
  explicit file_watch(const std::vector<std::string>& paths);
  ~file_watch();
  file_watch(const file_watch&) = delete;
  file_watch& operator=(const file_watch&) = delete;

  enum class outcome { saved, timed_out, stopped };

  // Waits up to timeout_ms (-1: without end) for a save of a watched file,
  // then for the events to be quiet for settle_ms, so that a save that
  // writes in several steps counts once. Ends early, with stopped, once
  // stop() has been called.
  outcome wait(int timeout_ms, int settle_ms = 25);

  // Makes wait() return stopped, now or at its next call. Safe to call from
  // a signal handler (on Windows: from the console's handler thread).
  void stop();

 private:
  // Reads the pending events; true when one concerns a watched file.
  bool drain();

#ifdef _WIN32
  // The folders open for their changes, with the names watched in each.
  std::vector<struct watched_folder*> folders_;
  void* stop_event_ = nullptr;
#else
  struct watched {
    int descriptor;
    std::string folder;
    std::string name;
  };
  int inotify_ = -1;
  int stop_pipe_[2] = {-1, -1};
  std::vector<watched> files_;
#endif
};

}  // namespace scenario
