#include "sources/field_reader.h"

#include <gtest/gtest.h>

#include "common/compile_failure.h"

namespace scenario {
namespace {

TEST(FieldReader, CommasAndLineEndsBothEndFields) {
  field_reader r("lunghezza percorso,70850\r\npendenza,  30500,   -11\r\n[fine]\r\n");
  EXPECT_EQ(r.read_text(), "lunghezza percorso");
  EXPECT_EQ(r.read_int32(), 70850);
  EXPECT_EQ(r.read_text(), "pendenza");
  EXPECT_EQ(r.field_line(), 2);
  EXPECT_EQ(r.read_int32(), 30500);
  EXPECT_EQ(r.read_int32(), -11);
  EXPECT_FALSE(r.at_end());
  EXPECT_EQ(r.read_text(), "[fine]");
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, ARecordSplitOverTwoLinesReadsTheSame) {
  field_reader one("curvad6,  500,  300\r\n");
  field_reader two("curvad6\r\n  500\r\n300\r\n");
  for (field_reader* r : {&one, &two}) {
    EXPECT_EQ(r->read_text(), "curvad6");
    EXPECT_EQ(r->read_int32(), 500);
    EXPECT_EQ(r->read_int32(), 300);
    EXPECT_TRUE(r->at_end());
  }
}

TEST(FieldReader, EmptyNumberFieldsReadAsZero) {
  field_reader r("indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0\r\n");
  EXPECT_EQ(r.read_text(), "indicatori_vmax");
  const int expected[] = {1850, 85, 90, 90, 0, 0, 0, 0, 0};
  for (int v : expected) EXPECT_EQ(r.read_int32(), v);
  EXPECT_TRUE(r.at_end());
}

TEST(FieldReader, BlankSeparatedNumbersAndBlankBeforeComma) {
  // The clock line separates its values with blanks only and ends with one.
  field_reader blanks("orologio,    5               57            30 \r\n[aderenze]\r\n");
  field_reader commas("orologio,    5,57,30\r\n[aderenze]\r\n");
  for (field_reader* r : {&blanks, &commas}) {
    EXPECT_EQ(r->read_text(), "orologio");
    EXPECT_EQ(r->read_int16(), 5);
    EXPECT_EQ(r->read_int16(), 57);
    EXPECT_EQ(r->read_int16(), 30);
    EXPECT_EQ(r->read_text(), "[aderenze]");
  }
  // Blanks between a number and its comma belong to neither field.
  field_reader spaced("1 , 2\r\n");
  EXPECT_EQ(spaced.read_int32(), 1);
  EXPECT_EQ(spaced.read_int32(), 2);
}

// A tab right after a number is a blank there: the text after it reads as
// after a space, in both formats; inside a text field a tab stays text.
TEST(FieldReader, ATabAfterANumberReadsAsASpace) {
  struct row {
    reading_rules rules;
    const char* after_number;  // what follows "cartello indicatore,  1300"
    const char* text;          // the text field read next
  };
  const auto line = reading_rules::line_description;
  const auto train = reading_rules::train_description;
  const row rows[] = {
      {line, " ,  TEXT", ""},     {line, "\t,  TEXT", ""},       {line, " \t ,TEXT", ""},
      {line, "\tTEXT", "TEXT"},   {line, ",\tTEXT", "\tTEXT"},   {train, "\t, TEXT", "TEXT"},
      {train, " , TEXT", "TEXT"}, {train, ", \tTEXT", "\tTEXT"},
  };
  for (const row& r : rows) {
    const std::string text = std::string("cartello indicatore,  1300") + r.after_number + "\r\n";
    SCOPED_TRACE(text);
    field_reader reader(text, r.rules);
    EXPECT_EQ(reader.read_text(), "cartello indicatore");
    EXPECT_EQ(reader.read_int32(), 1300);
    EXPECT_EQ(reader.read_text(), r.text);
  }
}

TEST(FieldReader, TextRunsToCommaOrLineEndAndKeepsInnerBlanksAndDashes) {
  field_reader r("   5,58, 0, SCAVETO-LIRANO\r\nstazione,   0, MONTALE ROSSIA  ,rest\r\n");
  EXPECT_EQ(r.read_int32(), 5);
  EXPECT_EQ(r.read_int32(), 58);
  EXPECT_EQ(r.read_int32(), 0);
  EXPECT_EQ(r.read_text(), "SCAVETO-LIRANO");
  EXPECT_EQ(r.read_text(), "stazione");
  EXPECT_EQ(r.read_int32(), 0);
  EXPECT_EQ(r.read_text(), "MONTALE ROSSIA");  // trailing blanks are dropped
  EXPECT_EQ(r.read_text(), "rest");
}

TEST(FieldReader, QuotedTextRunsToTheNextQuote) {
  field_reader r("\"a, b\" ,next\r\n\"two\r\nlines\"\r\nlast\r\n");
  EXPECT_EQ(r.read_text(), "a, b");
  EXPECT_EQ(r.read_text(), "next");
  EXPECT_EQ(r.read_text(), "two\r\nlines");
  EXPECT_EQ(r.read_text(), "last");
  EXPECT_EQ(r.field_line(), 4);
}

TEST(FieldReader, EndIsReachedWhenOnlyBlanksAndLineEndsRemain) {
  field_reader no_line_end("sabbia, 300");
  EXPECT_EQ(no_line_end.read_text(), "sabbia");
  EXPECT_FALSE(no_line_end.at_end());
  EXPECT_EQ(no_line_end.read_int16(), 300);
  EXPECT_TRUE(no_line_end.at_end());

  // A hand-written file often ends with empty lines.
  field_reader trailing("[fine]\r\n\r\n   \r\n\n");
  EXPECT_EQ(trailing.read_text(), "[fine]");
  EXPECT_TRUE(trailing.at_end());

  field_reader empty("");
  EXPECT_TRUE(empty.at_end());
}

TEST(FieldReader, ReadingPastTheEndIsAFailure) {
  field_reader r("[fine]\r\n");
  r.read_text();
  EXPECT_THROW(r.read_text(), compile_failure);
  field_reader n("  \r\n");
  EXPECT_THROW(n.read_int32(), compile_failure);
}

TEST(FieldReader, NumbersMustFitTheirWidth) {
  field_reader r(
      "255,256,-1,32767,32768,-32768,2147483647,2147483648,-2147483648,99999999999999999999\r\n");
  EXPECT_EQ(r.read_uint8(), 255);
  EXPECT_THROW(r.read_uint8(), compile_failure);
  EXPECT_THROW(r.read_uint8(), compile_failure);
  EXPECT_EQ(r.read_int16(), 32767);
  EXPECT_THROW(r.read_int16(), compile_failure);
  EXPECT_EQ(r.read_int16(), -32768);
  EXPECT_EQ(r.read_int32(), 2147483647);
  EXPECT_THROW(r.read_int32(), compile_failure);
  EXPECT_EQ(r.read_int32(), -2147483648);
  EXPECT_THROW(r.read_int32(), compile_failure);
}

TEST(FieldReader, TextWhereANumberIsExpectedIsAFailureNamingTheLine) {
  field_reader r("x\r\n\r\n12abc,\r\n");
  r.read_text();
  try {
    r.read_int32();
    FAIL() << "no failure";
  } catch (const compile_failure& f) {
    EXPECT_EQ(f.line(), 3);
    EXPECT_STREQ(f.what(), "'12abc' is not a whole number");
  }
  field_reader dash("-,+5\r\n");
  EXPECT_THROW(dash.read_int32(), compile_failure);
  EXPECT_THROW(dash.read_int32(), compile_failure);
}

// A unit after a number, parted by blanks or written against it, is named
// as a unit, with a note at the number; any other word is not a number.
TEST(FieldReader, AUnitWhereANumberIsExpectedIsNamedWithANoteAtItsNumber) {
  const struct {
    const char* text;
    reading_rules rules;
    const char* what;
    int note_column;  // 0: no note
  } cases[] = {
      {"3000 m, 400\r\n", reading_rules::line_description,
       "the unit 'm' after 3000 is read as the next value, which is not a whole number", 1},
      {"x, 3900   km/h, 2\r\n", reading_rules::train_description,
       "the unit 'km/h' after 3900 is read as the next value, which is not a whole number", 4},
      {"12 per mille\r\n", reading_rules::line_description,
       "the unit 'per mille' after 12 is read as the next value, which is not a whole number", 1},
      {"120%\r\n", reading_rules::train_description,
       "the unit '%' after 120 is read as part of the value, which is not a whole number", 1},
      {"12 attenzione\r\n", reading_rules::line_description, "'attenzione' is not a whole number",
       0},
      {"12, m\r\n", reading_rules::line_description, "'m' is not a whole number", 0},
      {"3000 ponte\r\n", reading_rules::line_description, "'ponte' is not a whole number", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    field_reader r(c.text, c.rules);
    try {
      if (c.text[0] == 'x') r.read_text();
      for (int i = 0; i < 3; ++i) r.read_int32();
      FAIL() << "no failure";
    } catch (const compile_failure& f) {
      EXPECT_EQ(f.what(), std::string(c.what));
      EXPECT_EQ(f.note() ? f.note()->column : 0, c.note_column);
      if (f.note()) {
        EXPECT_TRUE(f.note()->what.starts_with("the format has no units; write "));
      }
    }
  }
}

TEST(FieldReader, AHugeNumberIsQuotedCutAt80Characters) {
  const std::string digits(100'000, '7');
  const std::pair<std::string, std::string> cases[] = {
      {digits + "x", "'" + digits.substr(0, 80) + "...' is not a whole number"},
      {digits,
       digits.substr(0, 80) + "... does not fit a 32-bit field (-2147483648 to 2147483647)"},
  };
  for (const auto& [text, message] : cases) {
    field_reader r(text);
    try {
      r.read_int32();
      ADD_FAILURE() << "no failure";
    } catch (const compile_failure& f) {
      EXPECT_EQ(f.what(), message);
    }
  }
}

TEST(FieldReader, LoneCarriageReturnsAndLineFeedsCountAsLineEnds) {
  field_reader r("a\rb\nc\r\nd");
  EXPECT_EQ(r.read_text(), "a");
  EXPECT_EQ(r.read_text(), "b");
  EXPECT_EQ(r.field_line(), 2);
  EXPECT_EQ(r.read_text(), "c");
  EXPECT_EQ(r.read_text(), "d");
  EXPECT_EQ(r.field_line(), 4);
  EXPECT_TRUE(r.at_end());
}

}  // namespace
}  // namespace scenario
