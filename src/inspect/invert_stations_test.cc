#include "inspect/invert_stations.h"

#include <gtest/gtest.h>

#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

TEST(InvertStations, LinesComeBackWithWhatTheReaderForcedAsZero) {
  // The line's numbers as written, and as they come back for the first
  // station and for a later one: the first loses its fifth and sixth
  // values, a short one its fifth, types 5 to 8 their sixth; a sixth value
  // that lengthened the area comes back as 1.
  const struct {
    const char *written, *first, *later;
  } cases[] = {
      {"1000, 8, 300, 0, 1, 1, 1,1,0, 4,1,1, 1, 5,58,0", "1000 8 300 0 0 0 1 1 0 4 1 1 1 5 58 0",
       "1000 8 300 0 0 0 1 1 0 4 1 1 1 5 58 0"},
      {"2000, 12, 600, 0, 1, 2, 0,0,0, 4,1,1, 0, 6,21,0", "2000 12 600 0 0 1 0 0 0 4 1 1 0 6 21 0",
       "2000 12 600 0 1 2 0 0 0 4 1 1 0 6 21 0"},
      {"4000, 12, 400, 0, 1, 2, 0,0,0, 4,1,1, 0, 0,0,0", "4000 12 400 0 0 1 0 0 0 4 1 1 0 0 0 0",
       "4000 12 400 0 0 2 0 0 0 4 1 1 0 0 0 0"},
      {"5000, 5, 300, 9, 0, 1, -4,7,2, -1,0,3, 200, 23,59,59",
       "5000 5 300 9 0 0 -4 7 2 -1 0 3 200 23 59 59",
       "5000 5 300 9 0 0 -4 7 2 -1 0 3 200 23 59 59"},
      {"6000, 30, 800, 0, 1, 0, 0,0,0, 0,0,0, 0, 0,0,0", "6000 30 800 0 0 0 0 0 0 0 0 0 0 0 0 0",
       "6000 30 800 0 1 0 0 0 0 0 0 0 0 0 0 0"},
  };
  for (const auto& c : cases) {
    for (const bool later : {false, true}) {
      const std::string before =
          later ? "stazione, 0, 8, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A" : "";
      const compile_result r = testing::compile_texts(
          testing::line_text(20000),
          testing::train_text({before, "stazione, " + std::string(c.written) + ", B"}));
      ASSERT_TRUE(r.st.faults.empty());
      const auto back = invert_stations(r.st.stazioni, k_first_board_slot);
      EXPECT_TRUE(back.problems.empty());
      std::string numbers;
      for (std::int32_t v : back.records.back().numbers)
        numbers += (numbers.empty() ? "" : " ") + std::to_string(v);
      EXPECT_EQ(numbers, later ? c.later : c.first);
      EXPECT_EQ(back.records.back().name, "B");
    }
  }

  stazioni_t table{};
  table[1] = {12, 900, 1100, 1000, 0, "A"};
  table[3] = table[1];
  table[3].campo_10 = 1;
  EXPECT_EQ(invert_stations(table, 80).problems,
            (std::vector<std::string>{"record 2: an empty record between stations",
                                      "record 3: a fifth value the reader sets to 0 for this "
                                      "station"}));
}

}  // namespace
}  // namespace scenario
