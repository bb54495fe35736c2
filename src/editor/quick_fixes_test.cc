#include "editor/quick_fixes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "editor/text_positions.h"
#include "run/compile.h"
#include "run/diagnostics.h"
#include "test_support.h"

namespace scenario {
namespace {

std::string example(const char* name) {
  return testing::slurp(std::filesystem::path(SCENARIO_SOURCE_DIR) / "docs/examples" / name);
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, text.npos) << from;
  if (at != text.npos) text.replace(at, from.size(), to);
  return text;
}

std::vector<diagnostic> checked(const std::string& line, const std::string& train) {
  compile_input input{"Valle", "12", true, {"L", line}, {"T", train}};
  input.keep_going = true;
  input.trace_sources = true;
  return check_diagnostics(compile(input), line, train);
}

// Each fix, applied, removes the diagnostic it was offered for and leaves
// no new one.
TEST(QuickFixes, EachAppliedFixRemovesItsDiagnostic) {
  const struct {
    bool in_line;
    std::string_view from, to;
    std::string_view words;  // in the diagnostic's message
    std::string_view fixed;  // the line after the fix
  } cases[] = {
      {true, "pendenza,  2000", "pendensa,  2000", "did you mean", "pendenza,  2000,   12"},
      {true, "sfondo uno", "Sfondo Uno", "letter case", "sfondo uno,    60000"},
      {true, "percorso,    12000", "percorso,    12000 m", "no units",
       "lunghezza percorso,    12000"},
      {true, "curvad4,  1500,", "curvad4,  1500 m,", "the unit 'm' after 1500",
       "curvad4,  1500,  300"},
      {false, "velocita,    1850,", "velocita,    1850m,", "the unit 'm' after 1850",
       "velocita,    1850,    90"},
      {false, "velocita,    9500,    60", "velocita,    9500,    60 per mille", "no units",
       "velocita,    9500,    60"},
      {true, "7000,  PASSO", "7000 m,  PASSO", "is read as the text",
       "cartello indicatore,  7000,  PASSO DEL LUPO"},
      {true, "PASSO DEL LUPO", "PASSO, DEL LUPO", "cut at the comma",
       "cartello indicatore,  7000,  \"PASSO, DEL LUPO\""},
      {false, "stazione,    5500", "stazione,    5530", "multiple of 50",
       "stazione,    5550, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   8,12, 0, MOLINO"},
      {false, "stazione,    5500", "stazione,    5520", "multiple of 50",
       "stazione,    5500, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,    0,   8,12, 0, MOLINO"},
      {true, "ripetizione segnali 4 codici,    0", "ripetizione segnali 4 codici,    -30",
       "multiple of 50", "ripetizione segnali 4 codici,    -50,    12000"},
      {true, "progressiva chilometrica uno,    0,    45000",
       "progressiva chilometrica uno,    0,    45010", "multiple of 50",
       "progressiva chilometrica uno,    0,    45000,    0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to);
    std::string line = example("Valle_linea.txt");
    std::string train = example("Valle_12-.txt");
    std::string& edited = c.in_line ? line : train;
    edited = replaced(edited, c.from, c.to);
    const std::vector<diagnostic> before = checked(line, train);
    const auto d = std::find_if(before.begin(), before.end(), [&](const diagnostic& x) {
      return x.message.find(c.words) != std::string::npos;
    });
    ASSERT_NE(d, before.end());
    const std::string row(line_text(edited, d->line - 1));
    const std::vector<line_fix> fixes = fixes_for(*d, row);
    ASSERT_EQ(fixes.size(), 1u);
    std::string fixed_row = row;
    fixed_row.replace(fixes[0].first, fixes[0].last - fixes[0].first, fixes[0].text);
    EXPECT_EQ(fixed_row, c.fixed);
    edited.replace(line_start(edited, d->line - 1), row.size(), fixed_row);
    EXPECT_TRUE(checked(line, train).empty());
  }
}

TEST(QuickFixes, NoneForOtherDiagnosticsOrFieldsThatFitAlready) {
  EXPECT_TRUE(fixes_for("speed board on an occupied cell", "indicatori_vmax, 1850", 0).empty());
  EXPECT_TRUE(
      fixes_for("station position is not a multiple of 50 m", "stazione, 500, 8", 10).empty());
  EXPECT_TRUE(
      fixes_for("is not read: its words are matched with their letter case", "sfondo uno", 0)
          .empty());
}

}  // namespace
}  // namespace scenario
