// The authoring commands of the real executable: export, compile and run,
// their diagnostics and exit statuses, and the promise that an author's
// input files are never touched.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "cli/command_table.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::line_text;
using testing::slurp;
using testing::train_text;

const char* const k_binary_names[] = {"Corvale_Pianasco_linea.dat", "Corvale_Pianasco_4816.sim",
                                      "Corvale_Pianasco_4816.dat"};

std::string board_line(int position) {
  return "indicatori_vmax, " + std::to_string(position) + ", 85,90,90,0,,,,0";
}

void write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

testing::program_result run(const std::string& args, const fs::path& folder) {
  return testing::run_program(SCENARIO_GEN_EXE, args, folder);
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  if (fs::exists(folder))
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(Compile, ExportedFilesCompileToTheDefaultRunsBytes) {
  testing::scratch_folder dir;
  // The default run, from a copy of the executable.
  fs::create_directory(dir.path() / "default");
  fs::copy_file(SCENARIO_GEN_EXE, dir.path() / "default" / "scenario_gen");
  ASSERT_EQ(testing::run_program(dir.file("default/scenario_gen"), "", dir.path()).status, 0);

  const testing::program_result exported = run("export -o authored", dir.path());
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(names_in(dir.path() / "authored"),
            (std::set<std::string>{"Corvale_Pianasco_linea.txt", "Corvale_Pianasco_4816-.txt",
                                   "Corvale_Pianasco_4816_note.txt",
                                   "Corvale_Pianasco_4816_rallentamenti.txt",
                                   "Corvale_Pianasco_4816_scheda_treno.txt"}));
  const std::string line = slurp(dir.path() / "authored/Corvale_Pianasco_linea.txt");
  const std::string train = slurp(dir.path() / "authored/Corvale_Pianasco_4816-.txt");
  EXPECT_EQ(line, testing::shipped_line_text());
  EXPECT_EQ(train, testing::shipped_train_text());

  const testing::program_result compiled =
      run("compile authored/Corvale_Pianasco_linea.txt authored/Corvale_Pianasco_4816-.txt -o out",
          dir.path());
  EXPECT_EQ(compiled.status, 0);
  EXPECT_EQ(compiled.err, "");  // no fault and no warning
  EXPECT_EQ(compiled.out, "");
  for (const char* name : k_binary_names)
    EXPECT_EQ(slurp(dir.path() / "out" / name), slurp(dir.path() / "default" / name)) << name;
  // The inputs are kept, byte for byte.
  EXPECT_EQ(slurp(dir.path() / "authored/Corvale_Pianasco_linea.txt"), line);
  EXPECT_EQ(slurp(dir.path() / "authored/Corvale_Pianasco_4816-.txt"), train);

  // Without the plan: the same station table and grid, and no plan file.
  const testing::program_result no_plan =
      run("compile authored/Corvale_Pianasco_linea.txt authored/Corvale_Pianasco_4816-.txt "
          "--no-plan -o no_plan",
          dir.path());
  EXPECT_EQ(no_plan.status, 0) << no_plan.err;
  EXPECT_EQ(names_in(dir.path() / "no_plan"),
            (std::set<std::string>{"Corvale_Pianasco_4816.sim", "Corvale_Pianasco_4816.dat"}));
  for (const char* name : {"Corvale_Pianasco_4816.sim", "Corvale_Pianasco_4816.dat"})
    EXPECT_EQ(slurp(dir.path() / "no_plan" / name), slurp(dir.path() / "default" / name));
}

TEST(Compile, TheDocumentedExamplesCompileCleanly) {
  // The examples are files of their own, shown verbatim in the reference.
  const fs::path docs = fs::path(SCENARIO_TESTS_DIR).parent_path() / "docs";
  const std::string reference = slurp(docs / "authoring.md");
  ASSERT_FALSE(reference.empty()) << docs;
  testing::scratch_folder dir;
  for (const char* name : {"Valle_linea.txt", "Valle_12-.txt"}) {
    // The files have CR LF line ends, the page LF.
    std::string text = slurp(docs / "examples" / name);
    std::erase(text, '\r');
    EXPECT_NE(reference.find("```\n" + text + "```\n"), std::string::npos) << name;
    fs::copy_file(docs / "examples" / name, dir.path() / name);
  }
  const testing::program_result r = run("compile Valle_linea.txt Valle_12-.txt -o out", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(names_in(dir.path() / "out"),
            (std::set<std::string>{"Valle_linea.dat", "Valle_12.sim", "Valle_12.dat"}));
}

// One faulty pair of descriptions: what compile prints on stderr and how it ends.
struct fault_case {
  const char* name;
  std::string line;
  std::string train;
  std::string err;
  int status;
};

// Station lines every 500 m, each 100 m long: count of them from 1000 m.
std::string stations(int count) {
  std::string out = "[generale]\r\n";
  for (int i = 0; i < count; ++i)
    out += "stazione, " + std::to_string(1000 + 500 * i) +
           ", 12, 100, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, S" + std::to_string(i) + "\r\n";
  return out + "[fine]\r\n";
}

// A line of 10000 m whose body holds count records made by record(i).
template <typename F>
std::string line_with(int count, F record) {
  std::string out = "[generale]\r\nlunghezza percorso, 10000\r\n[curve]\r\n";
  for (int i = 0; i < count; ++i) out += record(i) + "\r\n";
  return out + "[fine]\r\n";
}

const std::string k_no_grid = "scenario_gen: error: the compile left no route grid (code ";

std::vector<fault_case> fault_cases() {
  const std::string plain_line = line_text(10000);
  const std::string plain_train = train_text({"numero vetture, 5"});
  const std::string board_1850 = "indicatori_vmax, 1850, 85,90,90,0,,,,0";
  auto general = [](const char* record) {
    return "[generale]\r\nlunghezza percorso, 10000\r\n" + std::string(record) +
           "\r\n[curve]\r\n[fine]\r\n";
  };
  auto station = [](const char* where) {
    return "stazione, " + std::string(where) + ", 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, NAME";
  };
  return {
      {"1", line_text(2000000), plain_train,
       "t_linea.txt:2:24: error: route length outside 0 to 1000000 m (code 1)\n" + k_no_grid +
           "1: route length outside 0 to 1000000 m); no binary file was written\n",
       2},
      {"2", general("progressiva chilometrica uno, 125, 1000, 0"), plain_train,
       "t_linea.txt:3:1: error: a kilometric reference whose position or value is not a multiple "
       "of 50 m (code 2)\n",
       1},
      {"25 the final gradient fill pushed past the grid",
       line_text(1000, {"pendenza, 7900, 1", "pendenza, 7900, 1", "pendenza, 7900, 1",
                        "pendenza, 7900, 1"}),
       plain_train, "t_linea.txt:7:1: error: object would lie outside the route grid (code 25)\n",
       1},
      {"25 raising a flagged kilometric value",
       general("progressiva chilometrica uno, 0, 2147483600, 1"), plain_train,
       "t_linea.txt:3:1: error: a kilometric value does not fit its field (code 25)\n", 1},
      {"3", general("ripetizione segnali 4 codici, 25, 100"), plain_train,
       "t_linea.txt:3:31: error: signal repetition start is not a multiple of 50 m (code 3)\n", 1},
      {"4", general("ripetizione segnali 4 codici, 0, 125"), plain_train,
       "t_linea.txt:3:34: error: signal repetition end is not a multiple of 50 m (code 4)\n", 1},
      {"5", general("ripetizione segnali codici, 0, 100"), plain_train,
       "t_linea.txt:3:1: error: signal repetition keyword names neither 4 nor 9 codes (code 5)\n",
       1},
      {"6", line_text(10000, {board_1850, "cartello indicatore, 1850, ALT"}), plain_train,
       "t_linea.txt:5:22: error: text board on an occupied cell (code 6, at 1850 m)\n", 1},
      {"7", plain_line, train_text({"abbattimento, 1000, 0", "abbattimento, 1000, 0"}),
       "t_1-.txt:3:15: error: code line (abbattimento) on an occupied cell (code 7, at 1000 m)\n",
       1},
      {"8", plain_line, train_text({station("125, 8, 300")}),
       "t_1-.txt:2:11: error: station position is not a multiple of 50 m (code 8, at 125 m)\n", 1},
      {"9", plain_line, train_text({station("1000, 12, 250")}),
       "t_1-.txt:2:21: error: station length is not a multiple of 100 m (code 9, at 1000 m)\n", 1},
      {"10", line_text(50000), stations(79),
       "t_1-.txt:80:1: error: too many stations: the station number reaches the first text-board "
       "slot (code 10)\n",
       1},
      // A signal in cell 70 before the warning cell 77 of a slowdown at 5000 m,
      // with speed boards in cells 68 and 69.
      {"11",
       line_text(10000, {"indicatori_vmax, 3350, 85,90,90,0,,,,0",
                         "indicatori_vmax, 3400, 85,90,90,0,,,,0"}),
       train_text(
           {"segnale, 3450, 1, 4,1,0,0,0,0,0,0, 0", "rallentamento, 5000, 50, 200, 0, 0, 0"}),
       "t_1-.txt: error: signal before a slowdown warning has no free cell for its code point "
       "(code 11, at 3500 m)\n",
       1},
      // Speed boards fill cells 56 to 58, the first band before a slowdown
      // starting in cell 63.
      {"12",
       line_with(3,
                 [](int i) {
                   return "indicatori_vmax, " + std::to_string(2750 + 50 * i) + ", 85,90,90,0,,,,0";
                 }),
       train_text({"rallentamento, 3100, 50, 200, 0, 0, 0"}),
       "t_1-.txt: error: no free cell for a code point in a band before a slowdown start (code "
       "12, at 3150 m)\n",
       1},
      // Speed boards in cells 108 to 110, where the walk through a slow
      // slowdown from cell 101 puts its first mark.
      {"13",
       line_with(3,
                 [](int i) {
                   return "indicatori_vmax, " + std::to_string(5350 + 50 * i) + ", 85,90,90,0,,,,0";
                 }),
       train_text({"rallentamento, 5000, 50, 1000, 0, 0, 0"}),
       "t_1-.txt: error: no free cell for a code point inside a slowdown or before the first "
       "signal after it (code 13, at 5450 m)\n",
       1},
      {"15", line_text(10000, {"pendenza, 16950, 0"}), plain_train,
       "t_linea.txt:4:11: error: position too close to the end of the route grid (code 15, at "
       "16950 m)\n",
       1},
      {"16", plain_line,
       train_text({"segnale, 3000, 1, 4,1,0,0,0,0,0,0, 0", "segnale, 3000, 1, 4,1,0,0,0,0,0,0, 0"}),
       "t_1-.txt:3:10: error: signal cell occupied (code 16, at 3000 m)\n", 1},
      {"17", plain_line,
       train_text(
           {"segnale, 3800, 1, 4,1,0,0,0,0,0,0, 0", "rallentamento, 5000, 50, 200, 0, 0, 0"}),
       "t_1-.txt:3:16: error: slowdown warning cell occupied (code 17, at 5000 m)\n", 1},
      {"18", plain_line,
       train_text(
           {"segnale, 5000, 1, 4,1,0,0,0,0,0,0, 0", "rallentamento, 5000, 50, 200, 0, 0, 0"}),
       "t_1-.txt:3:16: error: slowdown start cell occupied (code 18, at 5000 m)\n", 1},
      {"19", plain_line,
       train_text(
           {"segnale, 5200, 1, 4,1,0,0,0,0,0,0, 0", "rallentamento, 5000, 50, 200, 0, 0, 0"}),
       "t_1-.txt:3:16: error: slowdown end cell occupied (code 19, at 5000 m)\n", 1},
      {"20", plain_line,
       train_text(
           {"segnale, 3700, 1, 4,1,0,0,0,0,0,0, 0", "rallentamento, 5000, 50, 200, 0, 1, 0"}),
       "t_1-.txt:3:16: error: slowdown approach cell occupied (code 20, at 5000 m)\n", 1},
      {"21", line_text(10000, {board_1850, board_1850}), plain_train,
       "t_linea.txt:5:18: error: speed board on an occupied cell (code 21, at 1850 m)\n", 1},
      {"22", plain_line, train_text({station("1000, 12, 300"), station("1300, 12, 300")}),
       "t_1-.txt:3:11: error: station area starts less than 350 m after the previous station's "
       "area "
       "ends (code 22, at 1300 m)\n",
       1},
      {"24", plain_line, train_text({station("0, 12, 100")}),
       "t_1-.txt:2:1: error: station stop cell would be cell 1 or lower (code 24)\n", 1},
      {"25", line_text(10000, {"pendenza, 100, x"}), plain_train,
       "t_linea.txt:4:16: error: 'x' is not a whole number (code 25)\n", 1},
      {"102", "no section here\r\n[fine]\r\n", plain_train,
       "t_linea.txt:2:1: error: line description has no [generale] before its last field (code "
       "102)\n" +
           k_no_grid +
           "102: line description has no [generale] before its last field); no binary file was "
           "written\n",
       2},
      {"103", line_text(10000, {"curvad, 500, 300"}), plain_train,
       "t_linea.txt:4:1: error: curve keyword without a curvature digit 1 to 6, or the plan passes "
       "1000000 m (code 103)\n",
       1},
      {"104", "[generale]\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n", plain_train,
       "t_linea.txt: error: no route length record before the body of the line description "
       "(code 104)\n" +
           k_no_grid +
           "104: no route length record before the body of the line description); no binary "
           "file was written\n",
       2},
      {"105",
       line_with(
           80,
           [](int i) { return "cartello indicatore, " + std::to_string(100 + 100 * i) + ", B"; }),
       plain_train,
       "t_linea.txt:83:22: error: too many text boards (at most 79) (code 105, at 8000 m)\n", 1},
      {"106",
       line_with(81,
                 [](int i) {
                   return "montagna, " + std::to_string(100 * i) + ", " +
                          std::to_string(100 * i + 50) + ", 1";
                 }),
       plain_train,
       "t_linea.txt:84:11: error: too many scenery sections (at most 80) (code 106, at 8000 m)\n",
       1},
      {"107", line_text(10000, {"pendenza, 100, 200"}), plain_train,
       "t_linea.txt:4:16: error: gradient outside -100 to 155 (code 107, at 100 m)\n", 1},
      {"108", plain_line, train_text({"segnale, 100, 1, 4,1,0,0,0,0,0,0, 0"}),
       "t_1-.txt:2:10: error: object would lie outside the route grid (code 108, at 100 m)\n", 1},
      {"1250", plain_line, train_text({"rallentamento, 0, 50, 200, 0, 0, 0"}),
       " Errore n. 1250\nscenario_gen: error: message 1250: a reserved stamp place in grid cell "
       "1 is already taken\n",
       2},
      {"1251", plain_line, train_text({"rallentamento, 0, 0, 200, 0, 0, 5"}),
       " Errore n. 1251\nscenario_gen: error: message 1251: a reserved stamp place in grid cell "
       "1 is already taken\n",
       2},
  };
}

// The first line of each error and warning in err, and what the program
// says of itself: without the source lines, carets and notes under them.
std::string headlines(const std::string& err) {
  static const std::regex head(
      R"(^[^ ]+: (error|warning): |^[^ ]+:[0-9]+:[0-9]+: (error|warning): |^scenario_gen: note: )");
  std::string out;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);)
    if (std::regex_search(line, head) || line.starts_with(" Errore n. ")) out += line + "\n";
  return out;
}

TEST(Compile, EveryFaultFromInputFilesWithItsLineAndStatus) {
  for (const fault_case& c : fault_cases()) {
    SCOPED_TRACE(c.name);
    testing::scratch_folder dir;
    write(dir.path() / "t_linea.txt", c.line);
    write(dir.path() / "t_1-.txt", c.train);
    const testing::program_result r = run("compile -w t_linea.txt t_1-.txt -o out", dir.path());
    EXPECT_EQ(headlines(r.err), c.err);
    EXPECT_EQ(r.status, c.status);
    // Binary files exactly when the status says so; inputs always kept.
    const std::set<std::string> written =
        c.status == 2 ? std::set<std::string>{}
                      : std::set<std::string>{"t_linea.dat", "t_1.sim", "t_1.dat"};
    EXPECT_EQ(names_in(dir.path() / "out"), written);
    EXPECT_EQ(slurp(dir.path() / "t_linea.txt"), c.line);
    EXPECT_EQ(slurp(dir.path() / "t_1-.txt"), c.train);
  }
}

// The diagnostics in err, each whole: its line, source line, caret and
// notes.
std::vector<std::string> diagnostic_blocks(const std::string& err) {
  static const std::regex head(
      R"(^[^ ]+: (error|warning): |^[^ ]+:[0-9]+:[0-9]+: (error|warning): )");
  std::vector<std::string> out;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, head) || out.empty()) out.emplace_back();
    out.back() += line + "\n";
  }
  return out;
}

TEST(Check, PrintsEveryDiagnosticCompilePrintsWithTheSameTextAndNotes) {
  int compared = 0;
  for (const fault_case& c : fault_cases()) {
    SCOPED_TRACE(c.name);
    testing::scratch_folder dir;
    write(dir.path() / "t_linea.txt", c.line);
    write(dir.path() / "t_1-.txt", c.train);
    const testing::program_result checked = run("check t_linea.txt t_1-.txt", dir.path());
    EXPECT_EQ(checked.status, 1);
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"t_linea.txt", "t_1-.txt"}));
    const std::vector<std::string> check_blocks = diagnostic_blocks(checked.err);
    const std::string compiled = run("compile t_linea.txt t_1-.txt -o out", dir.path()).err;
    for (const std::string& block : diagnostic_blocks(compiled)) {
      // What only a compile says: the message box's line, and that it
      // could write nothing.
      if (block.starts_with(" Errore n. ") ||
          block.find("no binary file was written") != block.npos)
        continue;
      EXPECT_NE(std::find(check_blocks.begin(), check_blocks.end(), block), check_blocks.end())
          << block << "\n"
          << checked.err;
      ++compared;
    }
  }
  EXPECT_GT(compared, 30);  // the faults and warnings of the files, nearly every case
}

TEST(Compile, FaultsPrintInOrderEndingWithTheOneKept) {
  testing::scratch_folder dir;
  // A soft stop of the line (15), then a pass fault (12) and code 2, which is
  // found last.
  write(dir.path() / "r_linea.txt",
        "[generale]\r\nlunghezza percorso, 10000\r\nprogressiva chilometrica uno, 0, 1010, 0\r\n"
        "[curve]\r\nindicatori_vmax, 2750, 85,90,90,0,,,,0\r\n"
        "indicatori_vmax, 2800, 85,90,90,0,,,,0\r\nindicatori_vmax, 2850, 85,90,90,0,,,,0\r\n"
        "pendenza, 16950, 0\r\n[fine]\r\n");
  write(dir.path() / "r_7-.txt", train_text({"rallentamento, 3100, 50, 200, 0, 0, 0"}));
  const testing::program_result r = run("compile r_linea.txt r_7-.txt", dir.path());
  EXPECT_EQ(
      r.err,
      "r_linea.txt: warning: no background record (sfondo uno): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "r_linea.txt: warning: no background record (sfondo due): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "r_linea.txt: warning: no background record (sfondo tre): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "r_linea.txt: warning: no signal-repetition record (ripetizione segnali 4 codici): the "
      "signals are not repeated (from 0 m to 0 m, no codes) [-Wmissing-record]\n"
      "r_7-.txt: warning: no car-count record (numero vetture): the train has 0 cars "
      "[-Wmissing-record]\n"
      "r_7-.txt: warning: no braked-mass record (percentuale massa frenata): the braked-mass "
      "percentage is 0 [-Wmissing-record]\n"
      "r_7-.txt: warning: no sand record (sabbia): the sand quantity is 0 [-Wmissing-record]\n"
      "r_7-.txt: warning: no clock record (orologio): the clock starts at 0:00:00 "
      "[-Wmissing-record]\n"
      "r_7-.txt: warning: no speed-limit record (velocita): the speed limit is 0 km/h along the "
      "whole line [-Wmissing-record]\n"
      "r_7-.txt: warning: no adhesion record (aderenza): the adhesion is 0 along the whole line "
      "[-Wmissing-record]\n"
      "r_7-.txt: warning: no station record (stazione): the train has no stop [-Wmissing-record]\n"
      "r_linea.txt:8:11: error: position too close to the end of the route grid (code 15, at 16950 "
      "m)\n"
      "pendenza, 16950, 0\n"
      "          ^\n"
      "r_linea.txt:2:1: note: the route length 10000 m set here ends the grid at 17000 m: an "
      "object must stand 100 m before that, a station 800 m\n"
      "lunghezza percorso, 10000\n"
      "^\n"
      "r_linea.txt:3:1: error: a kilometric reference whose position or value is not a multiple of "
      "50 m (code 2)\n"
      "progressiva chilometrica uno, 0, 1010, 0\n"
      "^\n"
      "r_7-.txt: error: no free cell for a code point in a band before a slowdown start (code 12, "
      "at 3150 m)\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"r_linea.txt", "r_7-.txt", "r_linea.dat",
                                                         "r_7.sim", "r_7.dat"}));
}

TEST(Compile, WarningsComeFirstAndStopWhereTheCompileStopped) {
  testing::scratch_folder dir;
  write(dir.path() / "w_linea.txt",
        line_text(10000, {"pendnza, 300, 5", board_line(1850), board_line(1850),
                          "montagna, 100, 200, 300"}));
  write(dir.path() / "w_1-.txt", train_text({"aderenza, 0, 300"}));
  const testing::program_result r = run("compile w_linea.txt w_1-.txt", dir.path());
  // The scenery record after the hard stop on line 6 and the train
  // description, which is not compiled after it, give no warning.
  EXPECT_EQ(r.err,
            "w_linea.txt: warning: no kilometric reference (progressiva chilometrica uno, due or "
            "tre): the three references stored are all 0 [-Wmissing-record]\n"
            "w_linea.txt: warning: no background record (sfondo uno): the setting passed to the "
            "simulator is 0 [-Wmissing-record]\n"
            "w_linea.txt: warning: no background record (sfondo due): the setting passed to the "
            "simulator is 0 [-Wmissing-record]\n"
            "w_linea.txt: warning: no background record (sfondo tre): the setting passed to the "
            "simulator is 0 [-Wmissing-record]\n"
            "w_linea.txt: warning: no signal-repetition record (ripetizione segnali 4 codici): the "
            "signals are not repeated (from 0 m to 0 m, no codes) [-Wmissing-record]\n"
            "w_linea.txt:4:1: warning: 'pendnza' is not a keyword of the line description: this "
            "record and its values are not read; did you mean 'pendenza'? [-Wunknown-keyword]\n"
            "pendnza, 300, 5\n"
            "^\n"
            "w_linea.txt:6:18: error: speed board on an occupied cell (code 21, at 1850 m)\n"
            "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
            "                 ^\n"
            "w_linea.txt:5:1: note: the cell is already taken by the record here\n"
            "indicatori_vmax, 1850, 85,90,90,0,,,,0\n"
            "^\n");
  EXPECT_EQ(r.status, 1);

  write(dir.path() / "w_linea.txt", line_text(10000));
  const testing::program_result train = run("compile w_linea.txt w_1-.txt", dir.path());
  EXPECT_EQ(
      train.err,
      "w_linea.txt: warning: no kilometric reference (progressiva chilometrica uno, due or tre): "
      "the three references stored are all 0 [-Wmissing-record]\n"
      "w_linea.txt: warning: no background record (sfondo uno): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "w_linea.txt: warning: no background record (sfondo due): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "w_linea.txt: warning: no background record (sfondo tre): the setting passed to the "
      "simulator is 0 [-Wmissing-record]\n"
      "w_linea.txt: warning: no signal-repetition record (ripetizione segnali 4 codici): the "
      "signals are not repeated (from 0 m to 0 m, no codes) [-Wmissing-record]\n"
      "w_1-.txt:2:14: warning: adhesion 300 is kept to its low 8 bits and becomes 44 [-Wlow-bits]\n"
      "aderenza, 0, 300\n"
      "             ^\n"
      "w_1-.txt: warning: no car-count record (numero vetture): the train has 0 cars "
      "[-Wmissing-record]\n"
      "w_1-.txt: warning: no braked-mass record (percentuale massa frenata): the braked-mass "
      "percentage is 0 [-Wmissing-record]\n"
      "w_1-.txt: warning: no sand record (sabbia): the sand quantity is 0 [-Wmissing-record]\n"
      "w_1-.txt: warning: no clock record (orologio): the clock starts at 0:00:00 "
      "[-Wmissing-record]\n"
      "w_1-.txt: warning: no speed-limit record (velocita): the speed limit is 0 km/h along the "
      "whole line [-Wmissing-record]\n"
      "w_1-.txt: warning: no station record (stazione): the train has no stop "
      "[-Wmissing-record]\n");
  EXPECT_EQ(train.status, 0);
  const std::string grid = slurp(dir.path() / "w_1.dat");
  EXPECT_EQ(static_cast<unsigned char>(grid[14]), 44);  // the warning told the truth
  // -w silences warnings and nothing else.
  const testing::program_result quiet = run("compile -w w_linea.txt w_1-.txt", dir.path());
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(slurp(dir.path() / "w_1.dat"), grid);
}

TEST(Compile, RefusesToWriteOverItsInputs) {
  testing::scratch_folder dir;
  const std::string line = line_text(10000);
  // A line description named like the plan file of line "x".
  write(dir.path() / "x_linea.dat", line);
  write(dir.path() / "x_1-.txt", train_text());
  const testing::program_result r = run("compile x_linea.dat x_1-.txt --line-name x", dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "scenario_gen: error: the output './x_linea.dat' is the input 'x_linea.dat'; choose "
            "another folder with -o or other names\n");
  EXPECT_EQ(slurp(dir.path() / "x_linea.dat"), line);
  EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"x_linea.dat", "x_1-.txt"}));

  // The same file reached through a link is still the input.
  fs::create_directory(dir.path() / "sub");
  fs::create_symlink(dir.path() / "x_linea.dat", dir.path() / "sub" / "x_linea.dat");
  EXPECT_EQ(run("compile x_linea.dat x_1-.txt --line-name x -o sub", dir.path()).status, 2);
  EXPECT_EQ(slurp(dir.path() / "x_linea.dat"), line);

  // With --no-plan the plan file is not written, so the name is free.
  EXPECT_EQ(run("compile x_linea.dat x_1-.txt --line-name x --no-plan", dir.path()).status, 0);
  EXPECT_EQ(slurp(dir.path() / "x_linea.dat"), line);

  // Train number "linea" would write the grid over the plan.
  write(dir.path() / "y_linea.txt", line);
  const testing::program_result same =
      run("compile y_linea.txt x_1-.txt --train-number linea", dir.path());
  EXPECT_EQ(same.status, 2);
  EXPECT_FALSE(fs::exists(dir.path() / "y_linea.dat"));
}

TEST(Compile, NamesComeFromTheFilesOrTheOptions) {
  testing::scratch_folder dir;
  write(dir.path() / "Valle_linea.txt", line_text(10000));
  write(dir.path() / "Valle_12-.txt", train_text());
  write(dir.path() / "line.txt", line_text(10000));
  EXPECT_EQ(run("compile Valle_linea.txt Valle_12-.txt -o a", dir.path()).status, 0);
  EXPECT_EQ(names_in(dir.path() / "a"),
            (std::set<std::string>{"Valle_linea.dat", "Valle_12.sim", "Valle_12.dat"}));
  EXPECT_EQ(run("compile --train-number=9 -o b --line-name Monte Valle_linea.txt Valle_12-.txt",
                dir.path())
                .status,
            0);
  EXPECT_EQ(names_in(dir.path() / "b"),
            (std::set<std::string>{"Monte_linea.dat", "Monte_9.sim", "Monte_9.dat"}));
  const std::string sim = slurp(dir.path() / "b/Monte_9.sim");
  EXPECT_NE(sim.find("Monte"), std::string::npos);  // the names go into the station file

  const testing::program_result unnamed = run("compile line.txt Valle_12-.txt", dir.path());
  EXPECT_EQ(unnamed.status, 2);
  EXPECT_EQ(unnamed.err.substr(0, unnamed.err.find('\n')),
            "scenario_gen: error: the line name is needed: 'line.txt' is not named "
            "NAME_linea.txt; give --line-name NAME");
  // A name that would leave the output folder is refused before anything is written.
  EXPECT_EQ(run("compile Valle_linea.txt Valle_12-.txt -o c --line-name ../up", dir.path()).status,
            2);
  EXPECT_FALSE(fs::exists(dir.path() / "c"));
}

TEST(Compile, NamesAreStoredAsTheSimulatorReadsThem) {
  testing::scratch_folder dir;
  // "Città", and a train file that does not carry the line's name.
  write(dir.path() / "Citt\xC3\xA0_linea.txt", line_text(10000));
  write(dir.path() / "treno_7-.txt", train_text());
  const testing::program_result r =
      run("compile Citt\xC3\xA0_linea.txt treno_7-.txt -o out", dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  // The files keep the UTF-8 name of the host; the table holds Windows-1252.
  EXPECT_EQ(names_in(dir.path() / "out"),
            (std::set<std::string>{"Citt\xC3\xA0_linea.dat", "Citt\xC3\xA0_7.sim",
                                   "Citt\xC3\xA0_7.dat"}));
  const std::string sim = slurp(dir.path() / "out/Citt\xC3\xA0_7.sim");
  EXPECT_NE(sim.find(std::string("\x05\x00"
                                 "Citt\xE0",
                                 7)),
            std::string::npos);
  EXPECT_EQ(sim.find("Citt\xC3"), std::string::npos);
  const testing::program_result dumped = run("dump 'out/Citt\xC3\xA0_7.sim'", dir.path());
  EXPECT_NE(dumped.out.find("(matches the names)"), std::string::npos) << dumped.out;

  const testing::program_result cyrillic =
      run("compile Citt\xC3\xA0_linea.txt treno_7-.txt -o ru --line-name "
          "\xD0\x9B\xD0\xB8\xD0\xBD\xD0\xB8\xD1\x8F",
          dir.path());
  EXPECT_EQ(cyrillic.status, 2);
  EXPECT_EQ(cyrillic.err,
            "scenario_gen: error: the line name '\xD0\x9B\xD0\xB8\xD0\xBD\xD0\xB8\xD1\x8F' "
            "holds '\xD0\x9B' (U+041B), which Windows-1252 lacks\nTry 'scenario_gen compile "
            "--help' for more information.\n");
  EXPECT_FALSE(fs::exists(dir.path() / "ru"));
}

TEST(Compile, OutputFolderIsCreatedButMustBeAFolder) {
  testing::scratch_folder dir;
  write(dir.path() / "v_linea.txt", line_text(10000));
  write(dir.path() / "v_1-.txt", train_text());
  EXPECT_EQ(run("compile v_linea.txt v_1-.txt -o new/deeper", dir.path()).status, 0);
  EXPECT_TRUE(fs::exists(dir.path() / "new/deeper/v_1.dat"));
  const testing::program_result r = run("compile v_linea.txt v_1-.txt -o v_1-.txt", dir.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "scenario_gen: error: 'v_1-.txt' is not a folder\n");
}

TEST(CommandLine, UsageErrorsSayWhatAndWhereToLookAndWriteNothing) {
  testing::scratch_folder dir;
  write(dir.path() / "v_linea.txt", line_text(10000));
  const std::string try_compile = "Try 'scenario_gen compile --help' for more information.\n";
  const std::string try_help = "Try 'scenario_gen --help' for more information.\n";
  struct usage_case {
    const char* args;
    std::string err;
  } cases[] = {
      {"compile v_linea.txt",
       "scenario_gen: error: compile needs a line description and a train description\n" +
           try_compile},
      {"compile v_linea.txt a b", "scenario_gen: error: unexpected argument 'b'\n" + try_compile},
      {"compile v_linea.txt v_linea.txt --frob",
       "scenario_gen: error: unknown option '--frob'\n" + try_compile},
      {"compile v_linea.txt v_linea.txt --no-pln",
       "scenario_gen: error: unknown option '--no-pln'; did you mean '--no-plan'?\n" + try_compile},
      {"compile v_linea.txt v_linea.txt -o",
       "scenario_gen: error: option '-o' needs a value\n" + try_compile},
      {"export --no-plan",
       "scenario_gen: error: unknown option '--no-plan'\nTry 'scenario_gen export --help' for "
       "more information.\n"},
      {"run extra",
       "scenario_gen: error: unexpected argument 'extra'\nTry 'scenario_gen run --help' for more "
       "information.\n"},
      {"complie a b",
       "scenario_gen: error: unknown command 'complie'; did you mean 'compile'?\n" + try_help},
      {"frobnicate", "scenario_gen: error: unknown command 'frobnicate'\n" + try_help},
      {"--frob", "scenario_gen: error: unknown option '--frob'\n" + try_help},
      {"--verison",
       "scenario_gen: error: unknown option '--verison'; did you mean '--version'?\n" + try_help},
      {"-q run",
       "scenario_gen: error: options go after the command: scenario_gen run ...\n" + try_help},
      {"help dumb",
       "scenario_gen: error: unknown command 'dumb'; did you mean 'dump'?\n" + try_help},
      {"--help dumb",
       "scenario_gen: error: unknown command 'dumb'; did you mean 'dump'?\n" + try_help},
      {"help run export",
       "scenario_gen: error: unexpected argument 'export'\nTry 'scenario_gen help --help' for "
       "more information.\n"},
  };
  for (const usage_case& c : cases) {
    SCOPED_TRACE(c.args);
    const testing::program_result r = run(c.args, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");
  }
  // An input that cannot be read is no usage error: its one line says why.
  // A FIFO, which would hang the read, and a huge (here sparse) file, which
  // would fill the memory, are refused unopened.
  ASSERT_EQ(::mkfifo((dir.path() / "f_linea.txt").c_str(), 0644), 0);
  write(dir.path() / "h_linea.txt", "");
  fs::resize_file(dir.path() / "h_linea.txt", 16 * 1024 * 1024 + 1);
  const std::pair<const char*, const char*> unreadable[] = {
      {"compile v_linea.txt v_1-.txt", "cannot open 'v_1-.txt': No such file or directory"},
      {"compile f_linea.txt v_1-.txt", "cannot read 'f_linea.txt': not a regular file"},
      {"compile h_linea.txt v_1-.txt",
       "cannot read 'h_linea.txt': 16777217 bytes, larger than a description may be (at most "
       "16777216 bytes)"},
  };
  for (const auto& [args, why] : unreadable) {
    const testing::program_result r = run(args, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "scenario_gen: error: " + std::string(why) + "\n");
  }
  EXPECT_EQ(names_in(dir.path()),
            (std::set<std::string>{"v_linea.txt", "f_linea.txt", "h_linea.txt"}));
}

TEST(CommandLine, HelpListsEveryCommandAndEachCommandHasItsOwn) {
  testing::scratch_folder dir;
  const testing::program_result help = run("--help", dir.path());
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: scenario_gen [-q]\n", 0), 0u);
  EXPECT_EQ(run("help", dir.path()).out, help.out);
  EXPECT_EQ(run("-h", dir.path()).out, help.out);
  // The reference is named where it is: beside the source tree here.
  const fs::path docs = fs::path(SCENARIO_TESTS_DIR).parent_path() / "docs";
  EXPECT_NE(help.out.find("  " + docs.string() + "/authoring.md\n"), std::string::npos) << help.out;
  std::set<std::size_t> summary_columns;  // one column for every summary
  for (const command_info& c : command_table()) {
    SCOPED_TRACE(c.name);
    const std::size_t at = help.out.find("\n  " + std::string(c.name) + "  ");
    ASSERT_NE(at, std::string::npos);
    const std::size_t summary = help.out.find_first_not_of(' ', at + 3 + c.name.size());
    EXPECT_EQ(help.out.substr(summary, c.summary.size() + 1), std::string(c.summary) + "\n");
    summary_columns.insert(summary - at - 1);
    const std::string name(c.name);
    const testing::program_result own = run("help " + name, dir.path());
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(own.out.rfind("Usage: scenario_gen " + command_synopsis(c) + "\n", 0), 0u);
    EXPECT_NE(own.out.find("\n  Example:\n    scenario_gen " + std::string(c.example) + "\n"),
              std::string::npos);
    EXPECT_EQ(own.out.find(" \n"), std::string::npos) << "a line ends in a blank";
    EXPECT_EQ(run(name + " --help", dir.path()).out, own.out);
    EXPECT_EQ(run("--help " + name, dir.path()).out, own.out);
  }
  EXPECT_EQ(summary_columns.size(), 1u);
  EXPECT_NE(run("help compile", dir.path()).out.find("    --line-name NAME        the line name"),
            std::string::npos);
  EXPECT_TRUE(names_in(dir.path()).empty());
}

TEST(CommandLine, VersionNamesTheCopyrightAndTheLicence) {
  testing::scratch_folder dir;
  const testing::program_result version = run("--version", dir.path());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.err, "");
  const std::string licence = slurp(fs::path(SCENARIO_TESTS_DIR).parent_path() / "LICENSE");
  ASSERT_EQ(licence.rfind("MIT License\n\nCopyright (c) ", 0), 0u);
  EXPECT_EQ(version.out, "scenario_gen 0.1.0\n" + licence.substr(13, licence.find('\n', 13) - 12) +
                             "Distributed under the MIT License; its terms are in the file "
                             "LICENSE.\n");
}

TEST(Export, WritesIntoTheCurrentFolderAndKeepsAnAuthorsEdits) {
  testing::scratch_folder dir;
  EXPECT_EQ(run("export", dir.path()).status, 0);
  EXPECT_EQ(names_in(dir.path()).size(), 5u);
  const fs::path line = dir.path() / "Corvale_Pianasco_linea.txt";
  write(line, "edited");
  const testing::program_result again = run("export", dir.path());
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err,
            "scenario_gen: error: './Corvale_Pianasco_linea.txt' exists; give --force to "
            "replace it\n");
  EXPECT_EQ(slurp(line), "edited");
  EXPECT_EQ(run("export --force", dir.path()).status, 0);
  EXPECT_EQ(slurp(line), testing::shipped_line_text());
}

TEST(Run, BuildsTheShippedScenarioInTheGivenFolder) {
  testing::scratch_folder dir;
  const testing::program_result r = run("run -o made", dir.path());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");  // no "Attendere" into a pipe
  EXPECT_EQ(names_in(dir.path() / "made"),
            (std::set<std::string>{
                "Corvale_Pianasco_4816_note.txt", "Corvale_Pianasco_4816_rallentamenti.txt",
                "Corvale_Pianasco_4816_scheda_treno.txt", "Corvale_Pianasco_linea.dat",
                "Corvale_Pianasco_4816.sim", "Corvale_Pianasco_4816.dat"}));
  EXPECT_EQ(fs::file_size(dir.path() / "made/Corvale_Pianasco_linea.dat"), 1556964u);

  // An author's edited description in the folder would be replaced and
  // deleted by the run: it is refused unless forced. The exported line
  // description, the run's own bytes, is not in the way.
  ASSERT_EQ(run("export -o made --force", dir.path()).status, 0);
  write(dir.path() / "made/Corvale_Pianasco_4816-.txt", "edited");
  const testing::program_result refused = run("run -o made", dir.path());
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "scenario_gen: error: 'made/Corvale_Pianasco_4816-.txt' exists and the run would "
            "replace and then delete it; move it away or give --force\n");
  EXPECT_EQ(slurp(dir.path() / "made/Corvale_Pianasco_4816-.txt"), "edited");
  EXPECT_EQ(run("run -o made --force", dir.path()).status, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "made/Corvale_Pianasco_4816-.txt"));

  // A run that fails after writing its descriptions takes them away again,
  // so that they do not stop the next run.
  fs::remove(dir.path() / "made/Corvale_Pianasco_4816_note.txt");
  fs::create_directory(dir.path() / "made/Corvale_Pianasco_4816_note.txt");
  EXPECT_EQ(run("run -o made", dir.path()).status, 2);
  EXPECT_FALSE(fs::exists(dir.path() / "made/Corvale_Pianasco_linea.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "made/Corvale_Pianasco_4816-.txt"));
  fs::remove(dir.path() / "made/Corvale_Pianasco_4816_note.txt");
  EXPECT_EQ(run("run -o made", dir.path()).status, 0);
}

TEST(Compile, ATerminalRunEndsWithTheCountAPipeDoesNot) {
  testing::scratch_folder dir;
  write(dir.path() / "c_linea.txt", line_text(10000, {board_line(1850), board_line(1850)}));
  write(dir.path() / "c_1-.txt", train_text({"aderenza, 0, 300"}));
  for (const char* command : {"compile", "check"}) {
    SCOPED_TRACE(command);
    const bool check = std::string(command) == "check";
    const std::string piped =
        run(std::string(command) + " c_linea.txt c_1-.txt" + (check ? "" : " -o out"), dir.path())
            .err;
    EXPECT_EQ(piped.find(" error, "), std::string::npos) << piped;
    std::vector<std::string> words{command, "c_linea.txt", "c_1-.txt"};
    if (!check) words.insert(words.end(), {"-o", "out"});
    const std::string shown =
        testing::run_program_on_terminal(SCENARIO_GEN_EXE, words, dir.path()).err;
    // check goes on past the first fault; compile stops at it, before the
    // train description's warnings (the line's missing general records are
    // warned of as its reading ends, before the board's fault is printed).
    const std::string count = check ? "1 error, 12 warnings\r\n" : "1 error, 5 warnings\r\n";
    EXPECT_TRUE(shown.ends_with(count)) << shown;
  }
}

}  // namespace
}  // namespace scenario
