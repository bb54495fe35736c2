#include "output/check_codes.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

run_state named(const std::string& line, const std::string& train) {
  run_state st;
  st.percorso.assign(10, cella{});
  st.stazioni[85].nome = line;
  st.stazioni[86].nome = train;
  return st;
}

TEST(CheckCodes, CheckTextIsTrainThenLineLowerCasedAndPadded) {
  EXPECT_EQ(check_text("4816", "Corvale_Pianasco"), "4816corvale_pianascommppq");
  EXPECT_EQ(check_text("", ""), "mmppqqrrssttuuvvzzbbddffh");
  EXPECT_EQ(check_text("A", "bC"), "abcmmppqqrrssttuuvvzzbbdd");
  EXPECT_EQ(check_text("12345678901234567890", "abcdefghij"), "12345678901234567890abcde");
}

TEST(CheckCodes, ShippedScenarioCodes) {
  const run_state st = named("Corvale_Pianasco", "4816");
  // Sums written out over "4816corvale_pianascommppq".
  const std::string text = "4816corvale_pianascommppq";
  int og = 0, weighted = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    og += static_cast<unsigned char>(text[i]);
    weighted += static_cast<int>(i + 1) * static_cast<unsigned char>(text[i]);
  }
  EXPECT_EQ(codice_gara_og(st), og);
  EXPECT_EQ(codice_gara_st(st), weighted);
  EXPECT_EQ(codice_gara_og(named("CORVALE_PIANASCO", "4816")), og);
}

TEST(CheckCodes, OnlyTheFirstTwentyFiveCharactersCount) {
  EXPECT_EQ(codice_gara_st(named("abcdefghijklmnopqrstuvwxyz_one", "")),
            codice_gara_st(named("abcdefghijklmnopqrstuvwxy_two", "")));
  EXPECT_LE(codice_gara_og(named("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                                 "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF",
                                 "")),
            6375);
}

TEST(CheckCodes, StampsGoIntoRecord85AndCell1) {
  run_state st = named("Corvale_Pianasco", "4816");
  EXPECT_TRUE(stamp_scenario(st).empty());
  EXPECT_EQ(st.stazioni[85].campo_2, 610);
  EXPECT_EQ(st.stazioni[85].orario, codice_gara_st(st));
  EXPECT_EQ(st.percorso[1].valore_a, 5121);
  EXPECT_EQ(st.percorso[1].valore_b, codice_gara_og(st));
}

TEST(CheckCodes, TakenPlacesAreConflicts) {
  run_state a = named("L", "T");
  a.percorso[1].valore_a = 50;
  EXPECT_EQ(stamp_scenario(a), "1250");
  run_state b = named("L", "T");
  b.percorso[1].valore_b = 5;
  EXPECT_EQ(stamp_scenario(b), "1251");
  EXPECT_EQ(b.percorso[1].valore_a, 5121);  // the first stamps are in before the second check
  run_state c = named("L", "T");
  c.stazioni[85].orario = 1;
  EXPECT_EQ(stamp_scenario(c), "1251");
}

}  // namespace
}  // namespace scenario
