#include "editor/layout.h"

#include <gtest/gtest.h>

#include <regex>

#include "editor/text_positions.h"
#include "run/binary_files.h"
#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

std::string formatted(description_format format, std::string text) {
  // From the last line up, so that the line numbers still hold.
  std::vector<line_replacement> edits = layout_edits(format, text);
  for (auto it = edits.rbegin(); it != edits.rend(); ++it)
    text.replace(line_start(text, it->line), line_text(text, it->line).size(), it->text);
  return text;
}

// The shipped descriptions with their fields packed and their blanks moved:
// formatting gives the program's layout back, and the compile gives the same
// tables and findings before and after.
TEST(Layout, GivesTheProgramsLayoutBackAndTheSameCompile) {
  const std::string line = testing::shipped_line_text();
  const std::string train = testing::shipped_train_text();
  EXPECT_TRUE(layout_edits(description_format::line, line).empty());
  EXPECT_TRUE(layout_edits(description_format::train, train).empty());
  auto packed = [](const std::string& text) {
    std::string out = std::regex_replace(text, std::regex(", +"), ",");
    out = std::regex_replace(out, std::regex("\\[curve\\]"), "  [curve] ");
    out = std::regex_replace(out, std::regex("\\r\\n(pendenza|segnale|stazione)"), "\r\n  $1");
    return std::regex_replace(out, std::regex("(orologio,) *([0-9]+) +([0-9]+) +([0-9]+) "),
                              "$1$2, $3,$4");
  };
  const std::string line_packed = packed(line);
  const std::string train_packed = packed(train);
  ASSERT_NE(line_packed, line);
  ASSERT_NE(train_packed, train);
  EXPECT_EQ(formatted(description_format::line, line_packed), line);
  EXPECT_EQ(formatted(description_format::train, train_packed), train);

  const compile_result before = testing::compile_texts(line_packed, train_packed);
  const compile_result after =
      testing::compile_texts(formatted(description_format::line, line_packed),
                             formatted(description_format::train, train_packed));
  const binary_bytes a = serialise_binary_files(before.st);
  const binary_bytes b = serialise_binary_files(after.st);
  EXPECT_TRUE(a.plan == b.plan && a.stations == b.stations && a.grid == b.grid);
  EXPECT_FALSE(a.grid.empty());
  EXPECT_EQ(before.findings.size(), after.findings.size());
}

// Lines whose fields the layout would not give back as they read are left.
TEST(Layout, LeavesWhatItCannotWriteBackExactly) {
  const std::string line =
      "x\r\n[generale]\r\nlunghezza percorso, 012000\r\nLunghezza Percorso,9000\r\n"
      "[cartelli]\r\ncartello indicatore,7000,PASSO , LUPO\r\n"
      "cartello indicatore,7000,\"PASSO, LUPO\"\r\npendenza,100,5,7\r\npendenza,100\r\n"
      "pendenza,  -50, -8\r\nkm, 5\r\n[fine]\r\n";
  const std::vector<line_replacement> edits = layout_edits(description_format::line, line);
  ASSERT_EQ(edits.size(), 3u);
  EXPECT_EQ(edits[0].line, 3);
  EXPECT_EQ(edits[0].text, "Lunghezza Percorso,    9000");
  EXPECT_EQ(edits[1].text, "cartello indicatore,  7000,  \"PASSO, LUPO\"");
  EXPECT_EQ(edits[2].text, "pendenza,  -50,   -8");
}

}  // namespace
}  // namespace scenario
