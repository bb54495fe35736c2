// Round trips: descriptions compiled, their files decompiled, the written
// descriptions compiled again to the same files.
#include "inspect/decompile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "inspect/self_check.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "random_scenario.h"
#include "run/binary_files.h"
#include "run/diagnostics.h"
#include "sources/line_content.h"
#include "sources/text_writer.h"
#include "sources/train_content.h"
#include "test_support.h"

namespace scenario {
namespace {

// The three files of a compile, read back through the decoders.
loaded_scenario files_of(const run_state& st) {
  const binary_bytes b = serialise_binary_files(st);
  loaded_scenario s;
  s.grid = {"grid.dat", file_kind::grid, b.grid.size(), decode_grid(b.grid).value(), {}, {}};
  s.stations = {
      "table.sim", file_kind::stations, b.stations.size(), {}, decode_stations(b.stations).value(),
      {}};
  s.plan = {"plan_linea.dat", file_kind::plan, b.plan.size(), {}, {}, decode_plan(b.plan).value()};
  return s;
}

using testing::compile_texts;

std::string told(const std::vector<diagnostic>& ds) {
  std::string out;
  for (const diagnostic& d : ds) out += format_diagnostic(d);
  return out;
}

// What keeps the files of a fault-free compile from coming back: the
// warnings of decompile, the differences after compiling what it wrote, a
// fault of that compile. Empty for a round trip.
std::string round_trip_problems(const compile_result& original) {
  if (!original.st.faults.empty())
    return "the original faults: " + told(compile_diagnostics(original, false));
  const loaded_scenario files = files_of(original.st);
  const decompiled d = decompile(files);
  const self_check check = check_decompiled(files, d, "line", "train");
  std::string out = told(d.warnings);
  if (!check.same_files) out += told(check.differences) + "(the files differ)\n";
  if (!check.compiled.st.faults.empty()) out += "the written descriptions fault\n";
  return out;
}

void expect_round_trip(const compile_result& original) {
  EXPECT_EQ(round_trip_problems(original), "");
}

std::vector<std::string> lines_of(std::span<const std::string_view> lines) {
  return {lines.begin(), lines.end()};
}

TEST(Decompile, ShippedFilesGiveBackTheShippedDescriptions) {
  testing::scratch_folder dir;
  const run_state st = testing::shipped_run_in(dir.path());
  const decompiled d = decompile(files_of(st));
  EXPECT_EQ(d.nome_linea, "Corvale_Pianasco");
  EXPECT_EQ(d.numero_treno, "4816");
  EXPECT_EQ(d.line, lines_of(line_content()));
  // The grid keeps no clearing delay for a signal whose sx is not 2: that
  // value alone comes back as 0.
  std::vector<std::string> train = lines_of(train_content());
  ASSERT_EQ(train[41], "segnale,   27050,   1, 4, 1,  0, 0,    0,  0,0,0, 220");
  train[41] = "segnale,   27050,   1, 4, 1,  0, 0,    0,  0,0,0, 0";
  EXPECT_EQ(d.train, train);
  EXPECT_EQ(told(d.warnings), "");
}

TEST(Decompile, DocumentedExampleRoundTrips) {
  const std::filesystem::path examples = std::filesystem::path(SCENARIO_SOURCE_DIR) / "docs/examples";
  const std::string line = testing::slurp(examples / "Valle_linea.txt");
  const std::string train = testing::slurp(examples / "Valle_12-.txt");
  ASSERT_FALSE(line.empty() || train.empty());
  expect_round_trip(compile_texts(line, train, "12"));
}

std::string line_of(const std::string& general, std::initializer_list<std::string_view> body,
                    int length = 20000) {
  std::string text = "[generale]\r\nlunghezza percorso, " + std::to_string(length) + "\r\n" +
                     general + "[curve]\r\n";
  for (std::string_view r : body) text += std::string(r) + "\r\n";
  return text + "[fine]\r\n";
}

std::string many_stations(int count) {
  std::string records;
  for (int s = 0; s < count; ++s)
    records += "stazione, " + std::to_string(1000 + 700 * s) +
               ", 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, " + "0,0,0, S" + std::to_string(s) + "\r\n";
  return records;
}

// The corners a description can turn, each round-tripped on its own.
TEST(Decompile, CornersRoundTrip) {
  const struct {
    const char* name;
    std::string line;
    std::string train;
  } cases[] = {
      {"every curve class both ways, from the start and past the end of the plan",
       line_of("", {"curvad1, 0, 300", "curvas1, 300, 300", "curvad2, 900, 50", "curvas2, 950, 75",
                    "curvad3, 2000, 300", "curvas3, 2300, 300", "curvad4, 3000, 100",
                    "curvas4, 3100, 100", "curvad5, 5000, 200", "curvas5, 6000, 200",
                    "curvad6, 7000, 300", "curvas6, 26850, 900"}),
       testing::train_text()},
      {"curves starting before the one before ends",
       line_of("", {"curvad3, 1000, 500", "curvas5, 1200, 600", "curvad6, 1700, 50",
                    "curvas6, 26800, 150", "curvad6, 26850, 140"}),
       testing::train_text()},
      {"gradients sharing a cell, and the last cells of the grid",
       line_of("", {"pendenza, 1000, 5", "pendenza, 1010, 7", "pendenza, 1040, -100",
                    "pendenza, 26900, 155", "pendenza, 26900, 12", "pendenza, 26900, 1"}),
       testing::train_text({"velocita, 0, 80", "velocita, 26900, 45", "velocita, 26900, 50",
                            "aderenza, 26900, 7"})},
      {"scenery sections close after and inside others",
       line_of("", {"montagna, 1000, 3000, 12", "montagna, 1500, 2000, 11",
                    "montagna, 3100, 4000, 15", "montagna, 5000, 5100, 10",
                    "montagna, 6000, 8000, 17", "montagna, 6200, 8400, 13"}),
       testing::train_text()},
      {"references, 9-code repetition, text boards with a comma and with blanks",
       line_of("progressiva chilometrica uno, 0, 172000, 1\r\n"
               "progressiva chilometrica tre, 5000, 3000, 0\r\n"
               "ripetizione segnali 9 codici, 1000, 15000\r\n",
               {"cartello indicatore, 3000, \"NORD, SUD\"", "cartello indicatore, 4000, A  B",
                "cartello indicatore, 2000, \"  margine \""}),
       testing::train_text()},
      {"a slowdown on a half cell near signals before and after it", line_of("", {}),
       testing::train_text({"segnale, 3500, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
                            "rallentamento, 5025, 50, 300, 1, 1, 3",
                            "segnale, 5600, 2, 4, 1, 1, 0, 0, 0,0,0, 60"})},
      {"a signal written before the station whose marks overwrite its own", line_of("", {}),
       testing::train_text({"segnale, 1500, 2, 4, 1, 1, 0, 0, 0,0,0, 0",
                            "stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, A",
                            "segnale, 1600, 1, 4, 1, 0, 0, 0, 0,0,0, 0"})},
      {"code lines with and without a value, one of 180", line_of("", {}),
       testing::train_text({"abbattimento, 1000, 0", "abbattimento, 2000, 180",
                            "abbattimento, 3000, 40000", "abbattimento, 4000, -5"})},
      {"78 stations", line_of("", {}, 60000), "[generale]\r\n" + many_stations(78) + "[fine]\r\n"},
      // Later records over part of earlier ones.
      {"a speed board and the middle one of three text boards under station stops",
       line_of("", {"cartello indicatore, 1000, A",
                    "indicatori_vmax, 1600, 85, 90, 95, 3, 5, 10, 15, 7",
                    "cartello indicatore, 3500, B", "cartello indicatore, 5000, C"}),
       testing::train_text({"stazione, 1500, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, P",
                            "stazione, 3450, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, Q"})},
      {"signals under the stops of stations written after them, one with a delay", line_of("", {}),
       testing::train_text({"segnale, 1550, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
                            "stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, P",
                            "segnale, 3500, 2, 3, 2, 1, 1, 4, 5,6,7, 60",
                            "stazione, 3450, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, Q"})},
      {"a signal under one stop, shown by its farther marks, and a text board under another",
       line_of("", {"cartello indicatore, 3500, UNDER"}),
       testing::train_text({"segnale, 1550, 1, 4, 1, 0, 0, 0, 0,0,0, 0",
                            "stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, P",
                            "stazione, 3450, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, Q",
                            "segnale, 3600, 1, 4, 1, 0, 0, 0, 0,0,0, 0"})},
      {"signals over the marks of stations and of one another, with codes past a byte",
       line_of("", {}),
       testing::train_text({"stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, P",
                            "segnale, 1700, 40, 4, 1, 0, 1, 9, 0,0,0, 0",
                            "segnale, 1800, -3, 4, 1, 1, -2, 0, 0,0,0, 0",
                            "segnale, 1750, 2, 4, 1, 1, 3, 0, 0,0,0, 140"})},
      {"scenery sections right to left over one another, a board keeping a marker off",
       line_of("",
               {"indicatori_vmax, 2550, 90, 90, 90, 0, , , , 0", "montagna, 3000, 4000, 17",
                "montagna, 2000, 3000, 15", "montagna, 1000, 2600, 11", "montagna, 1200, 1300, 2"}),
       testing::train_text()},
      {"as many text boards as the stations leave room for, one under a stop",
       line_of("", {"cartello indicatore, 900, T1", "cartello indicatore, 1050, T2"}, 60000),
       "[generale]\r\n" + many_stations(76) + "[fine]\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expect_round_trip(compile_texts(c.line, c.train));
  }
}

// Files that no fault-free description gives: each is told, by its part,
// and never passes as a round trip.
TEST(Decompile, DamagedOrFaultyFilesAreToldPartByPart) {
  const std::string line = line_of("", {"montagna, 2000, 3000, 11", "curvad4, 1000, 300"});
  const std::string train = testing::train_text(
      {"velocita, 0, 80", "stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, A",
       "rallentamento, 8000, 50, 200, 0, 1, 0", "segnale, 5000, 2, 4, 1, 1, 0, 0, 0,0,0, 140"});
  const loaded_scenario clean = files_of(compile_texts(line, train).st);
  const struct {
    const char* told;
    void (*damage)(loaded_scenario&);
  } cases[] = {
      {"cell 300: approach mark 77 that no station or signal writes",
       [](loaded_scenario& s) { s.grid.grid[300].preavviso = 77; }},
      {"cell 310: a slowdown end that belongs to no slowdown start",
       [](loaded_scenario& s) { s.grid.grid[310].tipo_cella = k_slowdown_end; }},
      {"cell 161: a slowdown start whose warning cell 137 holds neither its warning nor a "
       "station stop over it",
       [](loaded_scenario& s) { s.grid.grid[137] = {}; }},
      {"cell 2: a scenery marker in the first three cells, which no section places",
       [](loaded_scenario& s) { s.grid.grid[2].tipo_cella = k_scenery_marker; }},
      {"record 84: values in fields no description sets",
       [](loaded_scenario& s) { s.stations.stations[84].campo_3 = 5; }},
      {"record 2: an empty record between stations",
       [](loaded_scenario& s) { s.stations.stations[3] = s.stations.stations[1]; }},
      {"metre 5001: the plan ends here",
       [](loaded_scenario& s) {
         profilo_t cut(s.plan.plan.extent());
         for (std::size_t m = 0; m <= 5000; ++m)
           for (int c = 0; c < 2; ++c)
             m < 2 ? cut.set_int16(m, c, static_cast<std::int16_t>(s.plan.plan.value(m, c)))
                   : cut.set_real(m, c, s.plan.plan.value(m, c));
         s.plan.plan = cut;
       }},
      {"cell 1: valore_b", [](loaded_scenario& s) { ++s.grid.grid[1].valore_b; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    loaded_scenario damaged = clean;
    c.damage(damaged);
    const decompiled d = decompile(damaged);
    const self_check check = check_decompiled(damaged, d, "line", "train");
    const std::string all = told(d.warnings) + told(check.differences);
    EXPECT_NE(all.find(c.told), std::string::npos) << all;
    EXPECT_FALSE(d.warnings.empty() && check.same_files) << all;
  }

  // A code point the pass could not place (code 12): the files come back,
  // with the fault.
  const compile_result faulty = compile_texts(
      line, testing::train_text({"rallentamento, 8000, 50, 200, 0, 0, 0", "abbattimento, 7700, 1",
                                 "abbattimento, 7800, 1", "abbattimento, 7750, 1"}));
  ASSERT_EQ(faulty.st.codice_errore, 12);
  const loaded_scenario files = files_of(faulty.st);
  const self_check check = check_decompiled(files, decompile(files), "line", "train");
  EXPECT_TRUE(check.same_files) << told(check.differences);
  EXPECT_EQ(check.compiled.st.codice_errore, 12);
}

std::uint32_t seeds_to_run(std::uint32_t fast) {
  const char* more = std::getenv("SCENARIO_ROUND_TRIP_SEEDS");
  return more != nullptr ? static_cast<std::uint32_t>(std::atol(more)) : fast;
}

// Generated scenarios with every record kind; SCENARIO_ROUND_TRIP_SEEDS
// runs more of them.
TEST(Decompile, GeneratedScenariosRoundTrip) {
  const std::uint32_t seeds = seeds_to_run(24);
  for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const testing::generated_scenario g = testing::random_scenario(seed);
    expect_round_trip(compile_texts(g.line, g.train, std::to_string(seed)));
    if (::testing::Test::HasFailure()) {
      std::cerr << g.line << "\n----\n" << g.train;
      return;
    }
  }
}

// Generated scenarios holding, on purpose, objects that later records
// overwrite in part. With SCENARIO_ROUND_TRIP_SEEDS it runs that many and
// prints, by kind of overlay, how many were made and how many came back.
TEST(Decompile, OverlayScenariosRoundTrip) {
  const std::uint32_t seeds = seeds_to_run(40);
  std::map<testing::overlay, std::pair<int, int>> by_kind;  // made, came back
  int failed = 0;
  for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
    const testing::generated_scenario g = testing::overlay_scenario(seed);
    const std::string problems =
        round_trip_problems(compile_texts(g.line, g.train, std::to_string(seed)));
    for (testing::overlay o : testing::k_overlays)
      if ((g.overlays & o) != 0) {
        ++by_kind[o].first;
        if (problems.empty()) ++by_kind[o].second;
      }
    if (problems.empty()) continue;
    if (std::getenv("SCENARIO_ROUND_TRIP_SEEDS") != nullptr)
      std::cout << "seed " << seed << ": " << problems.substr(0, problems.find('\n')) << "\n";
    if (failed++ == 0)
      ADD_FAILURE() << "seed " << seed << ":\n" << problems << g.line << "\n----\n" << g.train;
  }
  EXPECT_EQ(failed, 0);
  if (std::getenv("SCENARIO_ROUND_TRIP_SEEDS") == nullptr) return;
  std::cout << seeds << " overlay scenarios, " << seeds - static_cast<std::uint32_t>(failed)
            << " came back\n";
  for (const auto& [o, counts] : by_kind)
    std::cout << "  " << testing::overlay_name(o) << ": " << counts.second << " of " << counts.first
              << "\n";
}

// The 1,000 km line with 78 stations, a board every 5 km and a signal every
// 1.2 km, overlays where they meet.
TEST(Decompile, LongOverlayLineRoundTrips) {
  const testing::generated_scenario g = testing::long_overlay_scenario();
  expect_round_trip(compile_texts(g.line, g.train));
}

// A reason with its numbers taken out, to count the failures by kind.
std::string kind_of(std::string reason) {
  std::string out;
  for (std::size_t i = 0; i < reason.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(reason[i])))
      out += reason[i];
    else if (i == 0 || !std::isdigit(static_cast<unsigned char>(reason[i - 1])))
      out += 'N';
  return out;
}

// Scenarios the generator does not make: the shipped one and generated ones
// after a few edits, those that compile without a fault taken round. Where
// one does not come back, decompile must have said why: descriptions that
// compile to other files with no warning would be wrong ones. With
// SCENARIO_MUTATION_SEEDS it runs that many and prints the failures by the
// reason decompile gives.
TEST(Decompile, MutatedScenariosRoundTripOrSayWhy) {
  const char* more = std::getenv("SCENARIO_MUTATION_SEEDS");
  const std::uint32_t seeds = more != nullptr ? static_cast<std::uint32_t>(std::atol(more)) : 60;
  int fault_free = 0, came_back = 0, silent = 0;
  std::map<std::string, int> by_reason;
  for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
    const testing::generated_scenario g = testing::mutated_scenario(seed);
    const compile_result original = compile_texts(g.line, g.train, std::to_string(seed));
    if (!original.has_grid() || !original.st.faults.empty() || !original.stamp_conflict.empty())
      continue;
    ++fault_free;
    const loaded_scenario files = files_of(original.st);
    const decompiled d = decompile(files);
    const self_check check = check_decompiled(files, d, "line", "train");
    if (d.warnings.empty() && check.same_files && check.compiled.st.faults.empty()) {
      ++came_back;
      continue;
    }
    const std::string reason =
        !d.warnings.empty()
            ? d.warnings.front().message
            : "(no warning) " +
                  (check.differences.empty() ? "a fault" : check.differences.front().message);
    ++by_reason[kind_of(reason)];
    if (more != nullptr) std::cout << "seed " << seed << ": " << reason << "\n";
    if (d.warnings.empty() && silent++ == 0)
      ADD_FAILURE() << "seed " << seed << ": " << told(check.differences) << g.line << "\n----\n"
                    << g.train;
  }
  EXPECT_EQ(silent, 0);
  if (more == nullptr) {
    EXPECT_EQ(came_back, fault_free);  // the fast sample comes back whole
    return;
  }
  std::cout << seeds << " mutated scenarios, " << fault_free << " without a fault, " << came_back
            << " came back\n";
  std::vector<std::pair<int, std::string>> counts;
  for (const auto& [reason, n] : by_reason) counts.push_back({n, reason});
  std::sort(counts.rbegin(), counts.rend());
  for (const auto& [n, reason] : counts) std::cout << "  " << n << "  " << reason << "\n";
}

}  // namespace
}  // namespace scenario
