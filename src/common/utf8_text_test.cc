#include "common/utf8_text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Utf8Text, EveryCharacterOf1252RoundTrips) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = utf8_from_1252(one);
    if (utf8 == "\xEF\xBF\xBD") continue;  // one of the five undefined bytes
    const text_1252 back = utf8_to_1252(utf8);
    EXPECT_TRUE(back.ok) << b;
    EXPECT_EQ(back.text, one) << b;
  }
}

TEST(Utf8Text, StopsAtTheFirstCharacterThatCannotBeConverted) {
  struct conversion_case {
    const char* utf8;
    std::size_t failed_at;
    std::uint32_t failed_cp;  // 0: not UTF-8
  } cases[] = {
      {"Citt\xD0\x9B", 4, 0x041B},              // Cyrillic El
      {"\xE2\x82\xAC\xE2\x82\xAD", 3, 0x20AD},  // the euro is in the set, the kip is not
      {"a\xC2\x81", 1, 0x81},                   // a C1 control: 0x81 means nothing in the set
      {"ab\xE0", 2, 0},                         // truncated sequence
      {"\xC0\xA0", 0, 0},                       // overlong space
      {"\xED\xA0\x80", 0, 0},                   // a surrogate
      {"\xF4\x90\x80\x80", 0, 0},               // past U+10FFFF
      {"x\xF0\x9F\x9A\x82", 1, 0x1F682},        // a locomotive, outside the set
      {"\x80", 0, 0},                           // a continuation byte alone
  };
  for (const conversion_case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const text_1252 r = utf8_to_1252(c.utf8);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failed_at, c.failed_at);
    EXPECT_EQ(r.failed_cp, c.failed_cp);
  }
  const text_1252 citta = utf8_to_1252("Citt\xC3\xA0 \xE2\x80\x93 \xC5\x92");
  EXPECT_TRUE(citta.ok);
  EXPECT_EQ(citta.text, "Citt\xE0 \x96 \x8C");
  EXPECT_EQ(code_point_name(0x41B), "U+041B");
  EXPECT_EQ(code_point_name(0x1F682), "U+1F682");
}

}  // namespace
}  // namespace scenario
