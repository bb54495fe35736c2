#include "common/line_index.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// Every line end the field reader knows, a text without a last line end,
// an empty text, and lines asked for outside the text.
TEST(LineIndex, LinesEndAsTheFieldReaderEndsThem) {
  struct row {
    std::string_view text;
    int n;
    std::string_view line;
    std::size_t start;
  };
  const row rows[] = {
      {"a\r\nbb\rccc\nd", 1, "a", 0},
      {"a\r\nbb\rccc\nd", 2, "bb", 3},
      {"a\r\nbb\rccc\nd", 3, "ccc", 6},
      {"a\r\nbb\rccc\nd", 4, "d", 10},
      {"a\r\nbb\rccc\nd", 5, "", 11},
      {"a\r\nbb\rccc\nd", 0, "", 11},
      {"a\r\nbb\rccc\nd", -3, "", 11},
      {"x\n\r\ny\r", 2, "", 2},  // an empty line between LF and CR LF
      {"x\n\r\ny\r", 3, "y", 4},
      {"x\n\r\ny\r", 4, "", 6},  // after the last line end
      {"x\n\r\ny\r", 5, "", 6},
      {"", 1, "", 0},
      {"\r", 1, "", 0},
      {"\r", 2, "", 1},
  };
  for (const row& r : rows) {
    const line_index index(r.text);
    EXPECT_EQ(index.line(r.n), r.line) << r.n << " of '" << r.text << "'";
    EXPECT_EQ(index.start(r.n), r.start) << r.n << " of '" << r.text << "'";
  }
}

}  // namespace
}  // namespace scenario
