// The installed tree, made by cmake --install from this build into a scratch
// prefix, and the bash completion as bash loads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "cli/command_table.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::set<std::string> files_under(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (!e.is_directory()) files.insert(fs::relative(e.path(), root).string());
  return files;
}

TEST(Install, TheTreeHoldsTheProgramItsDocumentationManualAndCompletion) {
  testing::scratch_folder prefix;
  const testing::program_result installed = testing::run_program(
      CMAKE_COMMAND_PATH,
      "--install '" SCENARIO_BUILD_DIR "' --prefix '" + prefix.path().string() + "'",
      prefix.path());
  ASSERT_EQ(installed.status, 0) << installed.err;
  std::set<std::string> expected{"bin/scenario_gen",
                                 "share/doc/scenario_gen/README.md",
                                 "share/doc/scenario_gen/LICENSE",
                                 "share/doc/scenario_gen/authoring.md",
                                 "share/doc/scenario_gen/examples/Valle_linea.txt",
                                 "share/doc/scenario_gen/examples/Valle_12-.txt",
                                 "share/bash-completion/completions/scenario_gen"};
  // The editor files, as the build made them.
  for (const std::string& f : files_under(SCENARIO_BUILD_DIR "/editors"))
    expected.insert("share/scenario_gen/editors/" + f);
  if (SCENARIO_MAN_PAGE) expected.insert("share/man/man1/scenario_gen.1");
  std::istringstream modules(SCENARIO_MODULE_FILES);
  for (std::string m; modules >> m;) expected.insert(SCENARIO_MODULE_DIR "/" + m);
  EXPECT_EQ(files_under(prefix.path()), expected);

  // The installed program points at its own documentation, wherever the
  // tree was put, and builds the scenario where it is told.
  const std::string exe = prefix.file("bin/scenario_gen");
  const testing::program_result help = testing::run_program(exe, "--help", prefix.path());
  EXPECT_NE(help.out.find("\n  " + prefix.file("share/doc/scenario_gen") + "/authoring.md\n"),
            std::string::npos)
      << help.out;
  testing::scratch_folder out;
  EXPECT_EQ(testing::run_program(exe, "run -o made", out.path()).status, 0);
  EXPECT_EQ(files_under(out.path() / "made").size(), 6u);

  if (SCENARIO_MAN_PAGE) {
    const std::string man = testing::slurp(prefix.file("share/man/man1/scenario_gen.1"));
    EXPECT_NE(man.find(".SH SYNOPSIS"), std::string::npos);
    for (const command_info& c : command_table())
      EXPECT_NE(man.find(".SS " + std::string(c.name) + "\n"), std::string::npos) << c.name;
  }
}

// A run on a terminal loads no window toolkit; one with a display variable
// loads the installed window module, found beside the installed program
// wherever the tree was put, and takes the terminal when the display
// cannot be opened.
TEST(Install, TheWindowModuleIsLoadedFromTheTreeOnlyForADisplay) {
#ifndef SCENARIO_WITH_WINDOW
  GTEST_SKIP() << "this build has no window display";
#endif
  testing::scratch_folder prefix;
  ASSERT_EQ(testing::run_program(
                CMAKE_COMMAND_PATH,
                "--install '" SCENARIO_BUILD_DIR "' --prefix '" + prefix.path().string() + "'",
                prefix.path())
                .status,
            0);
  const std::string exe = prefix.file("bin/scenario_gen");
  const std::string module = prefix.file(SCENARIO_MODULE_DIR "/scenario_window.so");
  int n = 90;  // a display number with no server socket
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) ++n;
  testing::scratch_folder out;
  const auto loaded = [&](const std::string& display) {
    const testing::program_result r = testing::run_program(
        "/usr/bin/env", display + " LD_DEBUG=files '" + exe + "' run -o made", out.path());
    EXPECT_EQ(r.status, 0) << r.err;
    return r.err;
  };
  const std::string terminal = loaded("-u DISPLAY");
  EXPECT_EQ(terminal.find("scenario_window"), std::string::npos);
  EXPECT_EQ(terminal.find("libfltk"), std::string::npos);
  // The loader names the module as the program opened it.
  const std::string display = loaded("DISPLAY=:" + std::to_string(n));
  const std::string mark = "scenario_window.so [0];  dynamically loaded";
  const std::size_t end = display.find(mark);
  ASSERT_NE(end, std::string::npos) << display;
  const std::size_t begin = display.rfind("file=", end) + 5;
  const std::string opened = display.substr(begin, end - begin) + "scenario_window.so";
  EXPECT_TRUE(fs::equivalent(opened, module)) << opened;
}

TEST(Install, BashCompletesCommandsOptionsAndFiles) {
  testing::scratch_folder dir;
  std::ofstream(dir.file("Valle_linea.txt")) << "";
  std::string commands;
  for (const std::string_view name : command_names())
    commands += (commands.empty() ? "" : " ") + std::string(name);
  // Each line: the words typed so far (the last one being completed), then
  // what the completion offers.
  const std::pair<const char*, std::string> cases[] = {
      {"scenario_gen ''", commands},
      {"scenario_gen d", "decompile dump draw"},
      {"scenario_gen -", "-q -h --quiet --version --help"},
      {"scenario_gen help co", "compile"},
      {"scenario_gen help compile ''", ""},
      {"scenario_gen dump --j", "--json"},
      {"scenario_gen compile --line", "--line-name"},
      {"scenario_gen compile --line-name V", ""},
      {"scenario_gen compile V", "Valle_linea.txt"},
      {"scenario_gen draw . -o V", "Valle_linea.txt"},
      {"scenario_gen run V", ""},
  };
  std::ofstream script(dir.file("ask.sh"));
  script << "source '" SCENARIO_BASH_COMPLETION
            "'\n"
            "complete -p scenario_gen\n"
            "ask() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _scenario_gen; "
            "echo \"${COMPREPLY[*]}\"; }\n";
  for (const auto& [words, offered] : cases) script << "ask " << words << '\n';
  script.close();
  const testing::program_result r = testing::run_program("/bin/bash", "ask.sh", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::string expected = "complete -o filenames -F _scenario_gen scenario_gen\n";
  for (const auto& [words, offered] : cases) expected += offered + "\n";
  EXPECT_EQ(r.out, expected);
}

}  // namespace
}  // namespace scenario
