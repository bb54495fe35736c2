#include "test_support.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include <unistd.h>

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
