// Every option a command reads is in that command's help, its usage line
// and the shell completion; the help's columns hold; the suggestions a new
// user needs are made.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

testing::program_result run(const std::string& args, const fs::path& folder) {
  return testing::run_program(SCENARIO_GEN_EXE, args, folder);
}

std::vector<std::string> words_of(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// What the completion offers for each line of words (the last being
// completed), one answer per line.
std::vector<std::vector<std::string>> completions(const std::vector<std::string>& asked,
                                                  const fs::path& folder) {
  std::ofstream script(folder / "ask.sh");
  script << "source '" SCENARIO_BASH_COMPLETION
            "'\n"
            "ask() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _scenario_gen; "
            "echo \"${COMPREPLY[*]}\"; }\n";
  for (const std::string& words : asked) script << "ask " << words << '\n';
  script.close();
  const testing::program_result r = testing::run_program("/bin/bash", "ask.sh", folder);
  EXPECT_EQ(r.err, "");
  std::vector<std::vector<std::string>> out;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) out.push_back(words_of(line));
  return out;
}

// The spellings of o that a user types: the short and long name; for -W,
// each group with each prefix.
std::vector<std::string> spellings(const option_spec& o) {
  if (o.kind == value_kind::group) {
    std::vector<std::string> out;
    for (const std::string& w : option_words(k_accept_warning_groups))
      if (w.starts_with("-W")) out.push_back(w);
    return out;
  }
  std::vector<std::string> out{std::string(o.long_name)};
  if (!o.short_name.empty()) out.push_back(std::string(o.short_name));
  return out;
}

bool contains(const std::vector<std::string>& words, const std::string& w) {
  return std::find(words.begin(), words.end(), w) != words.end();
}

TEST(Options, EveryOptionOfEachCommandIsInItsHelpUsageAndCompletion) {
  testing::scratch_folder dir;
  std::vector<std::string> asked;
  for (const command_info& c : command_table()) {
    asked.push_back("scenario_gen " + std::string(c.name) + " -");
    for (const option_spec& o : option_table())
      if ((o.flag & c.options) != 0 && o.usual_choices > 0)
        asked.push_back("scenario_gen " + std::string(c.name) + " " + std::string(o.long_name) +
                        " ''");
  }
  const std::vector<std::vector<std::string>> offered = completions(asked, dir.path());
  ASSERT_EQ(offered.size(), asked.size());
  std::size_t answer = 0;
  int checked = 0;
  for (const command_info& c : command_table()) {
    SCOPED_TRACE(c.name);
    const std::string help = run("help " + std::string(c.name), dir.path()).out;
    const std::string usage = help.substr(0, help.find("\n\n"));
    const std::vector<std::string>& option_offers = offered[answer++];
    for (const option_spec& o : option_table()) {
      if (o.flag != k_accept_help && (o.flag & c.options) == 0) continue;
      for (const std::string& w : spellings(o)) {
        SCOPED_TRACE(w);
        EXPECT_TRUE(contains(option_offers, w));
        // The command reads it: not refused as an unknown option.
        const std::string typed = o.kind == value_kind::required ? w + " 1" : w;
        EXPECT_EQ(run(std::string(c.name) + " " + typed + " x y z w", dir.path())
                      .err.find("unknown option"),
                  std::string::npos);
        ++checked;
      }
      const std::string words = "\n    " + help_words(o, c.name);
      const std::size_t at = help.find(words);
      ASSERT_NE(at, help.npos) << words;
      EXPECT_NE(std::string(" \n").find(help[at + words.size()]), std::string::npos) << words;
      if (o.flag != k_accept_help) {
        EXPECT_NE(usage.find(usage_words(o, c.name)), usage.npos);
      }
      if (o.usual_choices > 0) {
        const std::vector<std::string>& values = offered[answer++];
        for (const std::string_view v : completed_values(o)) {
          EXPECT_TRUE(contains(values, std::string(v))) << v;
          EXPECT_NE(help.find(std::string(v)), help.npos) << v;
        }
      }
    }
    // The groups -W takes are listed where it is.
    if ((c.options & k_accept_warning_groups) != 0) {
#define SCENARIO_GROUP_LISTED(id, name, what) \
  EXPECT_NE(help.find("\n    " name " "), help.npos) << name;
      SCENARIO_WARNING_GROUPS(SCENARIO_GROUP_LISTED)
#undef SCENARIO_GROUP_LISTED
    }
  }
  EXPECT_GT(checked, 40);
}

TEST(Options, HelpTextStandsInOneColumn) {
  testing::scratch_folder dir;
  std::vector<std::string> helps{run("--help", dir.path()).out};
  for (const command_info& c : command_table())
    helps.push_back(run("help " + std::string(c.name), dir.path()).out);
  for (const std::string& help : helps) {
    std::istringstream in(help.substr(help.find("Options:\n")));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && !line.empty()) {
      SCOPED_TRACE(line);
      EXPECT_LE(line.size(), 79u);
      const std::size_t gap = line.find("  ", line.find_first_not_of(' '));
      // Words alone on their line, or the text starting in column 29.
      if (gap != line.npos) {
        EXPECT_EQ(line.find_first_not_of(' ', gap), 28u);
      }
    }
  }
}

TEST(Options, MisspeltWordsGetTheirSuggestion) {
  testing::scratch_folder dir;
  const std::pair<const char*, const char*> cases[] = {
      {"version", "unknown command 'version'; did you mean '--version'?"},
      {"verison", "unknown command 'verison'; did you mean '--version'?"},
      {"hepl", "unknown command 'hepl'; did you mean 'help'?"},
      {"chekc", "unknown command 'chekc'; did you mean 'check'?"},
      {"frobnicate", "unknown command 'frobnicate'"},
      {"-v", "unknown option '-v'; did you mean '--version'?"},
      {"run --out x", "unknown option '--out'; did you mean '--output'?"},
      {"check a b -Wno-unit",
       "unknown warning group 'unit' in '-Wno-unit'; did you mean "
       "'-Wno-units'?"},
      {"compile a b -Werror=orderr",
       "unknown warning group 'orderr' in '-Werror=orderr'; did "
       "you mean '-Werror=order'?"},
      {"watch a b --encoding=latin1", "--encoding takes 'cp1252' or 'utf-8', not 'latin1'"},
  };
  for (const auto& [args, error] : cases) {
    SCOPED_TRACE(args);
    const testing::program_result r = run(args, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "scenario_gen: error: " + std::string(error));
  }
}

}  // namespace
}  // namespace scenario
