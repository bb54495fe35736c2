#include "draw/svg_writer.h"

#include <gtest/gtest.h>

#include "common/utf8_text.h"
#include "xml_check.h"

namespace scenario {
namespace {

TEST(SvgWriter, EscapesEverythingItIsGiven) {
  EXPECT_EQ(xml_escape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
  EXPECT_EQ(xml_escape(std::string("x\x01y\tz", 5)), "x\xEF\xBF\xBDy\tz");
  svg_writer svg;
  svg.open("g", {{"id", "a\"<b"}});
  svg.text({{"x", "1"}}, "T&T <s>");
  svg.comment("a -- b ---");
  svg.open("g");  // left open: finish closes it
  const std::string doc = svg.finish(10, 20);
  const testing::xml_check c = testing::check_xml(doc);
  EXPECT_EQ(c.error, "") << doc;
  ASSERT_EQ(c.texts.size(), 1u);
  EXPECT_EQ(c.texts[0], "T&T <s>");
  EXPECT_NE(doc.find("viewBox=\"0 0 10 20\""), std::string::npos);
}

TEST(SvgWriter, NumbersAreShortAndNeverNegativeZero) {
  EXPECT_EQ(svg_number(12), "12");
  EXPECT_EQ(svg_number(12.5), "12.5");
  EXPECT_EQ(svg_number(-0.001), "0");
  EXPECT_EQ(svg_number(1.23456), "1.23");
  EXPECT_EQ(svg_number(-7.1), "-7.1");
  EXPECT_EQ(svg_number(0.0 / 0.0), "0");
  // Too long to write out: the exponent form, never a cut or garbled one.
  EXPECT_EQ(svg_number(1e66), "1e+66");
  EXPECT_EQ(svg_number(-1.5e300), "-1.5e+300");
}

TEST(Utf8Text, Windows1252BecomesUtf8) {
  EXPECT_EQ(utf8_from_1252("CORVALE"), "CORVALE");
  EXPECT_EQ(utf8_from_1252("\xE8"), "\xC3\xA8");      // e grave
  EXPECT_EQ(utf8_from_1252("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(utf8_from_1252("\x9F"), "\xC5\xB8");      // Y diaeresis
  EXPECT_EQ(utf8_from_1252("\x81"), "\xEF\xBF\xBD");  // undefined
}

TEST(XmlCheck, CatchesWhatIsNotWellFormed) {
  EXPECT_EQ(testing::check_xml("<a><b/></a>").error, "");
  EXPECT_NE(testing::check_xml("<a><b></a>").error, "");
  EXPECT_NE(testing::check_xml("<a>&nbsp;</a>").error, "");
  EXPECT_NE(testing::check_xml("<a x='1' x='2'/>").error, "");
  EXPECT_NE(testing::check_xml("<a x=1/>").error, "");
  EXPECT_NE(testing::check_xml(std::string("<a>\x01</a>", 8)).error, "");
  EXPECT_NE(testing::check_xml("<a>\xC3</a>").error, "");
  EXPECT_NE(testing::check_xml("<a/><b/>").error, "");
  EXPECT_NE(testing::check_xml("<a><!-- x -- y --></a>").error, "");
  EXPECT_NE(testing::check_xml("<a>").error, "");
}

}  // namespace
}  // namespace scenario
