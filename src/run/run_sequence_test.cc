#include "run/run_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/display.h"
#include "platform/file_faults.h"
#include "test_support.h"

namespace scenario {
namespace {

// Another process replacing the line description while the run writes its
// documents changes nothing: the run compiles the text it wrote.
TEST(RunSequence, CompilesTheDescriptionsItWroteNotWhatTheFilesHoldLater) {
  testing::scratch_folder dir;
  const std::string line = dir.file("Corvale_Pianasco_linea.txt");
  const file_faults faults{.write_error = [&](const std::string& path, std::uint64_t, std::size_t) {
    if (path.ends_with("_note.txt")) testing::write_file(line, "[generale]\r\n[fine]\r\n");
    return 0;
  }};
  set_file_faults(&faults);
  const auto ui = make_silent_display();
  compile_result out;
  form_load(out, dir.path().string(), *ui);
  set_file_faults(nullptr);
  EXPECT_EQ(out.st.codice_errore, 0);
  EXPECT_EQ(out.st.percorso.size(), 1558u);
  EXPECT_FALSE(std::filesystem::exists(line));
}

}  // namespace
}  // namespace scenario
