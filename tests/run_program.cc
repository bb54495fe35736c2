// Running the program under test on Linux: through the shell, or with its
// standard error on a pseudo terminal.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "test_support.h"

namespace scenario::testing {

program_result run_program(const std::string& exe, const std::string& args,
                           const std::filesystem::path& folder, const std::string& input,
                           const std::string& wrapper) {
  const scratch_folder capture;
  // Without a display the run uses the terminal, whatever the session has.
  const std::string command = "cd '" + folder.string() + "' && cat '" + input + "' | " + wrapper +
                              " env -u DISPLAY '" + exe + "' " + args + " >'" +
                              capture.file("out") + "' 2>'" + capture.file("err") + "'";
  const int raw = std::system(command.c_str());
  program_result r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(capture.file("out"));
  r.err = slurp(capture.file("err"));
  return r;
}

program_result run_program_on_terminal(const std::string& exe, const std::vector<std::string>& args,
                                       const std::filesystem::path& folder,
                                       const std::optional<std::string>& typed) {
  program_result r;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return r;
  const std::string slave = ::ptsname(master);
  // Held open here too, so that the terminal stays up until the child has
  // ended and everything it wrote can be read (its output is a few lines,
  // well inside what the terminal buffers).
  const int held = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
  if (held < 0) return r;
  const scratch_folder capture;
  const std::string out = capture.file("out");
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in =
        typed ? ::open(slave.c_str(), O_RDONLY | O_NOCTTY) : ::open("/dev/null", O_RDONLY);
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(slave.c_str(), O_WRONLY | O_NOCTTY);
    if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 ||
        ::chdir(folder.c_str()) != 0 || ::unsetenv("DISPLAY") != 0)
      ::_exit(126);
    ::close(master);
    ::close(held);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  // What is typed waits in the terminal until the program reads it.
  if (pid > 0 && typed && ::write(master, typed->data(), typed->size()) < 0) ::kill(pid, SIGKILL);
  int raw = 0;
  if (pid < 0 || ::waitpid(pid, &raw, 0) != pid) raw = -1;
  ::close(held);
  // With no end of the terminal left open, read fails with EIO once drained.
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n > 0) {
      r.err.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  ::close(master);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  return r;
}

}  // namespace scenario::testing
