// Small builders shared by the tests: description texts from a few records,
// scratch folders, and the shipped descriptions as bytes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/run_state.h"

namespace scenario {
struct compile_result;
}

namespace scenario::testing {

// A line description with the given route length and body records (each
// record a line without line end), ending with "[fine]".
std::string line_text(std::int32_t length, std::initializer_list<std::string_view> body = {});

// A train description with the given records after "[generale]", ending
// with "[fine]".
std::string train_text(std::initializer_list<std::string_view> records = {});

// The shipped descriptions as the writers render them.
std::string shipped_line_text();
std::string shipped_train_text();

// A run state ready for compiling: names set, plan flag 1.
run_state fresh_state(std::int32_t scrivi_linea = 1);

// Compiles a line description into st with the line compiler alone, for the
// tests of what comes after it.
compile_end compile_line_into(std::string_view text, run_state& st);

// The one compile of a line and a train description, as line "Linea" and
// train `number`, with the plan (for the tests that see run/compile.h).
compile_result compile_texts(const std::string& line, const std::string& train,
                             const std::string& number = "7");

// The default run in folder, shown on a silent display: the tables its
// compile left (the files are in folder).
run_state shipped_run_in(const std::filesystem::path& folder);

// A new empty folder under the system's temporary folder, removed with the object.
class scratch_folder {
 public:
  scratch_folder();
  ~scratch_folder();
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// What a run of the program printed and how it ended.
struct program_result {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program at exe with the given shell-quoted arguments, from folder,
// without an X display, its standard input a pipe from the file input, and
// under the shell words of wrapper when given (setpriv ..., to run as
// another user).
program_result run_program(const std::string& exe, const std::string& args,
                           const std::filesystem::path& folder,
                           const std::string& input = "/dev/null", const std::string& wrapper = "");

// The same with the program's standard error on a terminal (a pseudo
// terminal, which turns each line end into CR LF); stdin is /dev/null, or
// with typed the terminal too, on which typed is typed once the program has
// started.
program_result run_program_on_terminal(const std::string& exe, const std::vector<std::string>& args,
                                       const std::filesystem::path& folder,
                                       const std::optional<std::string>& typed = std::nullopt);

// The whole content of a file, or an empty string when it cannot be read.
std::string slurp(const std::filesystem::path& p);

// Writes bytes to p, replacing what was there.
void write_file(const std::filesystem::path& p, std::string_view bytes);

}  // namespace scenario::testing
