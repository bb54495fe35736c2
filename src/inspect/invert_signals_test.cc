#include "inspect/invert_signals.h"

#include <gtest/gtest.h>

#include "service/signal.h"

namespace scenario {
namespace {

TEST(InvertSignals, SignalsComeBackFromTheirCellAndMarks) {
  const struct {
    signal_record written;
    signal_record back;
  } cases[] = {
      {{4000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}, {4000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}},
      {{15250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140}, {15250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140}},
      // The delay of sx 1 is not kept; 1 to 100 were raised to 101.
      {{27050, 1, 4, 1, 0, 0, 0, 0, 0, 0, 220}, {27050, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}},
      {{5000, 2, 4, 1, 1, 0, 0, 0, 0, 0, 50}, {5000, 2, 4, 1, 1, 0, 0, 0, 0, 0, 101}},
      // Only the marks tell rapp 1 and code 6 from rapp 0 and code 16.
      {{6000, 2, 2, 3, 1, 1, 1, 5, 0, 9, 0}, {6000, 2, 2, 3, 1, 1, 1, 5, 0, 9, 0}},
      {{7000, 5, 0, 0, 0, 0, 1, 0, 0, 0, 0}, {7000, 5, 0, 0, 0, 0, 1, 0, 0, 0, 0}},
      // A delay of 300 keeps 44, which no delay of 44 leaves (that is raised to
      // 101): it comes back as 44 + 256.
      {{8000, 2, 6, 6, 6, 0, 0, 0, 0, 0, 300}, {8000, 2, 6, 6, 6, 0, 0, 0, 0, 0, 300}},
  };
  for (const auto& c : cases) {
    percorso_t grid(600);
    ASSERT_EQ(memo_segnale(grid, c.written), 0);
    const auto back = invert_signals(grid);
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0], c.back) << c.written.posizione;
  }
}

}  // namespace
}  // namespace scenario
