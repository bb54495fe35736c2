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
}

// Known codes of names with Windows-1252 letters above 127, worked out by
// hand from the rule (lower-case the train number and the line name joined,
// pad with the filler, take 25 characters; the plain code sums the
// characters' unsigned byte values, the weighted code sums i times the value
// of character i). A sum of signed bytes would give other numbers.
TEST(CheckCodes, NamesWithLettersAbove127HaveTheirKnownCodes) {
  const struct {
    std::string train;
    std::string line;
    std::int32_t og;
    std::int32_t st;
  } cases[] = {
      // "12" + "CITTÀ": "12città" + "mmppqqrrssttuuvvzz"; À 0xC0 lowers to à 0xE0 = 224.
      // og: 49+50+99+105+116+116+224 = 759, filler 2*(109+112+113+114+115+116+117+118+122)
      //     = 2072; 759 + 2072 = 2831.
      // st: 1*49+2*50+3*99+4*105+5*116+6*116+7*224 = 3710; filler (8+9)*109 + (10+11)*112
      //     + (12+13)*113 + (14+15)*114 + (16+17)*115 + (18+19)*116 + (20+21)*117
      //     + (22+23)*118 + (24+25)*122 = 1853+2352+2825+3306+3795+4292+4797+5310+5978
      //     = 34508; 3710 + 34508 = 38218.
      {"12", "CITT\xC0", 2831, 38218},
      // "4816" + "ŠŒŽŸ": Š 0x8A, Œ 0x8C, Ž 0x8E, Ÿ 0x9F lower to 0x9A = 154, 0x9C = 156,
      // 0x9E = 158, 0xFF = 255; then "mmppqqrrssttuuvvz".
      // og: 52+56+49+54+154+156+158+255 = 934, filler 2*(109+112+113+114+115+116+117+118)
      //     + 122 = 1950; 934 + 1950 = 2884.
      // st: 1*52+2*56+3*49+4*54+5*154+6*156+7*158+8*255 = 5379; filler (9+10)*109
      //     + (11+12)*112 + (13+14)*113 + (15+16)*114 + (17+18)*115 + (19+20)*116
      //     + (21+22)*117 + (23+24)*118 + 25*122 = 2071+2576+3051+3534+4025+4524+5031
      //     +5546+3050 = 33408; 5379 + 33408 = 38787.
      {"4816", "\x8A\x8C\x8E\x9F", 2884, 38787},
      // Twenty-five ÿ (0xFF = 255, its own lower case): the largest codes,
      // og 25*255 = 6375 and st 255*(1+2+...+25) = 255*325 = 82875.
      {"", std::string(25, '\xFF'), 6375, 82875},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const run_state st = named(c.line, c.train);
    EXPECT_EQ(codice_gara_og(st), c.og);
    EXPECT_EQ(codice_gara_st(st), c.st);
  }
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
