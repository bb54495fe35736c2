#include "inspect/mark_order.h"

#include <gtest/gtest.h>

#include "inspect/invert_signals.h"
#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

// Where two records mark one cell, the later one's mark stays.
TEST(MarkOrder, SignalsStandBeforeTheStationsThatOverwriteTheirMarks) {
  const char* const station = "stazione, 1500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, A";
  const char* const first = "segnale, 1500, 2, 4, 1, 1, 0, 0, 0,0,0, 0";
  const char* const second = "segnale, 1600, 1, 4, 1, 0, 0, 0, 0,0,0, 0";
  const struct {
    std::initializer_list<std::string_view> records;
    std::vector<std::size_t> signals, before;  // as order_marks gives them
  } cases[] = {
      {{station, first, second}, {0, 1}, {1, 1}},
      {{first, station}, {0}, {0}},
      {{station, second, first}, {1, 0}, {1, 1}},
  };
  for (const auto& c : cases) {
    const compile_result r =
        testing::compile_texts(testing::line_text(20000), testing::train_text(c.records));
    ASSERT_TRUE(r.st.faults.empty());
    const auto signals = invert_signals(r.st.percorso).records;
    const auto order = order_marks(r.st.percorso, r.st.stazioni, 1, signals);
    EXPECT_TRUE(order.problems.empty());
    EXPECT_EQ(order.records.signals, c.signals);
    EXPECT_EQ(order.records.before, c.before);
  }
}

}  // namespace
}  // namespace scenario
