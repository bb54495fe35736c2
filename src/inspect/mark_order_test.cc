#include "inspect/mark_order.h"
#include "inspect/invert_slowdowns.h"

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

// Codes whose marks wrap past a byte, signals whose marks others cover
// whole, and signals under the stop of a station written after them: each
// comes back with a code and a place in the file that leave every mark.
TEST(MarkOrder, SignalsComeBackWithCodesAndPlacesThatLeaveEveryMark) {
  const char* const station = "stazione, 2000, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, A";
  const struct {
    const char* name;
    std::initializer_list<std::string_view> records;
    std::vector<std::size_t> under_stops;  // stop cells with a signal under them
  } cases[] = {
      {"a code of 90 + 7: marks 137 - 256 and on",
       {"segnale, 3000, 30, 1, 1, 1, 0, 7, 0,0,0, 0"},
       {}},
      {"a code below 0", {"segnale, 3000, -1, 1, 1, 1, 2, 0, 0,0,0, 0"}, {}},
      {"marks covered by two later signals and a station",
       {"segnale, 3000, 5, 1, 1, 1, 0, 0, 0,0,0, 0", "segnale, 3100, 1, 1, 1, 1, 0, 0, 0,0,0, 0",
        "segnale, 2900, 2, 1, 1, 1, 0, 0, 0,0,0, 0"},
       {}},
      {"under a stop, with a delay",
       {"segnale, 2050, 2, 1, 2, 3, 1, 0, 4,5,6, 140", station},
       {42}},
      {"under a stop, its farther marks left",
       {"segnale, 2050, 1, 1, 2, 3, 1, 0, 4,5,6, 0", station},
       {42}},
      {"under a stop, one mark left, which wraps to 0 over an earlier signal's",
       {"segnale, 1750, 1, 1, 1, 1, 0, 0, 0,0,0, 0", "segnale, 2050, 25, 1, 2, 3, -4, 27, 4,5,6, 0",
        station, "segnale, 2150, 1, 1, 1, 1, 0, 0, 0,0,0, 0"},
       {42}},
      {"under a stop, every mark covered: a board's values",
       {"segnale, 2050, 1, 1, 2, 3, 1, 0, 4,5,6, 0", station,
        "segnale, 1850, 1, 1, 2, 3, 1, 0, 0,0,0, 0"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const compile_result r =
        testing::compile_texts(testing::line_text(20000), testing::train_text(c.records));
    ASSERT_TRUE(r.st.faults.empty());
    const std::size_t stations = r.st.stazioni[1].tipo_stazione != 0 ? 1 : 0;
    const auto back = invert_signal_order(r.st.percorso, r.st.stazioni, stations,
                                          invert_slowdowns(r.st.percorso).records.under_stops);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    EXPECT_EQ(back.records.under_stops, c.under_stops);
    // Written again in that order, the signals leave every mark and value.
    std::vector<std::string> lines;
    std::size_t written = 0;
    for (std::size_t i = 0; i <= back.records.signals.size(); ++i) {
      for (; written < stations &&
             (i == back.records.signals.size() || back.records.before[i] > written);
           ++written)
        lines.push_back(station);
      if (i == back.records.signals.size()) break;
      std::string line = "segnale";
      for (std::int32_t v : back.records.signals[i].numbers()) line += ", " + std::to_string(v);
      lines.push_back(line);
    }
    std::string train = "[generale]\r\n";
    for (const std::string& l : lines) train += l + "\r\n";
    const compile_result again =
        testing::compile_texts(testing::line_text(20000), train + "[fine]\r\n");
    ASSERT_TRUE(again.st.faults.empty());
    for (std::size_t cell = 0; cell < 100; ++cell) {
      EXPECT_EQ(again.st.percorso[cell].preavviso, r.st.percorso[cell].preavviso) << cell;
      if (c.under_stops.empty() && r.st.percorso[cell].tipo_cella == k_station_stop) continue;
      EXPECT_EQ(again.st.percorso[cell], r.st.percorso[cell]) << cell;
    }
  }
}

}  // namespace
}  // namespace scenario
