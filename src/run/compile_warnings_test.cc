// The warnings the compilers give, on the lines they concern.
#include <gtest/gtest.h>

#include "run/compile.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::line_text;
using testing::train_text;

compile_result compiled(const std::string& line, const std::string& train, bool with_plan = true) {
  return compile({"Valle", "12", with_plan, {"v_linea.txt", line}, {"v_12-.txt", train}});
}

// The warnings of one file, each as "LINE: WHAT"; those of the records a
// description of a few records leaves out are told in the check tests.
std::vector<std::string> shown(const compile_result& r, fault_origin origin) {
  std::vector<std::string> out;
  for (const source_warning& w : r.warnings()) {
    // Every warning belongs to a group, which -W options name.
    EXPECT_NE(w.group, warning_group::none) << w.what;
    if (w.origin == origin && w.group != warning_group::missing_record)
      out.push_back(std::to_string(w.line) + ": " + w.what);
  }
  return out;
}
std::vector<std::string> line_warnings(const std::string& text, bool with_plan = true) {
  return shown(compiled(text, train_text(), with_plan), fault_origin::line_file);
}
std::vector<std::string> train_warnings(const std::string& text) {
  return shown(compiled(line_text(10000), text), fault_origin::train_file);
}
using lines = std::vector<std::string>;

TEST(CompileWarnings, ShippedDescriptionsGiveNoWarning) {
  EXPECT_EQ(line_warnings(testing::shipped_line_text()), lines{});
  EXPECT_EQ(line_warnings(testing::shipped_line_text(), false), lines{});
  EXPECT_EQ(shown(compiled(testing::shipped_line_text(), testing::shipped_train_text()),
                  fault_origin::train_file),
            lines{});
}

TEST(CompileWarnings, GeneralSectionRecordsThatAreNotRead) {
  const std::string text =
      "[generale]\r\n"
      "lunghezza percorso, 10000\r\n"
      "Progressiva chilometrica uno, 0, 1000, 1\r\n"
      "sfondo Due, 1\r\n"
      "pendenza, 100, 5\r\n"
      "colore, 3\r\n"
      "[curve]\r\n"
      "sfondo uno, 5\r\n"
      "[fine]\r\n";
  EXPECT_EQ(
      line_warnings(text),
      (lines{"3: 'Progressiva chilometrica uno' is not read: its words are matched with "
             "their letter case; write them in lower case",
             "4: 'sfondo Due' is not read: its words are matched with their letter case; "
             "write them in lower case",
             "5: 'pendenza' stands inside [generale], where it is not read; body records "
             "belong after the section",
             "6: 'colore' is not a keyword of the [generale] section: this record and its values "
             "are not read",
             "8: 'sfondo uno' stands after [generale], where it is not read"}));
}

TEST(CompileWarnings, BodyValuesTheFormatChanges) {
  EXPECT_EQ(line_warnings(line_text(
                10000, {"pendenza, 1000, 5", "pendenza, 1010, 6", "montagna, 100, 500, 11",
                        "montagna, 600, 900, 12", "montagna, 2000, 2100, -2",
                        "indicatori_vmax, 1850, 85,90,90,4000,,,,0",
                        "cartello indicatori_vmax, 2850, ALT"})),
            (lines{"5: gradient at 1010 m is not in a later 50 m cell than the gradient before "
                   "it; these records must stand in increasing order of position, at most one "
                   "per cell, or the cells around them get the wrong value",
                   "7: scenery section at 600 m starts 150 m or less after the previous one ends "
                   "(500 m), so its type 2 becomes 3",
                   "8: scenery type -2 is kept to its low 8 bits and becomes 254",
                   "9: stripe value 10 x 4000 + 0 = 40000 is kept to its low 16 bits and "
                   "becomes -25536",
                   "10: 'cartello indicatori_vmax' is read both as a speed board and as a text "
                   "board"}));
}

TEST(CompileWarnings, CurvesOnlyWithThePlan) {
  const std::string text =
      line_text(1000, {"curvad1, 500, 300", "curvas2, 700, 300", "curvad3, 7000, 2000"});
  EXPECT_EQ(
      line_warnings(text),
      (lines{"5: curve at 700 m starts before the previous curve ends (at 800 m); the part "
             "before that is not drawn",
             "6: curve at 7000 m runs to 9000 m, past the end of the plan (8000 m), and is "
             "cut there",
             "6: the curve record at 7000 m stands past the route's end (1000 m), in the 7000 "
             "m the grid runs on beyond it; the line ends before it"}));
  EXPECT_EQ(line_warnings(text, false), lines{});
}

TEST(CompileWarnings, LastFieldOfTheFileIsNeverRead) {
  EXPECT_EQ(line_warnings("[generale]\r\nlunghezza percorso, 10000\r\n[curve]\r\npendenza"),
            (lines{"4: 'pendenza' is the file's last field and is never read; end the file with "
                   "a line that is not a record, such as [fine]"}));
  EXPECT_EQ(train_warnings("[generale]\r\nnumero vetture, 5\r\nsabbia"),
            (lines{"3: 'sabbia' is the file's last field and is never read; end the file with a "
                   "line that is not a record, such as [fine]"}));
  // A record whose values are the last fields is read.
  EXPECT_EQ(train_warnings("[generale]\r\nnumero vetture, 5\r\nsabbia, 3"), lines{});
}

TEST(CompileWarnings, TrainValuesTheFormatChanges) {
  EXPECT_EQ(
      train_warnings(train_text({
          "aderenza, 0, 300",
          "aderenza, 20, 100",
          "velocita, 0, 2000",
          "segnale, 4000, 2, 4000, 1, 1, 0, 0, 0,0,0, 50",
          "segnale, 5000, 2, 4, 1, 1, 0, 0, 0,0,0, 300",
          "segnale, 6000, 9, 4, 1, 1, 0, 0, 0,0,0, 0",
          "rallentamento, 8000, 40000, 200, 0, 0, 0",
          "abbattimento, 1000, 40000",
          "abbattimento, 2000, -5",
      })),
      (lines{
          "2: adhesion 300 is kept to its low 8 bits and becomes 44",
          "3: adhesion at 20 m is not in a later 50 m cell than the adhesion before it; these "
          "records must stand in increasing order of position, at most one per cell, or the "
          "cells around them get the wrong value",
          "4: speed limit 2000 km/h does not fit the grid (0 to 1277 km/h); the compile stops "
          "with code 25 where it is written, at the next speed limit or at the end of the file",
          "5: signal at 4000 m: aspect value 40000 (s1 x 10 + d1) is kept to its low 16 bits and "
          "becomes -25536",
          "5: signal at 4000 m: clearing delay 50 is raised to 101",
          "6: signal at 5000 m: clearing delay 300 is kept to its low 8 bits and becomes 44",
          "7: signal at 6000 m: approach marks 271 to 274 ((sx x 3 + dx) x 10 + 1 to 4) are kept "
          "to their low 8 bits",
          "8: slowdown at 8000 m: speed 40000 is kept to its low 16 bits and becomes -25536",
          "9: code line at 1000 m: code 40000 is kept to its low 16 bits and becomes -25536",
      }));
}

TEST(CompileWarnings, StationLinesAreReadWholeSoLaterRecordsStillCount) {
  // The station name holds a keyword and a dash; the field after it is a
  // record of its own on the next line.
  EXPECT_EQ(
      train_warnings(
          train_text({"stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 5,58,0, SEGNALE-ADERENZA",
                      "aderenza, 0, 256", "treno, 5"})),
      (lines{"3: adhesion 256 is kept to its low 8 bits and becomes 0",
             "4: 'treno' is not a keyword of the train description: this record and its values are "
             "not read"}));
  // A value that is not a number ends the compile, and so its warnings.
  EXPECT_EQ(train_warnings(train_text({"aderenza, 0, x", "aderenza, 100, 300"})), lines{});
}

TEST(CompileWarnings, Code2BlamesTheFirstMisplacedReference) {
  const std::string text =
      "[generale]\r\nlunghezza percorso, 10000\r\n"
      "progressiva chilometrica uno, 0, 1000, 0\r\n"
      "progressiva chilometrica due, 3000, 1025, 0\r\n"
      "progressiva chilometrica tre, 4010, 1000, 0\r\n[curve]\r\n[fine]\r\n";
  const compile_result r = compiled(text, train_text());
  ASSERT_EQ(r.st.codice_errore, 2);
  EXPECT_EQ(r.st.faults.back().line, 4);
}

}  // namespace
}  // namespace scenario
