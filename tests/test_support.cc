#include "test_support.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/display.h"
#include "route/line_compiler.h"
#include "run/compile.h"
#include "run/run_sequence.h"
#include "sources/line_content.h"
#include "sources/text_writer.h"
#include "sources/train_content.h"

namespace scenario::testing {

std::string line_text(std::int32_t length, std::initializer_list<std::string_view> body) {
  std::string text =
      "[generale]\r\nlunghezza percorso,    " + std::to_string(length) + "\r\n[curve]\r\n";
  for (std::string_view r : body) {
    text += r;
    text += "\r\n";
  }
  return text + "[fine]\r\n";
}

std::string train_text(std::initializer_list<std::string_view> records) {
  std::string text = "[generale]\r\n";
  for (std::string_view r : records) {
    text += r;
    text += "\r\n";
  }
  return text + "[fine]\r\n";
}

std::string shipped_line_text() {
  return render_lines(line_content());
}
std::string shipped_train_text() {
  return render_lines(train_content());
}

run_state fresh_state(std::int32_t scrivi_linea) {
  run_state st;
  st.nome_linea = "Corvale_Pianasco";
  st.numero_treno = "4816";
  st.scrivi_linea = scrivi_linea;
  return st;
}

compile_end compile_line_into(std::string_view text, run_state& st) {
  return compile_line(text, st);
}

compile_result compile_texts(const std::string& line, const std::string& train,
                             const std::string& number) {
  return compile({"Linea", number, true, {"line", line}, {"train", train}});
}

run_state shipped_run_in(const std::filesystem::path& folder) {
  const auto ui = make_silent_display();
  return form_load(folder.string(), *ui).st;
}

scratch_folder::scratch_folder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("scenario_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

scratch_folder::~scratch_folder() {
  std::error_code ec;
  // A test may have made the folder read-only.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(path_, ec);
}

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
                                       const std::filesystem::path& folder) {
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
    const int in = ::open("/dev/null", O_RDONLY);
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

void write_file(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace scenario::testing
