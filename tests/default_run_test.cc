// The default run of the real executable, copied into a scratch folder: the
// files it leaves there and the bytes the simulator reads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <vector>

#include "output/check_codes.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

int u8(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]);
}
int i16(const std::string& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(u8(b, at) | (u8(b, at + 1) << 8)));
}
std::int32_t i32(const std::string& b, std::size_t at) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(u8(b, at)) |
                                   (static_cast<std::uint32_t>(u8(b, at + 1)) << 8) |
                                   (static_cast<std::uint32_t>(u8(b, at + 2)) << 16) |
                                   (static_cast<std::uint32_t>(u8(b, at + 3)) << 24));
}

class DefaultRun : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = dir.file("scenario_gen");
    fs::copy_file(SCENARIO_GEN_EXE, exe);
    result = testing::run_program(exe, "", dir.path());
  }
  std::string bytes(const char* name) const { return testing::slurp(dir.path() / name); }

  testing::scratch_folder dir;
  std::string exe;
  testing::program_result result;
};

TEST_F(DefaultRun, LeavesExactlyTheSixFilesAndSaysNothingIntoAPipe) {
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "");
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path()))
    names.insert(e.path().filename().string());
  const std::set<std::string> expected{"scenario_gen",
                                       "Corvale_Pianasco_4816_note.txt",
                                       "Corvale_Pianasco_4816_rallentamenti.txt",
                                       "Corvale_Pianasco_4816_scheda_treno.txt",
                                       "Corvale_Pianasco_linea.dat",
                                       "Corvale_Pianasco_4816.sim",
                                       "Corvale_Pianasco_4816.dat"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(fs::file_size(dir.file("Corvale_Pianasco_4816_note.txt")), 731u);
  EXPECT_EQ(fs::file_size(dir.file("Corvale_Pianasco_4816_rallentamenti.txt")), 3285u);
  EXPECT_EQ(fs::file_size(dir.file("Corvale_Pianasco_4816_scheda_treno.txt")), 3138u);
}

TEST_F(DefaultRun, RouteGridCarriesTheStampsAndTheObjects) {
  const std::string g = bytes("Corvale_Pianasco_4816.dat");
  ASSERT_EQ(g.size(), 23370u);
  auto cell = [&g](std::size_t n) { return 15 * n; };
  EXPECT_EQ(u8(g, cell(1) + 1), 0x01);
  EXPECT_EQ(u8(g, cell(1) + 2), 0x14);
  // The plain check code, recomputed here from the two names.
  int og = 0;
  for (unsigned char c : std::string("4816corvale_pianascommppq")) og += c;
  EXPECT_EQ(i16(g, cell(1) + 3), og);

  EXPECT_EQ(u8(g, cell(306)), 1);  // signal at 15250 m
  EXPECT_EQ(i16(g, cell(306) + 1), 40);
  EXPECT_EQ(i16(g, cell(306) + 7), 6);
  EXPECT_EQ(u8(g, cell(306) + 9), 140);
  EXPECT_EQ(u8(g, cell(304) + 10), 61);
  EXPECT_EQ(u8(g, cell(38)), 6);  // speed board at 1850 m
  EXPECT_EQ(i16(g, cell(38) + 1), 1700);
  EXPECT_EQ(u8(g, cell(5)), 10);    // first station's stop
  EXPECT_EQ(u8(g, cell(1000)), 4);  // slowdown warning
  EXPECT_EQ(u8(g, cell(1024)), 3);
  EXPECT_EQ(u8(g, cell(1028)), 2);
  EXPECT_EQ(u8(g, cell(611) + 13), 89);  // gradient -11
  EXPECT_EQ(u8(g, cell(0) + 12), 15);    // 75 km/h
  EXPECT_EQ(u8(g, cell(0) + 14), 100);
  EXPECT_EQ(u8(g, cell(533)), 11);  // scenery marker
  EXPECT_EQ(u8(g, cell(533) + 11), 1);
  // Code points of the pass: three bands before the slowdown start and one
  // before the first signal after its end (51700 m, cell 1035).
  for (int c : {1019, 1013, 1006, 1034}) {
    EXPECT_EQ(u8(g, cell(c)), 12) << c;
    EXPECT_EQ(i16(g, cell(c) + 1), 180) << c;
  }
}

TEST_F(DefaultRun, StationFileCarriesStationsHeaderAndStamps) {
  const std::string s = bytes("Corvale_Pianasco_4816.sim");
  ASSERT_EQ(s.size(), 2958u + 109u + 16u + 4u);
  EXPECT_EQ(s.substr(0, 34), std::string(34, '\0'));
  // Record 1: type 8, area -300..300, name CORVALE, time 5:58:00.
  EXPECT_EQ(u8(s, 34), 8);
  EXPECT_EQ(i32(s, 35), -300);
  EXPECT_EQ(i32(s, 39), 300);
  EXPECT_EQ(s.substr(34 + 16, 7), "CORVALE");
  EXPECT_EQ(i32(s, 34 + 30 + 7), 21480);

  // Walk to record 85.
  std::size_t at = 0;
  for (int r = 0; r < 85; ++r)
    at += 34 + static_cast<std::size_t>(u8(s, at + 14) | (u8(s, at + 15) << 8));
  const std::size_t n = static_cast<std::size_t>(u8(s, at + 14));
  ASSERT_EQ(n, 16u);
  EXPECT_EQ(s.substr(at + 16, n), "Corvale_Pianasco");
  EXPECT_EQ(i32(s, at + 1), 60000);
  EXPECT_EQ(i32(s, at + 5), 2000);
  EXPECT_EQ(i32(s, at + 9), 1);
  EXPECT_EQ(u8(s, at + 16 + n), 0x62);
  EXPECT_EQ(u8(s, at + 17 + n), 0x02);
  int weighted = 0, i = 0;
  for (unsigned char c : std::string("4816corvale_pianascommppq")) weighted += ++i * c;
  EXPECT_EQ(i32(s, at + 30 + n), weighted);
  // Record 86: the train number, the signal repetition, sand and clock.
  const std::size_t r86 = at + 34 + n;
  EXPECT_EQ(s.substr(r86 + 16, 4), "4816");
  EXPECT_EQ(i32(s, r86 + 5), 70850);
  EXPECT_EQ(i32(s, r86 + 9), 4);
  EXPECT_EQ(i16(s, r86 + 20), 300);
  EXPECT_EQ(i16(s, r86 + 24), 5);
  EXPECT_EQ(r86 + 34 + 4, s.size());
}

TEST_F(DefaultRun, PlanFileHasBothHalvesInOrder) {
  const std::string p = bytes("Corvale_Pianasco_linea.dat");
  ASSERT_EQ(p.size(), 1556964u);
  const std::string start0("\x02\x00\x00\x00\x02\x00\x00\x00", 8);
  const std::string start1("\x02\x00\x00\x00\x02\x00\x01\x00", 8);
  EXPECT_EQ(p.substr(0, 8), start0);
  EXPECT_EQ(p.substr(p.size() / 2, 8), start1);
  // Each half ends with two empty entries.
  EXPECT_EQ(p.substr(p.size() / 2 - 4, 4), std::string(4, '\0'));
  EXPECT_EQ(p.substr(p.size() - 4, 4), std::string(4, '\0'));
}

TEST_F(DefaultRun, SecondRunGivesIdenticalFiles) {
  const std::string grid = bytes("Corvale_Pianasco_4816.dat");
  const std::string stations = bytes("Corvale_Pianasco_4816.sim");
  const std::string plan = bytes("Corvale_Pianasco_linea.dat");
  const testing::program_result again = testing::run_program(exe, "", dir.path());
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(bytes("Corvale_Pianasco_4816.dat"), grid);
  EXPECT_EQ(bytes("Corvale_Pianasco_4816.sim"), stations);
  EXPECT_EQ(bytes("Corvale_Pianasco_linea.dat"), plan);
}

// What a run on a terminal shows: "Attendere", then each file it wrote.
std::string shown_on_terminal(const std::string& folder) {
  std::string out = "Attendere\r\n";
  for (const char* name :
       {"Corvale_Pianasco_4816_note.txt", "Corvale_Pianasco_4816_rallentamenti.txt",
        "Corvale_Pianasco_4816_scheda_treno.txt", "Corvale_Pianasco_linea.dat",
        "Corvale_Pianasco_4816.sim", "Corvale_Pianasco_4816.dat"})
    out += "wrote " + folder + "/" + name + "\r\n";
  return out;
}

TEST_F(DefaultRun, AttendereAndTheFilesWrittenOnATerminalOnlyAndNotWithQuiet) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, shown_on_terminal(dir.path().string())},
      {{"-q"}, ""},
      {{"--quiet"}, ""},
      {{"run", "-o", "made"}, shown_on_terminal("made")},
      {{"run", "-q", "-o", "made"}, ""},
  };
  for (const auto& [args, err] : cases) {
    SCOPED_TRACE(args.empty() ? "" : args.back());
    const testing::program_result r = testing::run_program_on_terminal(exe, args, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, err);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(bytes("made/Corvale_Pianasco_4816.dat"), bytes("Corvale_Pianasco_4816.dat"));
}

TEST_F(DefaultRun, FolderThatCannotBeWrittenFailsNamingTheFileAndTheWayOut) {
  testing::scratch_folder locked;
  const std::string copy = locked.file("scenario_gen");
  fs::copy_file(SCENARIO_GEN_EXE, copy);
  // Root writes anywhere: the program then runs as nobody, for whom the
  // folder is read-only as for anyone but its owner.
  std::string as_nobody;
  if (::geteuid() == 0) {
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "running as root without setpriv";
    as_nobody = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
  fs::permissions(locked.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
  const testing::program_result r =
      testing::run_program(copy, "", locked.path(), "/dev/null", as_nobody);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "scenario_gen: error: cannot create '" +
                       locked.file("Corvale_Pianasco_linea.txt") +
                       "': Permission denied\nscenario_gen: note: the program's folder '" +
                       locked.path().string() +
                       "' cannot be written; use 'scenario_gen run -o DIR' to build the scenario "
                       "in a folder of yours\n");
}

TEST_F(DefaultRun, OutputThatCannotBeReplacedLeavesTheOlderSetWhole) {
  // The older set: a plan of other bytes, no station file, a folder under
  // the grid's name.
  testing::write_file(dir.path() / "Corvale_Pianasco_linea.dat", "older plan");
  fs::remove(dir.file("Corvale_Pianasco_4816.sim"));
  fs::remove(dir.file("Corvale_Pianasco_4816.dat"));
  fs::create_directory(dir.file("Corvale_Pianasco_4816.dat"));
  const testing::program_result r = testing::run_program(exe, "", dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Corvale_Pianasco_4816.dat"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
  EXPECT_EQ(bytes("Corvale_Pianasco_linea.dat"), "older plan");
  EXPECT_FALSE(fs::exists(dir.file("Corvale_Pianasco_4816.sim")));
  for (const auto& e : fs::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".partial"), std::string::npos) << e.path();
}

TEST_F(DefaultRun, MovesAnAuthorsDescriptionAsideAndReplacesItsOwnSilently) {
  const std::string grid = bytes("Corvale_Pianasco_4816.dat");
  testing::write_file(dir.path() / "Corvale_Pianasco_linea.txt", "edited");
  testing::write_file(dir.path() / "Corvale_Pianasco_linea.txt.bak", "older backup");
  testing::write_file(dir.path() / "Corvale_Pianasco_4816-.txt", testing::shipped_train_text());
  const testing::program_result r = testing::run_program(exe, "", dir.path());
  EXPECT_EQ(r.status, 0);
  const std::string line = dir.file("Corvale_Pianasco_linea.txt");
  EXPECT_EQ(r.err, "scenario_gen: warning: moved '" + line + "' to '" + line +
                       ".bak.1': it is not the description the run writes under that name and "
                       "then deletes\n");
  EXPECT_EQ(bytes("Corvale_Pianasco_linea.txt.bak.1"), "edited");
  EXPECT_EQ(bytes("Corvale_Pianasco_linea.txt.bak"), "older backup");
  EXPECT_FALSE(fs::exists(line));
  EXPECT_FALSE(fs::exists(dir.file("Corvale_Pianasco_4816-.txt")));
  EXPECT_EQ(bytes("Corvale_Pianasco_4816.dat"), grid);
}

}  // namespace
}  // namespace scenario
