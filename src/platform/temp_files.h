// The temporary files that stand beside the files they are about to replace:
// their names, their removal when the process is stopped by a signal, and the
// removal of those that a process which no longer runs has left behind.
#pragma once

#include <csignal>
#include <string>

namespace scenario {

// The temporary name of path in this process: "PATH.partial-PID-TOKEN", the
// token 16 random hexadecimal digits drawn once per process.
std::string temp_name_for(const std::string& path);

// Removes from folder every temporary or kept file (NAME.partial-PID-TOKEN,
// NAME.kept-PID-TOKEN) of a process that no longer runs; a name of any
// other form, such as a user's "mine.partial-99999", is never removed. A
// folder that cannot be read is left as it is.
void remove_stale_temps(const std::string& folder);

// Registers the temporary file at path for as long as the object lives: a
// SIGINT, SIGTERM or SIGHUP (on Windows: Ctrl-C, Ctrl-Break, the console's
// closing) then removes it before the process ends. The
// first one made also ignores SIGXFSZ, so that a file size limit fails the
// write ("File too large") instead of killing the process. Throws io_error
// when too many temporary files are live at once.
class temp_guard {
 public:
  explicit temp_guard(const std::string& path);
  ~temp_guard();
  temp_guard(const temp_guard&) = delete;
  temp_guard& operator=(const temp_guard&) = delete;

 private:
  int slot_;
};

// Holds SIGINT, SIGTERM and SIGHUP (on Windows: Ctrl-C, Ctrl-Break and the
// console's closing) back while the object lives, so that the renames of one
// set are never cut in two by them; one that arrives meanwhile is delivered
// when the object goes.
class signals_held {
 public:
  signals_held();
  ~signals_held();
  signals_held(const signals_held&) = delete;
  signals_held& operator=(const signals_held&) = delete;

 private:
#ifndef _WIN32
  sigset_t before_;
#endif
};

}  // namespace scenario
