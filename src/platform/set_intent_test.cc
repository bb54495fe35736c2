#include "platform/set_intent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "platform/folder_lock.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::slurp;
using testing::write_file;

constexpr std::string_view k_mark = "4242-0123456789abcdef";

std::string record_of(std::string_view body) {
  return "scenario_gen replacement 1\nmark " + std::string(k_mark) + "\n" + std::string(body);
}

// The names in folder, sorted, each with its content.
std::string contents(const fs::path& folder) {
  std::set<std::string> lines;
  for (const auto& e : fs::directory_iterator(folder))
    lines.insert(e.path().filename().string() + "=" + slurp(e.path()));
  std::string all;
  for (const std::string& line : lines) all += line + ";";
  return all;
}

TEST(SetIntent, ReadsBackOnlyWhatASetWritesWhole) {
  const set_intent written{.mark = std::string(k_mark),
                           .names = {"A_linea.dat", "A_1.sim"},
                           .identities = {0, 18446744073709551615U}};
  EXPECT_EQ(parse_intent(intent_text(written)), written);
  const struct {
    const char* why;
    std::string text;
  } refused[] = {
      {"empty", ""},
      {"cut before its end", record_of("name 0 a\n")},
      {"cut inside its end", record_of("name 0 a\nen")},
      {"no names", record_of("end\n")},
      {"bytes after the end", record_of("name 0 a\nend\nname 0 b\n")},
      {"a name with a folder", record_of("name 0 ../a\nend\n")},
      {"a name with a backslash", record_of("name 0 x\\a\nend\n")},
      {"a name of the folder", record_of("name 0 ..\nend\n")},
      {"an empty name", record_of("name 0 \nend\n")},
      {"a control character", record_of("name 0 a\rb\nend\n")},
      {"a name twice", record_of("name 0 a\nname 0 a\nend\n")},
      {"another first line",
       "scenario_gen replacement 2\nmark 1-0123456789abcdef\nname 0 a\nend\n"},
      {"a mark without a token", "scenario_gen replacement 1\nmark 4242\nname 0 a\nend\n"},
      {"a token in capitals",
       "scenario_gen replacement 1\nmark 1-0123456789ABCDEF\nname 0 a\nend\n"},
      {"a name without an identity", record_of("name a\nend\n")},
      {"an identity with a leading zero", record_of("name 01 a\nend\n")},
      {"a negative identity", record_of("name -1 a\nend\n")},
      {"too many names", record_of("name 0 1\nname 0 2\nname 0 3\nname 0 4\nname 0 5\nname 0 "
                                   "6\nname 0 7\nname 0 8\nname 0 9\nend\n")},
  };
  for (const auto& r : refused) EXPECT_FALSE(parse_intent(r.text)) << r.why;
}

TEST(SetIntent, OwnsOnlyNamesCarryingAMarkOfItsForm) {
  const struct {
    std::string name;
    unsigned long owner;
  } cases[] = {
      {"Valle_12.dat.partial-" + std::string(k_mark), 4242},
      {"Valle_12.dat.kept-" + std::string(k_mark), 4242},
      {"scenario_gen.intent.partial-" + std::string(k_mark), 4242},
      {"mine.partial-99999", 0},  // the form before marks had a token
      {"mine.partial-99999-0123456789abcde", 0},
      {"mine.partial-99999-0123456789abcdefa", 0},
      {"mine.partial--0123456789abcdef", 0},
      {".partial-" + std::string(k_mark), 0},
      {"mine.kept-x-0123456789abcdef", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(temp_owner(c.name), c.owner) << c.name;
  EXPECT_TRUE(is_process_mark(process_mark()));
  EXPECT_NE(temp_owner("a.partial-" + process_mark()), 0U);
}

// Whatever member the kill left where, finishing puts every new file under
// its name and leaves nothing of the replacement.
TEST(SetIntent, FinishingPutsEveryNewFileInPlaceAndRemovesTheRest) {
  const testing::scratch_folder dir;
  const fs::path& d = dir.path();
  const std::string mark(k_mark);
  write_file(d / "a", "new a");  // in place, its older file kept
  write_file(d / ("a.kept-" + mark), "old a");
  write_file(d / "b", "old b");  // not yet in place
  write_file(d / ("b.partial-" + mark), "new b");
  write_file(d / ("c.partial-" + mark), "new c");  // its name was free
  write_file(d / "mine.partial-99999", "the user's");
  set_intent intent{.mark = mark, .names = {"a", "b", "c"}, .identities = {}};
  const auto identity_of = [&](const std::string& name) {
    return file_identity((d / name).string());
  };
  intent.identities = {identity_of("a"), identity_of("b.partial-" + mark),
                       identity_of("c.partial-" + mark)};
  std::string expected = "a=new a;b=new b;c=new c;";
  // Exchanged: the new file in place, the older one under the waiting name;
  // only the new file's identity tells them apart, where the system has one.
  write_file(d / "e", "new e");
  write_file(d / ("e.partial-" + mark), "old e");
  if (const std::uint64_t identity = identity_of("e"); identity != 0) {
    intent.names.emplace_back("e");
    intent.identities.push_back(identity);
    expected += "e=new e;";
  } else {
    fs::remove(d / "e");
    fs::remove(d / ("e.partial-" + mark));
  }
  expected += "mine.partial-99999=the user's;";
  write_file(d / std::string(k_intent_name), intent_text(intent));
  finish_interrupted_set(d.string());
  EXPECT_EQ(contents(d), expected);
  // Finished, a second look finds nothing to do.
  finish_interrupted_set(d.string());
  EXPECT_EQ(contents(d), expected);
}

TEST(SetIntent, ARecordThatIsNotTheProgramsIsLeftAlone) {
  const testing::scratch_folder dir;
  const fs::path& d = dir.path();
  const std::string mark(k_mark);
  write_file(d / "b", "old b");
  write_file(d / ("b.partial-" + mark), "new b");
  write_file(d / std::string(k_intent_name), record_of("name 0 b\n"));  // never ended
  const std::string before = contents(d);
  finish_interrupted_set(d.string());
  EXPECT_EQ(contents(d), before);
  std::ostringstream notices;
  EXPECT_FALSE(settle_folder(d.string(), notices));
}

// Taking the lock finishes the set, then clears what dead processes left,
// and only that.
TEST(SetIntent, TheLockFinishesTheSetAndRemovesOnlyTheProgramsLeftovers) {
  const testing::scratch_folder dir;
  const fs::path& d = dir.path();
  // No process has this id: ids stop at 2^22 on Linux, and Windows gives
  // multiples of four.
  const std::string dead = "4000000001-0123456789abcdef";
  write_file(d / "a", "old a");
  write_file(d / ("a.partial-" + dead), "new a");
  write_file(d / std::string(k_intent_name),
             intent_text({.mark = dead, .names = {"a"}, .identities = {0}}));
  write_file(d / ("x.partial-" + dead), "left by a kill while writing");
  write_file(d / ("x.kept-" + dead), "left by a kill");
  write_file(d / "mine.partial-99999", "the user's");
  write_file(d / "mine.partial-4000000001", "the user's too");
  write_file(d / ("mine.partial-" + process_mark()), "this process's own, being written");
  { const folder_lock lock(d.string()); }
  const std::set<std::string> left = {
      "a=new a;", "mine.partial-4000000001=the user's too;", "mine.partial-99999=the user's;",
      "mine.partial-" + process_mark() + "=this process's own, being written;"};
  std::string expected;
  for (const std::string& entry : left) expected += entry;
  EXPECT_EQ(contents(d), expected);
}

}  // namespace
}  // namespace scenario
