#include "route/line_compiler.h"

#include <gtest/gtest.h>

#include "model/fault_codes.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::fresh_state;
using testing::line_text;

struct compiled {
  run_state st;
  compile_end end;
};

compiled compile(const std::string& text, std::int32_t scrivi_linea = 1) {
  compiled c{fresh_state(scrivi_linea), compile_end::finished};
  c.end = compile_line(text, c.st);
  return c;
}

TEST(LineCompiler, ShippedLineGivesTheGridAndHeaderSlots) {
  const compiled c = compile(testing::shipped_line_text());
  ASSERT_EQ(c.end, compile_end::finished);
  EXPECT_EQ(c.st.codice_errore, 0);
  EXPECT_EQ(c.st.percorso.size(), 1558u);
  EXPECT_EQ(c.st.profilo.extent(), 77850);
  const stazioni_t& s = c.st.stazioni;
  EXPECT_EQ(s[84].fine, 70850);
  EXPECT_EQ(s[85].inizio, 60000);
  EXPECT_EQ(s[85].fine, 2000);
  EXPECT_EQ(s[85].posizione, 1);
  EXPECT_EQ(s[86].inizio, 0);
  EXPECT_EQ(s[86].fine, 70850);
  EXPECT_EQ(s[86].posizione, 4);
  EXPECT_EQ(s[81].inizio, 0);
  EXPECT_EQ(s[81].fine, 172100);
  EXPECT_EQ(s[81].posizione, 1);
  for (int slot : {82, 83}) EXPECT_EQ(s[slot], stazione{}) << slot;
  EXPECT_EQ(c.st.indice_cartelli, 80);
}

TEST(LineCompiler, ShippedLineGivesBoardsSceneryAndGradients) {
  const compiled c = compile(testing::shipped_line_text());
  const percorso_t& g = c.st.percorso;
  const int boards[] = {38, 158, 173, 481, 549, 860, 1100, 1273};
  int board_count = 0;
  for (const cella& cell : g) board_count += cell.tipo_cella == k_speed_board;
  EXPECT_EQ(board_count, 8);
  for (int b : boards) EXPECT_EQ(g[b].tipo_cella, k_speed_board) << b;
  EXPECT_EQ(g[38].valore_a, 1700);
  EXPECT_EQ(g[38].valore_b, 1800);
  EXPECT_EQ(g[38].valore_c, 1800);
  EXPECT_EQ(g[38].valore_d, 0);
  EXPECT_EQ(g[1100].valore_a, 2500);  // 125 km/h

  for (std::size_t i = 0; i < g.size(); ++i) {
    const bool two = i == 173 || i == 174;
    const bool one = (i >= 530 && i <= 545) || (i >= 614 && i <= 649);
    EXPECT_EQ(g[i].ambiente, two ? 2 : one ? 1 : 0) << i;
    const bool marker = (i >= 533 && i <= 545 && (i - 533) % 4 == 0) ||
                        (i >= 617 && i <= 649 && (i - 617) % 4 == 0);
    EXPECT_EQ(g[i].tipo_cella == k_scenery_marker, marker) << i;
  }

  EXPECT_EQ(g[0].pendenza, 100);
  EXPECT_EQ(g[58].pendenza, 100);
  EXPECT_EQ(g[59].pendenza, 114);
  EXPECT_EQ(g[611].pendenza, 89);   // -11 from 30500 m
  EXPECT_EQ(g[1000].pendenza, 92);  // -8 from 49150 m
  for (int i = 1211; i <= 1289; ++i) ASSERT_EQ(g[i].pendenza, 90) << i;
  for (int i = 1290; i <= 1554; ++i) ASSERT_EQ(g[i].pendenza, 100) << i;
  for (int i = 1555; i <= 1557; ++i) EXPECT_EQ(g[i].pendenza, 0) << i;
}

TEST(LineCompiler, RouteLengthSizesGridAndPlanWithEvenRounding) {
  EXPECT_EQ(compile(line_text(25)).st.percorso.size(), 141u);  // 140.5 -> 140
  EXPECT_EQ(compile(line_text(75)).st.percorso.size(), 143u);  // 141.5 -> 142
  const compiled longest = compile(line_text(1000000));
  EXPECT_EQ(longest.st.codice_errore, 0);
  EXPECT_EQ(longest.st.percorso.size(), 20141u);
  EXPECT_EQ(longest.st.profilo.extent(), 1007000);
  EXPECT_FALSE(compile(line_text(70850), 0).st.profilo.exists());
}

TEST(LineCompiler, WithoutGradientsTheLineIsLevelUpToThreeCellsFromTheEnd) {
  const compiled c = compile(line_text(70850));
  const percorso_t& g = c.st.percorso;
  for (std::size_t i = 0; i + 3 < g.size(); ++i) ASSERT_EQ(g[i].pendenza, 100) << i;
  for (std::size_t i = g.size() - 3; i < g.size(); ++i) EXPECT_EQ(g[i].pendenza, 0);
}

TEST(LineCompiler, GradientsInOneCellDelayEachOther) {
  const compiled c = compile(line_text(70850, {"pendenza,  0,   0", "pendenza,  2950,   14",
                                               "pendenza,  2950,   20", "pendenza,  5000,   -11"}));
  const percorso_t& g = c.st.percorso;
  EXPECT_EQ(g[58].pendenza, 100);
  EXPECT_EQ(g[59].pendenza, 114);  // the second record at 2950 m writes one more cell of 14
  EXPECT_EQ(g[60].pendenza, 120);
  EXPECT_EQ(g[99].pendenza, 120);
  EXPECT_EQ(g[100].pendenza, 89);
}

TEST(LineCompiler, PositionCheckStopsSoftlyAndStillFillsAndExtends) {
  // P = 1557: 77750 is the last position that passes.
  const compiled ok = compile(line_text(70850, {"pendenza,  77750,   5"}));
  EXPECT_EQ(ok.st.codice_errore, 0);
  const compiled c = compile(
      line_text(70850, {"pendenza,  1000,   5", "pendenza,  77800,   7", "pendenza,  2000,   9"}));
  EXPECT_EQ(c.end, compile_end::finished);
  EXPECT_EQ(c.st.codice_errore, 15);
  EXPECT_EQ(c.st.posizione_errore, 77800);
  EXPECT_EQ(c.st.percorso[1554].pendenza, 105);  // the final fill ran with 5 in force
  EXPECT_EQ(plan_table(c.st.profilo).tag(77848, 1), plan_tag::real);
}

TEST(LineCompiler, KeywordCaseRules) {
  // Kilometric references match only in lower case; the route length and
  // body keywords in any case.
  const compiled c = compile(
      "[generale]\r\nLUNGHEZZA PERCORSO, 1000\r\nProgressiva chilometrica uno, 0, 5000, 0\r\n"
      "progressiva chilometrica due, 0, 7000, 0\r\n[curve]\r\nPENDENZA, 0, 3\r\n[fine]\r\n");
  EXPECT_EQ(c.st.percorso.size(), 161u);
  EXPECT_EQ(c.st.stazioni[81].fine, 7000);  // "due" alone, moved to slot 81
  EXPECT_EQ(c.st.stazioni[83].fine, 0);
  EXPECT_EQ(c.st.percorso[0].pendenza, 103);
}

TEST(LineCompiler, RecordsOutsideTheirSectionAreNotRecognised) {
  // A gradient in [generale] passes as fields that match nothing; a route
  // length in the body is not a general record.
  const compiled c = compile(
      "[generale]\r\nlunghezza percorso, 1000\r\npendenza, 0, 30\r\n[curve]\r\n"
      "lunghezza percorso, 5000\r\n[fine]\r\n");
  EXPECT_EQ(c.st.codice_errore, 0);
  EXPECT_EQ(c.st.percorso.size(), 161u);
  EXPECT_EQ(c.st.percorso[0].pendenza, 100);
}

TEST(LineCompiler, DashFieldsBeforeAKeywordHideNothing) {
  const compiled c = compile(line_text(1000, {"-x-", "- y", "pendenza,  0,   7"}));
  EXPECT_EQ(c.st.percorso[0].pendenza, 107);
  // The third dash field in a row is taken as the keyword; a second one is
  // passed over.
  const compiled third = compile(line_text(1000, {"-a", "-b", "pendenza-x,  0,   7"}));
  EXPECT_EQ(third.st.percorso[0].pendenza, 107);
  const compiled second = compile(line_text(1000, {"-a", "pendenza-x,  0,   7"}));
  EXPECT_EQ(second.st.percorso[0].pendenza, 100);
}

TEST(LineCompiler, LastFieldIsNeverInterpretedButALastLineRecordIs) {
  // "pendenza" as the very last field is not acted on.
  const compiled keyword_last =
      compile("[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n0, 7\r\npendenza\r\n");
  EXPECT_EQ(keyword_last.st.codice_errore, 0);
  // A record whose values follow its keyword on the last line is.
  const compiled values_last =
      compile("[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\npendenza, 0, 7\r\n");
  EXPECT_EQ(values_last.st.percorso[0].pendenza, 107);
}

TEST(LineCompiler, SecondRouteLengthStartsAFreshGrid) {
  const compiled c = compile(
      "[generale]\r\nlunghezza percorso, 1000\r\nlunghezza percorso, "
      "2000\r\n[curve]\r\n[fine]\r\n");
  EXPECT_EQ(c.st.percorso.size(), 181u);
  EXPECT_EQ(c.st.stazioni[84].fine, 2000);
  // A second one that is too long stops with the first grid in place.
  const compiled bad = compile(
      "[generale]\r\nlunghezza percorso, 1000\r\nlunghezza percorso, 1000001\r\n[fine]\r\n");
  EXPECT_EQ(bad.end, compile_end::hard_stop);
  EXPECT_EQ(bad.st.codice_errore, 1);
  EXPECT_EQ(bad.st.percorso.size(), 161u);
}

TEST(LineCompiler, GeneralSectionFaults) {
  struct fault_case {
    const char* text;
    std::int32_t code;
  };
  const fault_case cases[] = {
      {"[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n", 1},
      {"[generale]\r\nlunghezza percorso, -1\r\n[fine]\r\n", 1},
      {"[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 4 codici, 10, "
       "50\r\n[fine]\r\n",
       3},
      {"[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 4 codici, -50, "
       "75\r\n[fine]\r\n",
       4},
      {"[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali codici, 0, 0\r\n[fine]\r\n",
       5},
      {"x\r\n[generale]\r\n", 102},
      {"[generale]\r\nsfondo uno, 5\r\n[curve]\r\npendenza, 0, 1\r\n[fine]\r\n", 104},
  };
  for (const fault_case& f : cases) {
    const compiled c = compile(f.text);
    EXPECT_EQ(c.end, compile_end::hard_stop) << f.text;
    EXPECT_EQ(c.st.codice_errore, f.code) << f.text;
  }
}

TEST(LineCompiler, SignalRepetitionCodes) {
  const compiled nine = compile(
      "[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 9 codici, 100, "
      "500\r\n[fine]\r\n");
  EXPECT_EQ(nine.st.stazioni[86].posizione, 9);
  const compiled none = compile(
      "[generale]\r\nlunghezza percorso, 1000\r\nripetizione segnali 4 codici, 0, 0\r\n[fine]\r\n");
  EXPECT_EQ(none.st.stazioni[86].posizione, 0);
  EXPECT_EQ(none.st.codice_errore, 0);
}

TEST(LineCompiler, BodyFaultsStopHard) {
  struct fault_case {
    std::initializer_list<std::string_view> body;
    std::int32_t code;
    std::int32_t position;
  };
  const fault_case cases[] = {
      {{"indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0",
        "indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0"},
       21,
       1850},
      {{"indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0",
        "cartello indicatore,  1850, STOP"},
       6,
       1850},
      {{"pendenza,  1000,  156"}, 107, 1000},
      {{"pendenza,  1000,  -101"}, 107, 1000},
  };
  for (const fault_case& f : cases) {
    const compiled c = compile(line_text(10000, f.body));
    EXPECT_EQ(c.end, compile_end::hard_stop);
    EXPECT_EQ(c.st.codice_errore, f.code);
    EXPECT_EQ(c.st.posizione_errore, f.position);
  }
  const compiled no_digit = compile(line_text(10000, {"curvad,  500,  300"}));
  EXPECT_EQ(no_digit.st.codice_errore, 103);
  // A hard stop skips the final fill and the plan extension.
  EXPECT_EQ(no_digit.st.percorso[0].pendenza, 0);
  EXPECT_EQ(plan_table(no_digit.st.profilo).tag(2, 0), plan_tag::empty);
}

TEST(LineCompiler, RunTimeFailures) {
  // Values cut off by the end of the file, a number too wide, text for a number.
  for (const char* text :
       {"[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\npendenza, 5",
        "[generale]\r\nlunghezza percorso, 3000000000\r\n[fine]\r\n",
        "[generale]\r\nlunghezza percorso, lungo\r\n[fine]\r\n", "[generale]\r\n-\r\n-\r\n", ""}) {
    const compiled c = compile(text);
    EXPECT_EQ(c.end, compile_end::runtime_failure) << text;
    EXPECT_EQ(c.st.codice_errore, 25) << text;
  }
  const compiled wide =
      compile(line_text(10000, {"indicatori_vmax,  1850,  2000,  90,  90,  0,  ,  ,  ,  0"}));
  EXPECT_EQ(wide.st.codice_errore, 25);
  EXPECT_EQ(wide.st.percorso[38].tipo_cella, k_empty);  // nothing of the board is written
}

TEST(LineCompiler, TextBoardsTakeSlotsFromEightyDown) {
  const compiled c =
      compile(line_text(10000, {"montagna,   0,  1000,  11", "cartello indicatore,  100, STAZIONE",
                                "cartello indicatore,  500, \"ALT, QUI\""}));
  ASSERT_EQ(c.st.codice_errore, 0);
  EXPECT_EQ(c.st.percorso[3].tipo_cella, k_text_board);  // replaces the scenery marker
  EXPECT_EQ(c.st.percorso[3].valore_a, 80);
  EXPECT_EQ(c.st.stazioni[80].nome, "STAZIONE");
  EXPECT_EQ(c.st.percorso[11].valore_a, 79);
  EXPECT_EQ(c.st.stazioni[79].nome, "ALT, QUI");
  EXPECT_EQ(c.st.indice_cartelli, 78);
}

// A blank after the board's position, a tab as a space, leaves the comma
// after it to end an empty text; what follows is a stray field.
TEST(LineCompiler, ATabAfterTheBoardsPositionIsABlank) {
  for (const char* board :
       {"cartello indicatore,  1300 ,  TEXT", "cartello indicatore,  1300\t,  TEXT"}) {
    SCOPED_TRACE(board);
    const compiled c = compile(line_text(10000, {board}));
    ASSERT_EQ(c.st.codice_errore, 0);
    EXPECT_EQ(c.st.percorso[27].tipo_cella, k_text_board);
    EXPECT_EQ(c.st.stazioni[80].nome, "");
  }
}

// What the compile keeps where a record lies past the route's end or a
// general record is missing, it says, with the group -W options name.
TEST(LineCompiler, RecordsPastTheEndAndMissingGeneralRecordsWarn) {
  struct sink : reporter {
    std::vector<source_warning> seen;
    void fault_found(const fault&) override {}
    void warning_found(const source_warning& w) override { seen.push_back(w); }
  } report;
  compiled c{fresh_state(), compile_end::finished};
  c.st.report = &report;
  compile_line(
      "[generale]\r\nlunghezza percorso, 10000\r\nsfondo uno, 1\r\nsfondo due, 1\r\n"
      "sfondo tre, 1\r\n[curve]\r\npendenza, 10000, 5\r\nmontagna, 10050, 10500, 1\r\n"
      "[fine]\r\n",
      c.st);
  std::vector<std::pair<int, warning_group>> got;
  for (const source_warning& w : report.seen) got.emplace_back(w.line, w.group);
  // The references and the repetition left out; the scenery section past
  // the end, with the route length as its note; a gradient at the end is not past it.
  const std::vector<std::pair<int, warning_group>> expected = {{0, warning_group::missing_record},
                                                               {0, warning_group::missing_record},
                                                               {8, warning_group::beyond_end}};
  EXPECT_EQ(got, expected);
  ASSERT_EQ(report.seen.size(), 3u);
  ASSERT_EQ(report.seen[2].notes.size(), 1u);
  EXPECT_EQ(report.seen[2].notes[0].line, 2);
}

TEST(LineCompiler, BoardsStopBeforeTheFirstStationSlot) {
  std::string body;
  for (int i = 0; i < 80; ++i)
    body += "cartello indicatore, " + std::to_string(100 * (i + 1)) + ", T\r\n";
  const compiled c =
      compile("[generale]\r\nlunghezza percorso, 10000\r\n[cartelli]\r\n" + body + "[fine]\r\n");
  EXPECT_EQ(c.st.codice_errore, k_fault_too_many_boards);
  EXPECT_EQ(c.st.posizione_errore, 8000);  // the 80th board
  EXPECT_EQ(c.st.indice_cartelli, 1);
  EXPECT_EQ(c.st.stazioni[2].nome, "T");
  EXPECT_EQ(c.st.stazioni[1].nome, "");
}

}  // namespace
}  // namespace scenario
