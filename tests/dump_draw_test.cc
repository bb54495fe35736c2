// dump and draw on the files of the default run, through the real executable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "test_support.h"
#include "xml_check.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

constexpr const char* k_grid = "Corvale_Pianasco_4816.dat";
constexpr const char* k_stations = "Corvale_Pianasco_4816.sim";
constexpr const char* k_plan = "Corvale_Pianasco_linea.dat";

class DumpDraw : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new testing::scratch_folder;
    exe = new std::string(dir->file("scenario_gen"));
    fs::copy_file(SCENARIO_GEN_EXE, *exe);
    ASSERT_EQ(testing::run_program(*exe, "", dir->path()).status, 0);
  }
  static void TearDownTestSuite() {
    delete exe;
    delete dir;
  }
  static testing::program_result run(const std::string& args) {
    return testing::run_program(*exe, args, dir->path());
  }
  static std::string bytes(const std::string& name) { return testing::slurp(dir->path() / name); }
  static void write(const std::string& name, const std::string& content) {
    std::ofstream(dir->file(name), std::ios::binary) << content;
  }
  static bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  static testing::scratch_folder* dir;
  static std::string* exe;
};
testing::scratch_folder* DumpDraw::dir = nullptr;
std::string* DumpDraw::exe = nullptr;

TEST_F(DumpDraw, PlainDumpOfEachFileShowsItsContentInWords) {
  const auto g = run(std::string("dump ") + k_grid);
  EXPECT_EQ(g.status, 0);
  EXPECT_EQ(g.err, "");
  EXPECT_TRUE(has(g.out, "1558 cells (0 to 1557)")) << g.out;
  EXPECT_TRUE(has(g.out,
                  "306   15300  signal                   40        10        10         6      140 "
                  "         0  aspects 40 10 10, type 6; clearing delay 140 s"));
  EXPECT_TRUE(has(g.out, "1000   50000  slowdown warning         50"));
  EXPECT_TRUE(has(g.out, "scenario stamp, check code 2455"));
  EXPECT_TRUE(has(g.out, "610  to   695   30500  to  34800   -11 per mille"));

  const auto s = run(std::string("dump ") + k_stations);
  EXPECT_EQ(s.status, 0);
  EXPECT_TRUE(
      has(s.out,
          "  5  station               MONTALE ROSSIA      12   23200   23600      23400  06:21:00"))
      << s.out;
  EXPECT_TRUE(has(s.out, "13-80  unused"));
  EXPECT_TRUE(has(s.out, "kilometric reference at 0 m: km 172+100, flag 1"));
  EXPECT_TRUE(has(s.out, "stamp 610, check code 34371 (matches the names)"));
  EXPECT_TRUE(has(s.out, "sand 300; clock starts at 05:57:30"));

  const auto p = run(std::string("dump ") + k_plan);
  EXPECT_EQ(p.status, 0);
  EXPECT_TRUE(has(p.out, "155702 entries, metres 0 to 77850 (E = 77850)")) << p.out;
  EXPECT_TRUE(has(p.out, "real                 77847         77847"));
  EXPECT_TRUE(has(p.out, "first point   metre 0: (0.000, 0.000)"));
  EXPECT_TRUE(has(p.out, "last point    metre 77848: ("));
  EXPECT_TRUE(has(p.out, "turning       net -42.97 degrees (left)"));
}

TEST_F(DumpDraw, JsonDumpCarriesEveryField) {
  const auto g = run(std::string("dump --json ") + k_grid);
  EXPECT_EQ(g.status, 0);
  EXPECT_TRUE(has(g.out,
                  "{\"cell\": 306, \"tipo_cella\": 1, \"valore_a\": 40, \"valore_b\": 10, "
                  "\"valore_c\": 10, \"valore_d\": 6, \"ritardo\": 140, \"preavviso\": 0, "
                  "\"ambiente\": 0, \"vel_limite\": 15, \"pendenza\": 127, \"aderenza\": 100}"))
      << g.out.substr(0, 400);
  EXPECT_TRUE(has(g.out, "{\"cell\": 1557,"));

  const auto s = run(std::string("dump ") + k_stations + " --json");
  EXPECT_TRUE(has(s.out,
                  "{\"slot\": 85, \"role\": \"line values\", \"tipo_stazione\": 0, "
                  "\"inizio\": 60000, \"fine\": 2000, \"posizione\": 1, \"campo_1\": 0, "
                  "\"nome\": \"Corvale_Pianasco\", \"campo_2\": 610,"));

  const auto p = run(std::string("dump --json ") + k_plan);
  EXPECT_TRUE(has(p.out, "\"extent\": 77850,"));
  EXPECT_TRUE(has(p.out, "{\"tags\": [2, 2, 5, 5,"));
  EXPECT_TRUE(has(p.out, "\"values\": [0, 1, 2, 3,"));  // coordinate 1 of a straight start
  EXPECT_TRUE(has(p.out, "null]}\n  ]\n}\n"));
}

TEST_F(DumpDraw, DamagedFilesFailWithTheOffsetAndTheReason) {
  const std::string g = bytes(k_grid);
  const std::string s = bytes(k_stations);
  const std::string p = bytes(k_plan);
  write("cut.dat", g.substr(0, g.size() - 1));
  write("pad.dat", g + '\0');
  write("cut.sim", s.substr(0, s.size() - 1));
  write("pad.sim", s + "abc");
  write("cut_linea.dat", p.substr(0, p.size() - 1));
  write("pad_linea.dat", p + std::string(4, '\0'));
  const std::pair<const char*, const char*> cases[] = {
      {"cut.dat", "offset 23355: route grid: partial cell 1557: 14 of 15 bytes"},
      {"pad.dat", "offset 23370: route grid: partial cell 1558: 1 of 15 bytes"},
      {"cut.sim", "offset 3083: station table: truncated record 86: orario needs 4 bytes, 3 left"},
      {"pad.sim", "offset 3087: station table: 3 bytes after record 86"},
      {"cut_linea.dat",
       "offset 1556962: line plan: truncated entry 155701: tag needs 2 bytes, 1 left"},
      {"pad_linea.dat",
       "offset 778490: line plan: metre 1: tag 5 in coordinate 1, 2 in coordinate 0"},
  };
  for (const auto& [file, reason] : cases) {
    const auto r = run(std::string("dump ") + file);
    EXPECT_EQ(r.status, 2) << file;
    EXPECT_EQ(r.out, "") << file;
    EXPECT_EQ(r.err, std::string("scenario_gen: error: ") + file + ": " + reason + "\n");
  }
}

TEST_F(DumpDraw, UnnamedFilesAreToldApartByContent) {
  write("grid.bin", bytes(k_grid));
  write("table", bytes(k_stations));
  write("plan.bin", bytes(k_plan));
  EXPECT_TRUE(has(run("dump grid.bin").out, "route grid grid.bin: 23370 bytes"));
  EXPECT_TRUE(has(run("dump table").out, "station table table: 3087 bytes"));
  EXPECT_TRUE(has(run("dump plan.bin").out, "line plan plan.bin: 1556964 bytes"));
  // Zero bytes would be empty plan entries, but no plan starts without a seed.
  write("zeros.bin", std::string(100, '\0'));
  const auto z = run("dump zeros.bin");
  EXPECT_EQ(z.status, 2);
  EXPECT_EQ(z.err,
            "scenario_gen: error: zeros.bin: not a scenario file\n"
            "scenario_gen: note: zeros.bin: offset 98: station table: truncated record 2: orario "
            "needs 4 bytes, 2 left\n"
            "scenario_gen: note: zeros.bin: offset 0: line plan: no seed point (tag 2) at the "
            "start\n"
            "scenario_gen: note: zeros.bin: offset 90: route grid: partial cell 6: 10 of 15 "
            "bytes\n");
}

TEST_F(DumpDraw, UsageAndUnreadableFiles) {
  const std::string try_dump = "Try 'scenario_gen dump --help' for more information.\n";
  const std::string try_draw = "Try 'scenario_gen draw --help' for more information.\n";
  const std::pair<const char*, std::string> cases[] = {
      {"dump", "dump needs a file\n" + try_dump},
      {"dump --xml x.dat", "unknown option '--xml'\n" + try_dump},
      {"dump --jsno x.dat", "unknown option '--jsno'; did you mean '--json'?\n" + try_dump},
      {"dump a.dat b.dat", "dump takes one file\n" + try_dump},
      {"dump nofile.dat", "cannot read 'nofile.dat': No such file or directory\n"},
      {"dump .", "cannot read '.': Is a directory\n"},
      {"draw .", "draw needs -o FILE.svg\n" + try_draw},
      {"draw -o x.svg", "draw needs a folder or the three files of a scenario\n" + try_draw},
      {"draw . -o", "option '-o' needs a value\n" + try_draw},
      {"draw a b -o x.svg", "draw needs a folder or the three files of a scenario\n" + try_draw},
      {"draw . -o x.png",
       "draw writes SVG only, not '.png': name the picture FILE.svg, or - for standard output\n" +
           try_draw},
      {"draw . -o route.svg.PDF",
       "draw writes SVG only, not '.pdf': name the picture FILE.svg, or - for standard output\n" +
           try_draw},
      {"draw . -o x.svg --from 12,5",
       "--from '12,5' is not a distance in km, such as 12.5\n" + try_draw},
      {"draw . -o x.svg --from 20 --to 20", "--to must be beyond --from\n" + try_draw},
      {"draw . -o x.svg --from 30 --to 25.5", "--to must be beyond --from\n" + try_draw},
      {"draw . -o x.svg --from 71",
       "--from '71' is beyond the route's end: the picture spans 0 to 71 km\n" + try_draw},
      {"draw . -o x.svg --from 80 --to 90",
       "--from '80' is beyond the route's end: the picture spans 0 to 71 km\n" + try_draw},
      {"draw . -o x.svg --to 71.5",
       "--to '71.5' is beyond the route's end: the picture spans 0 to 71 km\n" + try_draw},
  };
  for (const auto& [args, why] : cases) {
    const auto r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err, "scenario_gen: error: " + why) << args;
    EXPECT_EQ(r.out, "") << args;
  }
  EXPECT_FALSE(fs::exists(dir->file("x.png")));
  EXPECT_FALSE(fs::exists(dir->file("x.svg")));
  EXPECT_EQ(run("dump --help").status, 0);
}

TEST_F(DumpDraw, DumpReadsTheStandardInputAsAFileWithoutAName) {
  const std::string grid = dir->file(k_grid);
  const auto named = run(std::string("dump --json ") + k_grid);
  for (const char* file : {"-", "/dev/stdin"}) {
    SCOPED_TRACE(file);
    const auto piped =
        testing::run_program(*exe, std::string("dump --json ") + file, dir->path(), grid);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    const std::string shown = std::string(file) == "-" ? "standard input" : file;
    EXPECT_TRUE(has(piped.out, "\"file\": \"" + shown + "\",\n  \"format\": \"route grid\""))
        << piped.out.substr(0, 200);
    // Every field after the name as for the named file.
    EXPECT_EQ(piped.out.substr(piped.out.find("\"format\"")),
              named.out.substr(named.out.find("\"format\"")));
  }
  const auto empty = run("dump -");
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err.rfind("scenario_gen: error: standard input: not a scenario file\n", 0), 0u)
      << empty.err;
}

TEST_F(DumpDraw, DrawMakesOneWellFormedPictureNamingEveryStation) {
  testing::scratch_folder out;
  const auto d = run("draw . -o '" + out.file("route.svg") + "'");
  EXPECT_EQ(d.status, 0);
  EXPECT_EQ(d.err, "");
  const testing::xml_check xml = testing::check_xml(testing::slurp(out.file("route.svg")));
  ASSERT_EQ(xml.error, "");
  for (const char* name :
       {"CORVALE", "BRUSETO", "Ortella", "PRELLO", "MONTALE ROSSIA", "TORRASO", "SCAVETO-LIRANO",
        "VALPERA", "ROCCAFENDA", "MERIANO", "LIVANE-MORASCHI", "PIANASCO"})
    EXPECT_NE(std::find(xml.texts.begin(), xml.texts.end(), name), xml.texts.end()) << name;

  // The three files named in any order give the same picture.
  const auto named = run(std::string("draw ") + k_plan + " " + k_grid + " " + k_stations + " -o -");
  EXPECT_EQ(named.status, 0);
  EXPECT_EQ(named.out, testing::slurp(out.file("route.svg")));
}

// --from and --to in kilometres choose the stretch drawn: the summary says
// which, and only the stations within it are named over the profile.
TEST_F(DumpDraw, DrawFromToDrawsTheStretchInKilometres) {
  const struct {
    const char* options;
    const char* summary;
    std::vector<std::string> named;
  } cases[] = {
      {"--from 20 --to 30.5", "; drawn from 20 km to 30.5 km", {"MONTALE ROSSIA", "TORRASO"}},
      {"--from 64", "; drawn from 64 km to 71 km", {"PIANASCO"}},
      {"--to 7", "; drawn from 0 km to 7 km", {"CORVALE", "BRUSETO"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const auto d = run(std::string("draw . -o - ") + c.options);
    EXPECT_EQ(d.status, 0) << d.err;
    EXPECT_TRUE(has(d.out, c.summary + std::string("</text>")));
    std::vector<std::string> named;
    for (std::size_t at = d.out.find("fill:#0d47a1\">"); at != std::string::npos;
         at = d.out.find("fill:#0d47a1\">", at + 1)) {
      const std::size_t from = at + 14;
      named.push_back(d.out.substr(from, d.out.find('<', from) - from));
    }
    EXPECT_EQ(named, c.named);
  }
}

TEST_F(DumpDraw, DecompileWritesDescriptionsThatCompileBack) {
  testing::scratch_folder out;
  const std::string files = std::string(k_grid) + " " + k_stations + " " + k_plan;
  const auto d = run("decompile " + files + " -o '" + out.file("src") + "'");
  EXPECT_EQ(d.status, 0);
  EXPECT_EQ(d.err, "");
  const auto c = testing::run_program(
      SCENARIO_GEN_EXE, "compile Corvale_Pianasco_linea.txt Corvale_Pianasco_4816-.txt",
      out.path() / "src");
  EXPECT_EQ(c.status, 0);
  for (const char* name : {k_grid, k_stations, k_plan})
    EXPECT_EQ(testing::slurp(out.path() / "src" / name), bytes(name)) << name;

  const std::string line = out.file("src/Corvale_Pianasco_linea.txt");
  std::ofstream(line, std::ios::binary) << "edited";
  const auto again = run("decompile " + files + " -o '" + out.file("src") + "'");
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err, "scenario_gen: error: '" + line + "' exists; give --force to replace it\n");
  EXPECT_EQ(testing::slurp(line), "edited");
  EXPECT_EQ(run("decompile " + files + " -o '" + out.file("src") + "' --force").status, 0);

  // A station's approach mark changed: the descriptions are written, the
  // part is told.
  std::string grid = bytes(k_grid);
  grid[15 * 700 + 10] = 77;
  std::ofstream(out.file(k_grid), std::ios::binary) << grid;
  for (const char* name : {k_stations, k_plan})
    std::ofstream(out.file(name), std::ios::binary) << bytes(name);
  const auto damaged = testing::run_program(SCENARIO_GEN_EXE, "decompile . -o back", out.path());
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(
      damaged.err,
      "./Corvale_Pianasco_4816.dat: warning: cell 700: approach mark 77, which none of the "
      "stations and signals marking it writes\n"
      "./Corvale_Pianasco_4816.dat: error: cell 700: preavviso 77, the descriptions give 84\n"
      "scenario_gen: error: the descriptions written do not compile back to the same files\n");
  EXPECT_FALSE(testing::slurp(out.path() / "back/Corvale_Pianasco_4816-.txt").empty());

  const auto usage = run("decompile a b");
  EXPECT_EQ(usage.status, 2);
  EXPECT_TRUE(has(usage.err, "decompile needs a folder or the three files of a scenario"));
}

TEST_F(DumpDraw, DrawRefusesFilesOfDifferentScenarios) {
  const std::string g = bytes(k_grid);
  write("short.dat", g.substr(0, g.size() - 15));
  const auto r = run(std::string("draw short.dat ") + k_stations + " " + k_plan + " -o x.svg");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "scenario_gen: error: 'short.dat' and 'Corvale_Pianasco_linea.dat' are not one "
            "scenario: grid to cell 1556, plan to metre 77850\n");
  EXPECT_FALSE(fs::exists(dir->file("x.svg")));
  const auto twice = run(std::string("draw ") + k_grid + " " + k_grid + " " + k_plan + " -o x.svg");
  EXPECT_EQ(twice.status, 2);
  EXPECT_EQ(twice.err, std::string("scenario_gen: error: two route grids: '") + k_grid + "' and '" +
                           k_grid + "'\n");
  // Nor does it draw over one of its own inputs (a grid told by its bytes).
  write("grid.svg", bytes(k_grid));
  const auto onto_input =
      run(std::string("draw grid.svg ") + k_stations + " " + k_plan + " -o grid.svg");
  EXPECT_EQ(onto_input.status, 2);
  EXPECT_EQ(onto_input.err,
            "scenario_gen: error: the output 'grid.svg' is the input 'grid.svg'; choose another "
            "name\n");
  EXPECT_EQ(bytes("grid.svg"), bytes(k_grid));
}

TEST_F(DumpDraw, DrawNeedsOneCompleteScenarioInTheFolder) {
  testing::scratch_folder empty;
  const auto none = testing::run_program(*exe, "draw . -o x.svg", empty.path());
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err, "scenario_gen: error: no station table (.sim) in '.'\n");
  testing::scratch_folder two;
  for (const char* f : {k_grid, k_stations, k_plan}) fs::copy_file(dir->file(f), two.file(f));
  fs::copy_file(dir->file(k_grid), two.file("Corvale_Pianasco_9999.dat"));
  fs::copy_file(dir->file(k_stations), two.file("Corvale_Pianasco_9999.sim"));
  const auto both = testing::run_program(*exe, "draw . -o x.svg", two.path());
  EXPECT_EQ(both.status, 2);
  EXPECT_EQ(both.err,
            "scenario_gen: error: '.' holds 2 scenarios (Corvale_Pianasco_4816.sim, "
            "Corvale_Pianasco_9999.sim); name the three files\n");
}

}  // namespace
}  // namespace scenario
