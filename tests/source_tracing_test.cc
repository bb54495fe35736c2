// The record behind every object, as a traced compile notes it from the
// cells each record writes, against the same question answered the slow
// way: the whole grid and table compared after every record.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "output/check_codes.h"
#include "output/code_pass.h"
#include "random_scenario.h"
#include "route/line_compiler.h"
#include "run/compile.h"
#include "service/train_compiler.h"
#include "test_support.h"

namespace scenario {
namespace {

// Gives everything that changed since the last record to that record, by
// comparing the whole grid and table.
class whole_grid_tracer final : public reporter {
 public:
  explicit whole_grid_tracer(run_state& st) : st_(st) {}
  void fault_found(const fault&) override {}
  void warning_found(const source_warning&) override {}
  void record_begins(fault_origin origin, int line) override {
    settle();
    current_ = {origin, line};
  }
  void settle() {
    const percorso_t& grid = st_.percorso;
    if (seen_.size() != grid.size()) {
      seen_ = percorso_t(grid.size());
      map.objects.assign(grid.size(), source_ref{});
      map.scenery.assign(grid.size(), source_ref{});
    }
    for (std::size_t n = 0; n < grid.size(); ++n) {
      const cella& now = grid[n];
      const cella& before = static_cast<const percorso_t&>(seen_)[n];
      cella object_now = now, object_before = before;
      object_now.ambiente = object_before.ambiente = 0;
      object_now.preavviso = object_before.preavviso = 0;
      object_now.vel_limite = object_before.vel_limite = 0;
      object_now.pendenza = object_before.pendenza = 0;
      object_now.aderenza = object_before.aderenza = 0;
      if (!(object_now == object_before)) map.objects[n] = current_;
      if (now.ambiente != before.ambiente) map.scenery[n] = current_;
    }
    seen_ = grid;
    for (std::size_t s = 0; s < slots_.size(); ++s)
      if (!(st_.stazioni[s] == slots_[s])) map.slots[s] = current_;
    slots_ = st_.stazioni;
  }
  void no_record() {
    settle();
    current_ = {};
  }

  source_map map;

 private:
  run_state& st_;
  source_ref current_;
  percorso_t seen_;
  stazioni_t slots_{};
};

// compile()'s steps, for a check that goes on after every fault, with the
// slow tracer.
source_map traced_the_slow_way(const std::string& line, const std::string& train) {
  run_state st;
  whole_grid_tracer tracer(st);
  st.report = &tracer;
  st.nome_linea = "Gen";
  st.numero_treno = "1";
  st.scrivi_linea = 1;
  st.keep_going = true;
  st.stazioni[k_slot_line].nome = st.nome_linea;
  st.stazioni[k_slot_repetition].nome = st.numero_treno;
  compile_line(line, st);
  if (st.percorso.empty()) make_stand_in_grid(st);
  compile_train(train, st);
  tracer.no_record();
  if (!st.percorso.empty()) {
    code_point_pass(st);
    stamp_scenario(st);
  }
  tracer.no_record();
  return tracer.map;
}

// The lines of text, some doubled, moved or dropped, and some fields
// changed: objects then land on one another's cells, stations and boards
// share slots, sections overlap.
std::string shaken(const std::string& text, std::mt19937& random) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  const int changes = 1 + static_cast<int>(random() % 12);
  for (int c = 0; c < changes && !lines.empty(); ++c) {
    const std::size_t i = random() % lines.size();
    switch (random() % 3) {
      case 0:
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(random() % lines.size()),
                     lines[i]);
        break;
      case 1: {
        const std::size_t comma = lines[i].find(',', random() % (lines[i].size() + 1));
        if (comma != std::string::npos)
          lines[i] = lines[i].substr(0, comma + 1) + " " + std::to_string(random() % 12000) +
                     lines[i].substr(lines[i].find(',', comma + 1) == std::string::npos
                                         ? lines[i].size()
                                         : lines[i].find(',', comma + 1));
        break;
      }
      default:
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST(SourceTracing, NotesTheSameRecordsAsComparingTheWholeGridAfterEachRecord) {
  std::mt19937 random(27);
  int taken = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    const testing::generated_scenario g = testing::random_scenario(seed);
    const std::string line = seed % 3 == 0 ? g.line : shaken(g.line, random);
    const std::string train = seed % 3 == 0 ? g.train : shaken(g.train, random);
    compile_input in{"Gen", "1", true, {"Gen_linea.txt", line}, {"1-.txt", train}};
    in.trace_sources = true;
    in.keep_going = true;
    const compile_result r = compile(in);
    for (const finding& f : r.findings) taken += f.holder.known();
    const source_map slow = traced_the_slow_way(line, train);
    ASSERT_EQ(r.sources.objects, slow.objects) << "seed " << seed;
    ASSERT_EQ(r.sources.scenery, slow.scenery) << "seed " << seed;
    ASSERT_EQ(r.sources.slots, slow.slots) << "seed " << seed;
  }
  // The shaken descriptions put objects on taken cells.
  EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace scenario
