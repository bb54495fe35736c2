#include "service/train_compiler.h"

#include <gtest/gtest.h>

#include "model/fault_codes.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::line_text;
using testing::train_text;

struct compiled {
  run_state st;
  compile_end end;
};

// Compiles a line description, then a train description, as the run does.
compiled compile(const std::string& line, const std::string& train) {
  compiled c{testing::fresh_state(), compile_end::finished};
  if (testing::compile_line_into(line, c.st) != compile_end::finished)
    ADD_FAILURE() << "line compile stopped";
  c.end = compile_train(train, c.st);
  return c;
}

compiled compile_train_only(const std::string& train, std::int32_t length = 70850) {
  return compile(line_text(length), train);
}

TEST(TrainCompiler, ShippedTrainValuesAndFills) {
  const compiled c = compile(testing::shipped_line_text(), testing::shipped_train_text());
  ASSERT_EQ(c.end, compile_end::finished);
  EXPECT_EQ(c.st.codice_errore, 0);
  const stazioni_t& s = c.st.stazioni;
  EXPECT_EQ(s[84].inizio, 120);
  EXPECT_EQ(s[84].posizione, 5);
  EXPECT_EQ(s[86].campo_2, 300);
  EXPECT_EQ(s[86].campo_4, 5);
  EXPECT_EQ(s[86].campo_5, 57);
  EXPECT_EQ(s[86].campo_6, 30);

  const percorso_t& g = c.st.percorso;
  for (int i = 0; i <= 36; ++i) ASSERT_EQ(g[i].vel_limite, 15) << i;
  EXPECT_EQ(g[37].vel_limite, 18);
  EXPECT_EQ(g[1098].vel_limite, 16);
  EXPECT_EQ(g[1099].vel_limite, 26);  // 130 km/h from 54950 m, cell 1099
  EXPECT_EQ(g[1554].vel_limite, 22);  // 110 km/h to the end of the fill
  EXPECT_EQ(g[1555].vel_limite, 0);
  for (int i = 0; i <= 1554; ++i) ASSERT_EQ(g[i].aderenza, 100) << i;
  EXPECT_EQ(g[1555].aderenza, 0);
}

TEST(TrainCompiler, ShippedStations) {
  const compiled c = compile(testing::shipped_line_text(), testing::shipped_train_text());
  const stazioni_t& s = c.st.stazioni;
  const char* names[] = {"CORVALE",        "BRUSETO", "Ortella",         "PRELLO",
                         "MONTALE ROSSIA", "TORRASO", "SCAVETO-LIRANO",  "VALPERA",
                         "ROCCAFENDA",     "MERIANO", "LIVANE-MORASCHI", "PIANASCO"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(s[i + 1].nome, names[i]);
  for (int slot = 13; slot <= 80; ++slot) EXPECT_EQ(s[slot], stazione{}) << slot;
  EXPECT_EQ(s[0], stazione{});

  // The first station: type 8 at 0 m, 300 m long, 5:58:00.
  EXPECT_EQ(s[1].inizio, -300);
  EXPECT_EQ(s[1].fine, 300);
  EXPECT_EQ(s[1].orario, 21480);
  const percorso_t& g = c.st.percorso;
  EXPECT_EQ(g[5].tipo_cella, k_station_stop);
  EXPECT_EQ(g[5].valore_a, 1);
  EXPECT_EQ(g[4].preavviso, 81);
  EXPECT_EQ(g[3].preavviso, 82);
  EXPECT_EQ(g[2].preavviso, 83);
  EXPECT_EQ(g[1].preavviso, 0);

  // The second: type 12 at 6300 m, 300 m long.
  EXPECT_EQ(s[2].inizio, 6150);
  EXPECT_EQ(s[2].fine, 6450);
  EXPECT_EQ(g[128].tipo_cella, k_station_stop);
  EXPECT_EQ(g[128].valore_a, 2);
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(g[128 - b].preavviso, 80 + b);

  EXPECT_EQ(s[5].orario, 22860);  // 6:21:00
  EXPECT_EQ(s[12].campo_1, 1);
  EXPECT_EQ(s[12].campo_4, 2);
}

TEST(TrainCompiler, ShippedSlowdownAndSignals) {
  const compiled c = compile(testing::shipped_line_text(), testing::shipped_train_text());
  const percorso_t& g = c.st.percorso;
  EXPECT_EQ(g[1000].tipo_cella, k_slowdown_warning);
  EXPECT_EQ(g[1000].valore_a, 50);
  EXPECT_EQ(g[1024].tipo_cella, k_slowdown_start);
  EXPECT_EQ(g[1024].valore_a, 50);
  EXPECT_EQ(g[1028].tipo_cella, k_slowdown_end);
  EXPECT_EQ(g[1028].valore_a, 50);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(g[999 - i].tipo_cella, k_slowdown_approach);
    EXPECT_EQ(g[999 - i].valore_a, i + 1);
  }

  const cella& first = g[81];
  EXPECT_EQ(first.tipo_cella, k_signal);
  EXPECT_EQ(first.valore_a, 40);
  EXPECT_EQ(first.valore_b, 10);
  EXPECT_EQ(first.valore_c, 0);
  EXPECT_EQ(first.valore_d, 3);
  EXPECT_EQ(first.ritardo, 0);
  EXPECT_EQ(g[79].preavviso, 31);
  EXPECT_EQ(g[77].preavviso, 32);
  EXPECT_EQ(g[75].preavviso, 33);
  EXPECT_EQ(g[73].preavviso, 34);

  const cella& delayed = g[306];
  EXPECT_EQ(delayed.valore_c, 10);
  EXPECT_EQ(delayed.valore_d, 6);
  EXPECT_EQ(delayed.ritardo, 140);
  for (int b = 1; b <= 4; ++b) EXPECT_EQ(g[306 - 2 * b].preavviso, 60 + b);

  const cella& last = g[1272];
  EXPECT_EQ(last.valore_a, 20);
  EXPECT_EQ(last.valore_b, 30);
  EXPECT_EQ(last.valore_c, 10);
  EXPECT_EQ(last.valore_d, 16);
  EXPECT_EQ(last.ritardo, 0);
  int signals = 0;
  for (const cella& cell : g) signals += cell.tipo_cella == k_signal;
  EXPECT_EQ(signals, 22);
}

TEST(TrainCompiler, KeywordsMatchAnyCaseInsideOtherText) {
  const compiled c = compile_train_only(train_text(
      {"LIMITE VELOCITA, 100, 75", "Velocita, 1850, 90", "VETTURE, 7", "aderenza, 0, 300"}));
  EXPECT_EQ(c.st.percorso[0].vel_limite, 0);  // before the first record
  EXPECT_EQ(c.st.percorso[2].vel_limite, 15);
  EXPECT_EQ(c.st.percorso[37].vel_limite, 18);
  EXPECT_EQ(c.st.stazioni[84].posizione, 7);
  EXPECT_EQ(c.st.percorso[0].aderenza, 44);  // low 8 bits of 300
}

TEST(TrainCompiler, EveryKeywordAFieldHoldsActsInTableOrder) {
  // "vetture" reads first, then "sabbia".
  const compiled c = compile_train_only(train_text({"sabbia vetture, 9, 250"}));
  EXPECT_EQ(c.st.stazioni[84].posizione, 9);
  EXPECT_EQ(c.st.stazioni[86].campo_2, 250);
}

TEST(TrainCompiler, DashFieldsAreSkippedAtTheTopLevel) {
  const compiled c = compile_train_only(train_text({"-- note --", "numero vetture, 4"}));
  EXPECT_EQ(c.st.stazioni[84].posizione, 4);
}

TEST(TrainCompiler, RecordsOutOfOrderWriteOneCellEach) {
  const compiled c = compile_train_only(
      train_text({"velocita, 1000, 50", "velocita, 500, 60", "velocita, 500, 70"}));
  EXPECT_EQ(c.st.percorso[19].vel_limite, 0);
  EXPECT_EQ(c.st.percorso[20].vel_limite, 10);
  EXPECT_EQ(c.st.percorso[21].vel_limite, 12);
  EXPECT_EQ(c.st.percorso[22].vel_limite, 14);
}

TEST(TrainCompiler, CodeLines) {
  const compiled c =
      compile_train_only(train_text({"abbattimento, 1000, 0", "abbattimento, 2000, 60"}));
  EXPECT_EQ(c.st.percorso[20].tipo_cella, k_code_point_plain);
  EXPECT_EQ(c.st.percorso[40].tipo_cella, k_code_point);
  EXPECT_EQ(c.st.percorso[40].valore_a, 60);
  const compiled taken =
      compile_train_only(train_text({"abbattimento, 1000, 0", "abbattimento, 1000, 5"}));
  EXPECT_EQ(taken.end, compile_end::hard_stop);
  EXPECT_EQ(taken.st.codice_errore, 7);
  EXPECT_EQ(taken.st.posizione_errore, 1000);
  // A hard stop leaves the cells after the last records without fills.
  EXPECT_EQ(taken.st.percorso[100].vel_limite, 0);
}

TEST(TrainCompiler, SoftStopStillFillsAndChecksReferences) {
  const std::string line =
      "[generale]\r\nlunghezza percorso, 70850\r\nprogressiva chilometrica uno, 0, 172010, "
      "0\r\n[fine]\r\n";
  const compiled c = compile(
      line,
      train_text({"velocita, 0, 75", "segnale, 77800, 1,4,1,0,0,0,0,0,0,0", "velocita, 100, 20"}));
  EXPECT_EQ(c.end, compile_end::finished);
  EXPECT_EQ(c.st.posizione_errore, 77800);
  EXPECT_EQ(c.st.percorso[1554].vel_limite, 15);
  EXPECT_EQ(c.st.codice_errore, 2);  // the reference check comes last
  ASSERT_EQ(c.st.faults.size(), 2u);
  EXPECT_EQ(c.st.faults[0].code, 15);
}

TEST(TrainCompiler, WithoutAStartNothingIsReadButTheFillsRun) {
  const compiled c = compile_train_only("velocita, 0, 75\r\nvelocita, 500, 90\r\n");
  EXPECT_EQ(c.end, compile_end::finished);
  EXPECT_EQ(c.st.percorso[50].vel_limite, 0);
  EXPECT_EQ(c.st.percorso[1554].vel_limite, 0);
}

TEST(TrainCompiler, RunTimeFailures) {
  for (const char* text :
       {"", "[generale]\r\nvelocita, 0, 1280\r\nvelocita, 100, 5\r\n[fine]\r\n",
        "[generale]\r\nsabbia, 40000\r\n[fine]\r\n", "[generale]\r\nsegnale, 4000, 1, 4\r\n"}) {
    const compiled c = compile_train_only(text);
    EXPECT_EQ(c.end, compile_end::runtime_failure) << text;
    EXPECT_EQ(c.st.codice_errore, 25) << text;
  }
  // The last speed fill meets a limit too wide for its byte.
  const compiled late = compile_train_only(train_text({"velocita, 0, 2000"}));
  EXPECT_EQ(late.st.codice_errore, 25);
}

TEST(TrainCompiler, PendingSoftStopOfTheLineDoesNotStopTheTrain) {
  run_state st = testing::fresh_state();
  testing::compile_line_into(line_text(70850, {"pendenza, 77800, 0"}), st);
  ASSERT_EQ(st.codice_errore, 15);
  EXPECT_EQ(compile_train(train_text({"segnale, 4000, 1,4,1,0,0,0,0,0,0,0"}), st),
            compile_end::finished);
  EXPECT_EQ(st.percorso[81].tipo_cella, k_signal);
  EXPECT_EQ(st.codice_errore, 15);
  EXPECT_EQ(st.posizione_errore, 77800);
}

TEST(TrainCompiler, SignalAndSlowdownFaultsStopHardWithTheirPosition) {
  const compiled sig = compile_train_only(
      train_text({"segnale, 4000, 1,4,1,0,0,0,0,0,0,0", "segnale, 4010, 1,4,1,0,0,0,0,0,0,0"}));
  EXPECT_EQ(sig.end, compile_end::hard_stop);
  EXPECT_EQ(sig.st.codice_errore, 16);
  EXPECT_EQ(sig.st.posizione_errore, 4010);
  const compiled slow = compile_train_only(
      train_text({"segnale, 5000, 1,4,1,0,0,0,0,0,0,0", "rallentamento, 5000, 50, 200, 0, 1, 0"}));
  EXPECT_EQ(slow.st.codice_errore, 18);
  EXPECT_EQ(slow.st.posizione_errore, 5000);
  const compiled early = compile_train_only(train_text({"segnale, 300, 1,4,1,0,0,0,0,0,0,0"}));
  EXPECT_EQ(early.st.codice_errore, k_fault_outside_grid);
}

// Code 22 points its note at the station before, with the distance.
TEST(TrainCompiler, StationsTooCloseNameTheOneBefore) {
  const compiled c = compile_train_only(
      train_text({"stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A", "velocita, 0, 90",
                  "stazione, 500, 8, 300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B"}));
  ASSERT_EQ(c.st.faults.size(), 1u);
  const fault& f = c.st.faults[0];
  EXPECT_EQ(f.code, k_fault_station_spacing);
  EXPECT_EQ(f.line, 4);
  EXPECT_EQ(f.cause_line, 2);
  EXPECT_EQ(f.cause_what,
            "the station before it, 'A', is here: its area ends at 300 m and this station's "
            "starts at 200 m, 100 m before that; at least 350 m must lie between them");
}

}  // namespace
}  // namespace scenario
