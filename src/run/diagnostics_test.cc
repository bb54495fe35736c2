// The fault lines of real compiles are checked end to end in tests/cli_test.cc;
// these are the cases no input file reaches.
#include "run/diagnostics.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

const source_names k_names{"lines/Val_linea.txt", "Val_7-.txt"};

std::string format_fault(const fault& f, const source_names& names) {
  std::string line = format_diagnostic(fault_diagnostic(f, names));
  line.pop_back();  // the line end
  return line;
}
std::string format_warning(const source_warning& w, const source_names& names) {
  std::string line = format_diagnostic(warning_diagnostic(w, names));
  line.pop_back();
  return line;
}

TEST(Diagnostics, LinesNoInputReaches) {
  // A pass fault never names a line, even if one were set.
  EXPECT_EQ(format_fault({12, 51200, fault_origin::pass, 9, {}}, k_names),
            "Val_7-.txt: error: no free cell for a code point in a band before a slowdown start "
            "(code 12, at 51200 m)");
  EXPECT_EQ(format_fault({99, std::nullopt, fault_origin::run, 0, {}}, k_names),
            "scenario_gen: error: unknown fault (code 99)");
  // Code 25 says what failed; without a detail it falls back on its words.
  EXPECT_EQ(format_fault({25, std::nullopt, fault_origin::train_file, 0, {}}, k_names),
            "Val_7-.txt: error: run-time failure while compiling (code 25)");
  // Details of other codes are for the program, not the author.
  EXPECT_EQ(format_fault({2, std::nullopt, fault_origin::line_file, 3, "slot 81"}, k_names),
            "lines/Val_linea.txt:3: error: a kilometric reference whose position or value is not "
            "a multiple of 50 m (code 2)");
  EXPECT_EQ(format_warning({fault_origin::train_file, 9, "adhesion 300 is kept"}, k_names),
            "Val_7-.txt:9: warning: adhesion 300 is kept");
}

}  // namespace
}  // namespace scenario
