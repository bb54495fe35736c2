#include "service/station_reader.h"

#include <gtest/gtest.h>

#include "common/compile_failure.h"
#include "model/fault_codes.h"

namespace scenario {
namespace {

// A grid of cells 0 to 1557 and stations read from one text, line by line.
class StationReader : public ::testing::Test {
 protected:
  StationReader() { st.percorso.assign(1558, cella{}); }

  // Reads one station line given without its keyword.
  station_outcome read(const std::string& fields) {
    text = fields + "\r\n";
    field_reader reader(text);
    return read_station(reader, st, numero);
  }

  run_state st;
  std::int32_t numero = 1;
  std::string text;
};

TEST_F(StationReader, OrdinaryStationAreaStopAndApproach) {
  ASSERT_EQ(read("0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 5,58,0, CORVALE").code, 0);
  ASSERT_EQ(read("40200, 12, 500, 1,1,1, 1,1,0, 4,1,1, 0, 0,0,0, VALPERA").code, 0);
  const stazione& s = st.stazioni[2];
  EXPECT_EQ(s.inizio, 39950);
  EXPECT_EQ(s.fine, 40500);  // 50 m longer for campo_9
  EXPECT_EQ(s.campo_9, 1);
  EXPECT_EQ(s.campo_10, 0);  // shorter than 600 m
  EXPECT_EQ(st.percorso[809].tipo_cella, k_station_stop);
  EXPECT_EQ(st.percorso[809].valore_a, 2);
  EXPECT_EQ(numero, 3);
}

TEST_F(StationReader, FirstStationLosesItsFlagsButKeepsTheLongerArea) {
  ASSERT_EQ(read("10000, 12, 600, 1,1,1, 1,1,0, 4,1,1, 0, 0,0,0, PRIMA").code, 0);
  const stazione& s = st.stazioni[1];
  EXPECT_EQ(s.fine, 10350);
  EXPECT_EQ(s.campo_9, 0);
  EXPECT_EQ(s.campo_10, 0);
  EXPECT_EQ(s.campo_1, 1);
}

TEST_F(StationReader, TypesFiveToEight) {
  ASSERT_EQ(read("10000, 5, 300, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, FERMATA").code, 0);
  const stazione& s = st.stazioni[1];
  EXPECT_EQ(s.inizio, 9700);
  EXPECT_EQ(s.fine, 10150);
  EXPECT_EQ(s.campo_9, 0);
  EXPECT_EQ(st.percorso[202].tipo_cella, k_station_stop);
  for (int j = 198; j <= 201; ++j) EXPECT_EQ(st.percorso[j].preavviso, 0);
  ASSERT_EQ(read("20000, 7, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, TESTA").code, 0);
  EXPECT_EQ(st.stazioni[2].inizio, 19700);
  EXPECT_EQ(st.stazioni[2].fine, 20300);
}

TEST_F(StationReader, TypeTwentyFiveAndAboveMarksNoCell) {
  ASSERT_EQ(read("0, 30, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, POSTO").code, 0);
  for (const cella& c : st.percorso) ASSERT_EQ(c, cella{});
  EXPECT_EQ(st.stazioni[1].fine, 150);
}

TEST_F(StationReader, StopCellReplacesWhateverTheCellHeld) {
  st.percorso[128].tipo_cella = k_signal;
  st.percorso[127].preavviso = 31;
  ASSERT_EQ(read("6300, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, BRUSETO").code, 0);
  EXPECT_EQ(st.percorso[128].tipo_cella, k_station_stop);
  EXPECT_EQ(st.percorso[127].preavviso, 81);
}

TEST_F(StationReader, Faults) {
  const station_outcome room = read("77100, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X");
  EXPECT_EQ(room.code, 15);
  EXPECT_TRUE(room.soft);
  EXPECT_EQ(room.position, 77100);

  const station_outcome position = read("1025, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X");
  EXPECT_EQ(position.code, 8);
  EXPECT_FALSE(position.soft);

  const station_outcome length = read("1000, 12, 250, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X");
  EXPECT_EQ(length.code, 9);
  EXPECT_EQ(length.position, 1000);
  EXPECT_EQ(st.stazioni[1].posizione, 1000);  // what was read stays
  EXPECT_EQ(st.stazioni[1].tipo_stazione, 12);
  EXPECT_EQ(st.stazioni[1].nome, "");

  const station_outcome stop = read("-100, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X");
  EXPECT_EQ(stop.code, 24);
  EXPECT_FALSE(stop.position);
}

TEST_F(StationReader, SpacingFromThePreviousArea) {
  ASSERT_EQ(read("10000, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A").code, 0);
  const station_outcome close = read("10300, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B");
  EXPECT_EQ(close.code, 22);
  EXPECT_EQ(close.position, 10300);
  numero = 2;
  EXPECT_EQ(read("10800, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, C").code, 0);  // 350 m after
}

TEST_F(StationReader, CountStopsAtTheFirstBoardSlotAfterWritingTheStation) {
  st.indice_cartelli = 78;
  numero = 77;
  const station_outcome out = read("10000, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, LAST");
  EXPECT_EQ(out.code, 10);
  EXPECT_EQ(st.stazioni[77].nome, "LAST");
  EXPECT_EQ(st.percorso[202].valore_a, 77);
}

TEST_F(StationReader, FieldWidthsAndTimeOverflow) {
  EXPECT_THROW(read("1000, 300, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"), compile_failure);
  EXPECT_THROW(read("1000, 12, 300, 0,0,0, 0,0,0, 0,0,0, 0, 600000,0,0, X"), compile_failure);
  EXPECT_THROW(read("1000, 12, 300, 0,0,0"), compile_failure);
}

}  // namespace
}  // namespace scenario
