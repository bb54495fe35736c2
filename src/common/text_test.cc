#include "common/text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Text, ExactTestComparesCharacterCodes) {
  EXPECT_TRUE(contains("progressiva chilometrica uno", "progressiva"));
  EXPECT_FALSE(contains("Progressiva chilometrica uno", "progressiva"));
  EXPECT_FALSE(contains("abc", "abcd"));
}

TEST(Text, CaseIgnoringTestMatchesAnyCase) {
  EXPECT_TRUE(contains_ignoring_case("LIMITE VELOCITA", "velocit"));
  EXPECT_TRUE(contains_ignoring_case("Velocita", "VELOCIT"));
  EXPECT_TRUE(contains_ignoring_case("LUNGHEZZA PERCORSO", "lunghezza"));
  EXPECT_FALSE(contains_ignoring_case("[stazioni]", "stazione"));
  EXPECT_FALSE(contains_ignoring_case("[segnali]", "segnale"));
}

TEST(Text, LowerCaseCoversTheAccentedCapitals) {
  EXPECT_EQ(lower_1252("Corvale_Pianasco 4816"), "corvale_pianasco 4816");
  EXPECT_EQ(lower_1252("\xC0\xC9\xDE"), "\xE0\xE9\xFE");
  EXPECT_EQ(lower_1252("\xD7"), "\xD7");  // the multiplication sign has no small form
  EXPECT_EQ(lower_1252("\x8A\x9F"), "\x9A\xFF");
  EXPECT_TRUE(contains_ignoring_case("CITT\xC0", "citt\xE0"));
}

}  // namespace
}  // namespace scenario
