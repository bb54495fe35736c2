// A fault on a grid cell another object holds comes with that cell, found by
// the record that met it: the compile names the record holding the cell, and
// no later fault inherits it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/fault_codes.h"
#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::line_text;
using testing::train_text;

const char* const k_board = "cartello indicatore, 1000, T";
const char* const k_speed_board = "indicatori_vmax, 1000, 85, 90, 90, 0, , , , 0";
const char* const k_signal = "segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0";

std::vector<finding> faults_of(const std::string& line, const std::string& train, bool traced) {
  compile_input in{"Taken", "1", true, {"Taken_linea.txt", line}, {"1-.txt", train}};
  in.trace_sources = traced;
  in.keep_going = true;
  std::vector<finding> faults;
  for (const finding& f : compile(in).findings)
    if (f.is_fault) faults.push_back(f);
  return faults;
}

// The line's records start on line 4, the train's on line 2.
TEST(CompileTakenCell, EachTakenCellFaultNamesTheRecordHoldingTheCell) {
  struct taken_case {
    const char* what;
    std::string line;
    std::string train;
    std::int32_t code;
    source_ref holder;
  };
  const taken_case cases[] = {
      {"a text board on a speed board",
       line_text(10000, {k_speed_board, k_board}),
       train_text(),
       k_fault_text_board_taken,
       {fault_origin::line_file, 4}},
      {"a speed board on a text board",
       line_text(10000, {k_board, k_speed_board}),
       train_text(),
       k_fault_speed_board_taken,
       {fault_origin::line_file, 4}},
      {"a signal on a text board",
       line_text(10000, {k_board}),
       train_text({k_signal}),
       k_fault_signal_taken,
       {fault_origin::line_file, 4}},
      {"a code line on a signal",
       line_text(10000),
       train_text({k_signal, "abbattimento, 1050, 3"}),
       k_fault_code_line_taken,
       {fault_origin::train_file, 2}},
      {"a slowdown starting on a signal",
       line_text(10000),
       train_text({"segnale, 5000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0",
                   "rallentamento, 5000, 50, 200, 0, 0, 0"}),
       k_fault_start_taken,
       {fault_origin::train_file, 2}},
  };
  for (const taken_case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const bool traced : {false, true}) {
      const std::vector<finding> faults = faults_of(c.line, c.train, traced);
      ASSERT_EQ(faults.size(), 1u);
      EXPECT_EQ(faults[0].fault_found.code, c.code);
      EXPECT_TRUE(faults[0].on_taken_cell);
      EXPECT_EQ(faults[0].holder, traced ? c.holder : source_ref{});
    }
  }
}

// In a check the compile goes on: the faults after one on a taken cell are
// about their own records, and name no holder.
TEST(CompileTakenCell, LaterFaultsFindNoTakenCell) {
  const std::vector<finding> faults =
      faults_of(line_text(10000, {k_speed_board, k_board, "pendenza, 2000, 500"}),
                train_text({"velocita, 2147483548, 50"}), true);
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_TRUE(faults[0].on_taken_cell);
  for (std::size_t n = 1; n < faults.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_NE(faults[n].fault_found.code, 0);
    EXPECT_FALSE(faults[n].on_taken_cell);
    EXPECT_FALSE(faults[n].holder.known());
  }
}

}  // namespace
}  // namespace scenario
