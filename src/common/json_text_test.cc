// The one escaping of the JSON documents written for scripts.
#include "common/json_text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(JsonText, EscapesQuotesBackslashesAndControlsAndKeepsEveryByte) {
  struct escape_case {
    std::string text;
    std::string as_1252;  // Windows-1252 text as Unicode
    std::string as_utf8;  // UTF-8 text as it is
  };
  const escape_case cases[] = {
      {"plain", "\"plain\"", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
      {"\t\x01\x1f\x7f", "\"\\u0009\\u0001\\u001f\x7f\"", "\"\\u0009\\u0001\\u001f\\u007f\""},
      {"\xc0\x80", "\"\xc3\x80\xe2\x82\xac\"", "\"\xc0\x80\""},
      {"\x81\x8d\x8f\x90\x9d", "\"\\u0081\\u008d\\u008f\\u0090\\u009d\"",
       "\"\x81\x8d\x8f\x90\x9d\""},
  };
  for (const escape_case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(json_string_1252(c.text), c.as_1252);
    EXPECT_EQ(json_string_utf8(c.text), c.as_utf8);
  }
}

}  // namespace
}  // namespace scenario
