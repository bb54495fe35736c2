// The corners of the reading rules and of the failure order, each with the
// code, the position and the cells or slots it leaves.
#include <gtest/gtest.h>

#include <functional>

#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::line_text;
using testing::train_text;

struct corner {
  const char* what;
  std::string line;
  std::string train;
  std::int32_t code;
  std::int32_t position;  // posizione_errore afterwards
  std::function<void(const run_state&)> leaves;
};

const std::string k_station = "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 5,58,0,";

TEST(CompileCorners, ReadingRulesAndFailureOrder) {
  const corner corners[] = {
      {"a position near 2^31 fails the position check, and the fills still run",
       line_text(10000, {"pendenza, 2147483548, 1"}), train_text(), 15, 2147483548,
       [](const run_state& st) { EXPECT_EQ(st.percorso[337].pendenza, 100); }},
      {"the same for a speed limit", line_text(10000), train_text({"velocita, 2147483548, 50"}), 15,
       2147483548, [](const run_state& st) { EXPECT_EQ(st.percorso[337].vel_limite, 0); }},
      {"and for a station's room check", line_text(10000),
       train_text({"stazione, 2147482900, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 5,58,0, S"}), 15,
       2147482900, [](const run_state&) {}},
      {"a tab at either end of a station name or a board text is text",
       line_text(10000, {"cartello indicatore, 1000,\tALT"}), train_text({k_station + "\tNOME\t"}),
       0, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.stazioni[80].nome, "\tALT");
         EXPECT_EQ(st.stazioni[1].nome, "\tNOME\t");
       }},
      {"a blank before a comma ends the number: the next field is empty, 0",
       line_text(10000, {"pendenza, 1000 , 5"}), train_text(), 0, 0,
       [](const run_state& st) { EXPECT_EQ(st.percorso[20].pendenza, 100); }},
      {"a quoted number in the line description", line_text(10000, {"pendenza, \"1000\", 5"}),
       train_text(), 0, 0, [](const run_state& st) { EXPECT_EQ(st.percorso[20].pendenza, 105); }},
      {"text right after a closing quote begins the next field",
       line_text(10000, {"cartello indicatore, 1025, \"A\"pendenza, 3000, 5"}), train_text(), 0, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.stazioni[80].nome, "A");
         EXPECT_EQ(st.percorso[22].tipo_cella, k_text_board);
         EXPECT_EQ(st.percorso[60].pendenza, 105);
       }},
      {"a scenery section past the end writes up to the grid's end, then fails",
       line_text(1000, {"montagna, 7000, 8100, 1"}), train_text(), 25, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.percorso[140].ambiente, 1);
         EXPECT_EQ(st.percorso[160].ambiente, 1);
       }},
      {"a scenery section before the start fails at once",
       line_text(1000, {"montagna, -100, 500, 1"}), train_text(), 25, 0,
       [](const run_state& st) { EXPECT_EQ(st.percorso[0].ambiente, 0); }},
      {"a text board before the start", line_text(1000, {"cartello indicatore, -100, X"}),
       train_text(), 25, 0, [](const run_state& st) { EXPECT_EQ(st.stazioni[80].nome, ""); }},
      {"a code line before the start", line_text(1000), train_text({"abbattimento, -50, 0"}), 25, 0,
       [](const run_state&) {}},
      {"a station area past the grid's end fails at its stop cell, the approach marks written",
       line_text(1000), train_text({"stazione, 7000, 8, 1100, 0,0,0, 1,1,0, 4,1,1, 1, 5,58,0, S"}),
       25, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.percorso[160].preavviso, 81);
         EXPECT_EQ(st.percorso[157].preavviso, 84);
       }},
      {"records sharing the last cells push the final gradient fill past the grid",
       line_text(1000, {"pendenza, 7900, 1", "pendenza, 7900, 1", "pendenza, 7900, 1",
                        "pendenza, 7900, 1"}),
       train_text(), 25, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.percorso[158].pendenza, 101);
         EXPECT_EQ(st.percorso[160].pendenza, 101);
       }},
      {"the kilometric references are ordered before their adjustment overflows",
       "[generale]\r\nlunghezza percorso, 10000\r\nprogressiva chilometrica uno, 0, 2147483600, "
       "1\r\n[curve]\r\n[fine]\r\n",
       train_text(), 25, 0,
       [](const run_state& st) {
         EXPECT_EQ(st.stazioni[81].fine, 2147483600);
         EXPECT_EQ(st.stazioni[83], stazione{});
       }},
  };
  for (const corner& c : corners) {
    SCOPED_TRACE(c.what);
    const compile_result r =
        compile({"Valle", "12", true, {"v_linea.txt", c.line}, {"v_12-.txt", c.train}});
    EXPECT_EQ(r.st.codice_errore, c.code);
    EXPECT_EQ(r.st.posizione_errore, c.position);
    c.leaves(r.st);
  }
}

}  // namespace
}  // namespace scenario
