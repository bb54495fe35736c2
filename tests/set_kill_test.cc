// A compile killed at every step of replacing its three files: each write,
// each sync, each rename and each removal, with and without --sync, on a
// small scenario and on the largest. The program stops itself at the step
// SCENARIO_GEN_STOP_AT names, as SIGKILL would stop it there (on Windows as
// TerminateProcess would). Afterwards a reader finds the whole older set or
// the whole new one, never a mix, and the next compile leaves only the
// descriptions, the three files and what the user had put there.
//
// On the small scenario the suite takes every rename, sync and removal but
// a sample of the writes; on the largest, whose every point costs seconds,
// four renames and removals. SCENARIO_KILL_POINTS=all takes every point of
// both, as the CI does.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "max_scenario.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr int k_killed = 137;  // 128 + SIGKILL, as the shell and Windows report it

// Files of the user's whose names look like the program's own temporary
// files: a clean-up must leave them.
const std::map<std::string, std::string> k_user_files = {
    {"mine.partial-99999", "the user's"},
    {"Valle_12.dat.partial-1", "the user's too"},
    {"notes.kept-1-0123456789abcdeg", "not a mark of the program's: g is no digit"},
};

struct scenario_texts {
  std::string line_name, train_name;  // the descriptions' file names
  std::string older_line, newer_line, train;
  std::vector<std::string> outputs;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The small scenario, its older set made from a line 1 km longer, so that
// all three files differ.
scenario_texts small_scenario() {
  const fs::path examples = fs::path(SCENARIO_TESTS_DIR) / ".." / "docs" / "examples";
  const std::string line = testing::slurp(examples / "Valle_linea.txt");
  return {"Valle_linea.txt",
          "Valle_12-.txt",
          replaced(line, "lunghezza percorso,    12000", "lunghezza percorso,    13000"),
          line,
          testing::slurp(examples / "Valle_12-.txt"),
          {"Valle_linea.dat", "Valle_12.sim", "Valle_12.dat"}};
}

// The 1,000 km scenario; its older set's line is 10 km shorter.
scenario_texts largest_scenario() {
  const std::string line = max_line_text();
  return {std::string(k_max_line_name) + "_linea.txt",
          std::string(k_max_line_name) + "_" + std::string(k_max_train_number) + "-.txt",
          replaced(line, "lunghezza percorso,    1000000", "lunghezza percorso,    990000"),
          line,
          max_train_text(),
          {"Max_linea.dat", "Max_1.sim", "Max_1.dat"}};
}

using file_bytes = std::map<std::string, std::string>;

file_bytes outputs_in(const fs::path& folder, const scenario_texts& s) {
  file_bytes bytes;
  for (const std::string& name : s.outputs)
    bytes[name] = fs::exists(folder / name) ? testing::slurp(folder / name) : "(missing)";
  return bytes;
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

std::string compile_args(const scenario_texts& s, bool sync) {
  return "compile " + s.line_name + " " + s.train_name + (sync ? " --sync" : "");
}

// Sets an environment variable for the programs the test runs, until it goes.
class scoped_env {
 public:
  scoped_env(const char* name, const std::string& value) : name_(name) {
    ::setenv(name, value.c_str(), 1);
  }
  ~scoped_env() { ::unsetenv(name_); }
  scoped_env(const scoped_env&) = delete;
  scoped_env& operator=(const scoped_env&) = delete;

 private:
  const char* name_;
};

bool every_point() {
  const char* asked = std::getenv("SCENARIO_KILL_POINTS");
  return asked != nullptr && std::string(asked) == "all";
}

// The points of a kind the suite takes: all of them but for the writes,
// of which it takes 1, 2, 3, 5, 8, 13 and so on.
int next_point(const std::string& kind, int point) {
  if (kind != "write" || every_point()) return point + 1;
  static const std::vector<int> sample = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233};
  for (const int p : sample)
    if (p > point) return p;
  return point * 2;
}

class SetKill : public ::testing::Test {
 protected:
  // The older and the newer set of s, compiled once.
  void make_sets(const scenario_texts& s) {
    for (const bool newer : {false, true}) {
      const fs::path folder = refs.path() / (newer ? "newer" : "older");
      fs::create_directory(folder);
      testing::write_file(folder / s.line_name, newer ? s.newer_line : s.older_line);
      testing::write_file(folder / s.train_name, s.train);
      const testing::program_result r =
          testing::run_program(SCENARIO_GEN_EXE, compile_args(s, false), folder);
      // The shorter largest line leaves objects past its end: written all
      // the same, with a fault pending.
      ASSERT_LE(r.status, 1) << r.err.substr(0, 2000);
      (newer ? newer_set : older_set) = outputs_in(folder, s);
    }
    for (const std::string& name : s.outputs)
      ASSERT_NE(older_set[name], newer_set[name]) << name << " is the same in both sets";
  }

  // Which set the folder holds: "older", "newer", or which file is which.
  std::string which_set(const fs::path& folder, const scenario_texts& s) {
    const file_bytes now = outputs_in(folder, s);
    if (now == older_set) return "older";
    if (now == newer_set) return "newer";
    std::string mixed = "mixed:";
    for (const std::string& name : s.outputs)
      mixed += " " + name +
               (now.at(name) == older_set.at(name)   ? " older"
                : now.at(name) == newer_set.at(name) ? " newer"
                                                     : " neither");
    return mixed;
  }

  // A folder with the newer descriptions, the older set and the user's files.
  void lay_out(const fs::path& folder, const scenario_texts& s) {
    fs::create_directory(folder);
    testing::write_file(folder / s.line_name, s.newer_line);
    testing::write_file(folder / s.train_name, s.train);
    for (const auto& [name, bytes] : older_set) testing::write_file(folder / name, bytes);
    for (const auto& [name, bytes] : k_user_files) testing::write_file(folder / name, bytes);
  }

  // Kills the compile at the point-th step of kind; false once the compile
  // has no such step left and ran to its end.
  bool kill_and_recover(const scenario_texts& s, bool sync, const std::string& kind, int point) {
    SCOPED_TRACE(kind + ":" + std::to_string(point) + (sync ? " --sync" : ""));
    const testing::scratch_folder scratch;
    const fs::path folder = scratch.path() / "scenario";
    lay_out(folder, s);
    testing::program_result r;
    {
      const scoped_env stop("SCENARIO_GEN_STOP_AT", kind + ":" + std::to_string(point));
      r = testing::run_program(SCENARIO_GEN_EXE, compile_args(s, sync), folder);
    }
    if (r.status == 0) {
      EXPECT_EQ(which_set(folder, s), "newer");
      return false;
    }
    if (r.status != k_killed) {
      ADD_FAILURE() << "status " << r.status << ", not killed: " << r.err;
      return false;
    }
    // The reader finishes the replacement and reads one whole set.
    const testing::program_result read =
        testing::run_program(SCENARIO_GEN_EXE, "draw scenario -o picture.svg", scratch.path());
    EXPECT_EQ(read.status, 0) << read.err;
    const std::string read_set = which_set(folder, s);
    EXPECT_TRUE(read_set == "older" || read_set == "newer") << read_set;
    const testing::program_result again =
        testing::run_program(SCENARIO_GEN_EXE, compile_args(s, sync), folder);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(which_set(folder, s), "newer");
    std::set<std::string> expected{s.line_name, s.train_name};
    for (const std::string& name : s.outputs) expected.insert(name);
    for (const auto& [name, bytes] : k_user_files) {
      expected.insert(name);
      EXPECT_EQ(testing::slurp(folder / name), bytes) << name;
    }
    EXPECT_EQ(names_in(folder), expected);
    return true;
  }

  // Every point of the table for one scenario; the count of kills made.
  int kill_everywhere(const scenario_texts& s) {
    make_sets(s);
    if (HasFatalFailure()) return 0;
    int kills = 0;
    for (const bool sync : {false, true})
      for (const std::string kind : {"write", "sync", "rename", "remove"})
        for (int point = 1; kill_and_recover(s, sync, kind, point); point = next_point(kind, point))
          ++kills;
    return kills;
  }

  testing::scratch_folder refs;
  file_bytes older_set, newer_set;
};

TEST_F(SetKill, EveryStepOfTheSmallScenarioLeavesOneWholeSet) {
  const int kills = kill_everywhere(small_scenario());
  // Three renames into place and one for the record, two syncs beyond the
  // files' own, and four removals, at least: fewer means steps went uncounted.
  EXPECT_GE(kills, 20);
  std::cout << "kill points taken: " << kills << '\n';
}

// A point of the largest scenario costs seconds: the suite takes the kills
// around the renames that leave the names half new, and the first removal.
TEST_F(SetKill, EveryStepOfTheLargestScenarioLeavesOneWholeSet) {
  const scenario_texts s = largest_scenario();
  if (every_point()) {
    const int kills = kill_everywhere(s);
    EXPECT_GE(kills, 20);
    std::cout << "kill points taken: " << kills << '\n';
    return;
  }
  make_sets(s);
  if (HasFatalFailure()) return;
  // The record in place and nothing renamed; the plan alone new; the plan and
  // the station table new; all three new, the older ones not yet removed.
  for (const auto& [kind, point] :
       {std::pair<std::string, int>{"rename", 2}, {"rename", 3}, {"rename", 4}, {"remove", 1}})
    EXPECT_TRUE(kill_and_recover(s, false, kind, point));
}

// A reader that may not write the folder cannot finish the replacement: it
// says so, and reads nothing, rather than read a mixed set.
TEST_F(SetKill, AReaderThatMayNotWriteTheFolderSaysHowToFinishTheSet) {
  const scenario_texts s = small_scenario();
  make_sets(s);
  const testing::scratch_folder scratch;
  const fs::path folder = scratch.path() / "scenario";
  lay_out(folder, s);
  {
    const scoped_env stop("SCENARIO_GEN_STOP_AT", "rename:3");  // the plan alone is new
    ASSERT_EQ(testing::run_program(SCENARIO_GEN_EXE, compile_args(s, false), folder).status,
              k_killed);
  }
  const std::string copy = (scratch.path() / "scenario_gen").string();
  fs::copy_file(SCENARIO_GEN_EXE, copy);
  // Root writes anywhere: the reader then runs as nobody.
  std::string as_nobody;
  if (::geteuid() == 0) {
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "running as root without setpriv";
    as_nobody = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
  const auto read_only = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                         fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(folder, read_only);
  const testing::program_result refused =
      testing::run_program(copy, "draw scenario -o -", scratch.path(), "/dev/null", as_nobody);
  fs::permissions(folder, read_only | fs::perms::owner_write);
  if (refused.status == -1) GTEST_SKIP() << "no other user to run the reader as on this system";
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "scenario_gen: error: the scenario files in 'scenario' are a replacement that was "
            "interrupted, and this user may not write the folder to finish it (see '" +
                (fs::path("scenario") / "scenario_gen.intent").string() +
                "'); run any scenario_gen command on the folder as a user who may\n");
  EXPECT_EQ(refused.out, "");
  const testing::program_result read =
      testing::run_program(SCENARIO_GEN_EXE, "dump scenario/Valle_12.sim", scratch.path());
  EXPECT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(which_set(folder, s), "newer");
}

}  // namespace
}  // namespace scenario
