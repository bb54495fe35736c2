// The record behind every object, when a compile is asked to note it.
#include <gtest/gtest.h>

#include "model/fault_codes.h"
#include "run/compile.h"
#include "run/diagnostics.h"
#include "test_support.h"

namespace scenario {
namespace {

TEST(CompileSources, EachObjectNamesTheRecordThatMadeIt) {
  const std::string line = testing::line_text(
      20000,
      {"montagna,  1000,  1400,  11", "indicatori_vmax,  5000,  85,  90,  90,  0,  ,  ,  ,  0"});
  const std::string train = testing::train_text(
      {"stazione,  6300, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   6, 4, 0, BRUSETO",
       "rallentamento,   9150,    50,  200, 0,  1,  0",
       "segnale,  8400,   1, 4, 1,  0, 0,    0,  0,0,0, 0"});
  compile_input in{"Valle", "12", true, {"v_linea.txt", line}, {"v_12-.txt", train}};
  in.trace_sources = true;
  const compile_result r = compile(in);
  ASSERT_TRUE(r.st.faults.empty());
  const source_map& m = r.sources;
  ASSERT_EQ(m.objects.size(), r.st.percorso.size());
  struct expected {
    std::size_t cell;
    fault_origin origin;
    int line;
  };
  // The texts begin with three lines of [generale] and one of it.
  const int first_line = 4;
  const int first_train = 2;
  for (const expected& e : {expected{23, fault_origin::line_file, first_line},  // scenery marker
                            expected{101, fault_origin::line_file, first_line + 1},  // speed board
                            expected{128, fault_origin::train_file, first_train},    // stop
                            expected{184, fault_origin::train_file, first_train + 1},   // start
                            expected{169, fault_origin::train_file, first_train + 2}})  // signal
  {
    EXPECT_EQ(m.objects[e.cell].origin, e.origin) << e.cell;
    EXPECT_EQ(m.objects[e.cell].line, e.line) << e.cell;
  }
  EXPECT_EQ(m.scenery[20].line, first_line);
  EXPECT_EQ(m.slots[1].line, first_train);
  // The code points the pass adds before the slowdown come from no record.
  std::size_t pass_points = 0;
  for (std::size_t n = 0; n < r.st.percorso.size(); ++n)
    if (r.st.percorso[n].tipo_cella == k_code_point) {
      ++pass_points;
      EXPECT_FALSE(m.objects[n].known()) << n;
    }
  EXPECT_GT(pass_points, 0u);
  // Without the request, nothing is noted.
  in.trace_sources = false;
  EXPECT_TRUE(compile(in).sources.objects.empty());
}

// An untraced compile says when tracing the sources would add to what is
// printed: a fault on a taken cell, or a stamp conflict. Otherwise both read
// the same, and compile need not trace.
TEST(CompileSources, SaysWhenOnlyTracedSourcesGiveANote) {
  struct row {
    const char* what;
    std::string line;
    std::string train;
    bool needs_sources;
  };
  const std::string board = "indicatori_vmax, 1850, 85,90,90,0,,,,0";
  const row rows[] = {
      {"no fault", testing::line_text(10000), testing::train_text(), false},
      {"a value fault", testing::line_text(10000, {"pendenza, 100, 200"}), testing::train_text(),
       false},
      {"a taken cell", testing::line_text(10000, {board, board}), testing::train_text(), true},
      {"a stamp conflict", testing::line_text(10000),
       testing::train_text({"rallentamento, 0, 50, 200, 0, 0, 0"}), true},
  };
  auto printed = [](const compile_result& r) {
    std::vector<diagnostic> out = compile_diagnostics(r, /*with_warnings=*/true);
    if (!r.stamp_conflict.empty()) out.push_back(stamp_conflict_diagnostic(r));
    return out;
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    compile_input in{"Valle", "12", true, {"v_linea.txt", r.line}, {"v_12-.txt", r.train}};
    const compile_result plain = compile(in);
    in.trace_sources = true;
    const compile_result traced = compile(in);
    EXPECT_EQ(plain.notes_need_sources(), r.needs_sources);
    EXPECT_EQ(traced.notes_need_sources(), r.needs_sources);
    EXPECT_EQ(printed(plain) == printed(traced), !r.needs_sources);
  }
}

}  // namespace
}  // namespace scenario
