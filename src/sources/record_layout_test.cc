#include "sources/record_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// Decompile writes a curve's turn and digit, and a repetition's code count,
// through the keyword it picks from the table.
TEST(RecordLayout, PicksTheKeywordThatNamesTheValues) {
  for (const bool left : {false, true})
    for (int digit = 1; digit <= 6; ++digit)
      EXPECT_EQ(curve_keyword(left, digit),
                std::string("curva") + (left ? 's' : 'd') + std::to_string(digit));
  EXPECT_EQ(curve_keyword(false, 0), "");
  EXPECT_EQ(curve_keyword(true, 7), "");
  EXPECT_EQ(repetition_keyword(9), "ripetizione segnali 9 codici");
  EXPECT_EQ(repetition_keyword(4), "ripetizione segnali 4 codici");
  // Decompile reports any other count and writes the 4-code keyword.
  EXPECT_EQ(repetition_keyword(0), "ripetizione segnali 4 codici");
}

}  // namespace
}  // namespace scenario
