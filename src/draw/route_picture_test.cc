#include "draw/route_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/display.h"
#include "run/compile.h"
#include "run/run_sequence.h"
#include "test_support.h"
#include "xml_check.h"

namespace scenario {
namespace {

const run_state& shipped() {
  static const run_state st = [] {
    testing::scratch_folder dir;
    return testing::shipped_run_in(dir.path());
  }();
  return st;
}

TEST(RoutePicture, ShippedScenarioIsWellFormedNamesEveryStationAndNoLabelOverlaps) {
  const run_state& st = shipped();
  const route_picture pic = draw_route(st.percorso, st.stazioni, plan_table(st.profilo));
  const testing::xml_check xml = testing::check_xml(pic.svg);
  ASSERT_EQ(xml.error, "");
  // Every station name, once on the plan and once over the profile.
  for (int s = 1; s <= 12; ++s) {
    const std::string& name = st.stazioni[static_cast<std::size_t>(s)].nome;
    EXPECT_EQ(std::count(xml.texts.begin(), xml.texts.end(), name), 2) << name;
  }
  for (const char* t : {"start, 0 km", "end, 70.85 km", "end of line", "140 s", "150 s",
                        "slowdown 50 km/h", "warning 50", "distance along the line (km)"})
    EXPECT_NE(std::find(xml.texts.begin(), xml.texts.end(), t), xml.texts.end()) << t;

  EXPECT_EQ(pic.overlaps, 0u);
  for (std::size_t i = 0; i < pic.labels.size(); ++i)
    for (std::size_t j = i + 1; j < pic.labels.size(); ++j)
      EXPECT_EQ(pic.labels[i].overlap(pic.labels[j]), 0) << i << " " << j;
  // Every label lies inside the 1600 px wide picture.
  for (const box& b : pic.labels) {
    EXPECT_GE(b.x0, 0);
    EXPECT_LE(b.x1, 1600);
  }
}

TEST(RoutePicture, TooltipsTellWhatWhereAndTheRecordsLine) {
  const std::string line = testing::shipped_line_text();
  const std::string train = testing::shipped_train_text();
  compile_input in{"Corvale_Pianasco", "4816", true, {"L.txt", line}, {"T.txt", train}};
  in.trace_sources = true;
  const compile_result r = compile(in);
  picture_options o;
  o.sources = &r.sources;
  o.line_file = "L.txt";
  o.train_file = "T.txt";
  const std::string svg = draw_route(r.st.percorso, r.st.stazioni, plan_table(r.st.profilo), o).svg;
  auto line_of = [](const std::string& text, const std::string& record) {
    return std::to_string(std::count(text.begin(), text.begin() + text.find(record), '\n') + 1);
  };
  for (const std::string& t :
       {"<title>signal, cell 306, 15300 m, km 156+800; aspects 40 10 10, type 6; clearing delay "
        "140 s (T.txt:" +
            line_of(train, "segnale,   15250") + ")</title>",
        "<title>CORVALE, station 1 (type 8) at 0 m, km 172+100; area -300 to 300 m; time "
        "05:58:00 (T.txt:" +
            line_of(train, "stazione,       0") + ")</title>",
        "<title>speed board, cell 38, 1900 m, km 170+200; values 1700 1800 1800 0 (L.txt:" +
            line_of(line, "indicatori_vmax,  1850") + ")</title>",
        std::string("<title>kilometre post 170+000 at 2100 m</title>")})
    EXPECT_NE(svg.find(t), std::string::npos) << t;
}

// A page that leads to records gets each object's record as data-record;
// the picture written to a file (no record_ids, or no sources) has none.
TEST(RoutePicture, ObjectsNameTheirRecordsOnlyWhenAskedWithSources) {
  const std::string line = testing::shipped_line_text();
  const std::string train = testing::shipped_train_text();
  compile_input in{"Corvale_Pianasco", "4816", true, {"L.txt", line}, {"T.txt", train}};
  in.trace_sources = true;
  const compile_result r = compile(in);
  auto drawn = [&](bool sources, bool record_ids) {
    picture_options o;
    o.sources = sources ? &r.sources : nullptr;
    o.record_ids = record_ids;
    return draw_route(r.st.percorso, r.st.stazioni, plan_table(r.st.profilo), o).svg;
  };
  auto line_of = [](const std::string& text, const std::string& record) {
    return std::to_string(std::count(text.begin(), text.begin() + text.find(record), '\n') + 1);
  };
  const std::string named = drawn(true, true);
  ASSERT_EQ(testing::check_xml(named).error, "");
  for (const std::string& t : {"<g data-record=\"train:" + line_of(train, "segnale,   15250") +
                                   "\">\n<title>signal, cell 306",
                               "<g data-record=\"train:" + line_of(train, "stazione,       0") +
                                   "\">\n<title>CORVALE, station 1 ",
                               "<g data-record=\"line:" + line_of(line, "indicatori_vmax,  1850") +
                                   "\">\n<title>speed board, cell 38,",
                               std::string("<g data-record=\"gradient:0\">\n<title>gradient ")})
    EXPECT_NE(named.find(t), std::string::npos) << t;
  // A curve is named by the metre it starts at, as the plan measures it.
  EXPECT_NE(named.find("<g data-record=\"curve:"), std::string::npos);
  for (const auto& [sources, record_ids] : {std::pair{true, false}, std::pair{false, true}})
    EXPECT_EQ(drawn(sources, record_ids).find("data-record"), std::string::npos)
        << "sources " << sources << ", record_ids " << record_ids;
}

TEST(RoutePicture, AwkwardNamesAndAnEmptyPlanStillGiveWellFormedSvg) {
  const run_state& st = shipped();
  stazioni_t t = st.stazioni;
  t[2].nome = "A&B <C> \"D\"\x01\xE8\x81";
  t[85].nome = "L\x90nea";
  const route_picture pic = draw_route(st.percorso, t, profilo_t{});
  const testing::xml_check xml = testing::check_xml(pic.svg);
  ASSERT_EQ(xml.error, "");
  EXPECT_NE(std::find(xml.texts.begin(), xml.texts.end(),
                      "A&B <C> \"D\"\xEF\xBF\xBD\xC3\xA8\xEF\xBF\xBD"),
            xml.texts.end());
  EXPECT_NE(std::find(xml.texts.begin(), xml.texts.end(), "the plan holds no points to draw"),
            xml.texts.end());
}

TEST(RoutePicture, SmallestGridDrawsWithoutStationsOrObjects) {
  percorso_t g(1);
  const route_picture pic = draw_route(g, stazioni_t{}, profilo_t{});
  EXPECT_EQ(testing::check_xml(pic.svg).error, "");
}

// Every station name stands in the band over the profile, centred on its
// tick or beside it, or a note under the panels names it: none is dropped
// unseen.
TEST(RoutePicture, EveryStationIsNamedInTheBandOrInItsNote) {
  const run_state& st = shipped();
  const struct {
    const char* what;
    std::int32_t first_moved;  // the position of station 12, then each earlier one 400 m less
    std::size_t moved;         // how many stations from 12 down move
    bool note;                 // whether some name must go to the note
  } cases[] = {
      {"the terminus just before the end of the line", 70800, 1, false},
      {"eleven stations crowded into 4 km", 5000, 11, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    stazioni_t t = st.stazioni;
    for (std::size_t k = 0; k < c.moved; ++k) {
      stazione& s = t[12 - k];
      s.posizione = c.first_moved - static_cast<std::int32_t>(400 * k);
      s.inizio = s.posizione - 100;
      s.fine = s.posizione + 100;
      s.nome = "FONTANELLE " + std::to_string(12 - k);
    }
    const std::string svg = draw_route(st.percorso, t, plan_table(st.profilo)).svg;
    const std::size_t note_at = svg.find(">No room over the profile to name ");
    const std::string note =
        note_at == std::string::npos ? "" : svg.substr(note_at, svg.find('<', note_at) - note_at);
    EXPECT_EQ(!note.empty(), c.note) << note;
    for (std::size_t slot = 1; slot <= 12; ++slot) {
      const std::string& name = t[slot].nome;
      const bool in_band = svg.find("fill:#0d47a1\">" + name + "<") != std::string::npos;
      const bool in_note = note.find(" " + name + ",") != std::string::npos ||
                           note.find(" " + name + " (") != std::string::npos;
      EXPECT_NE(in_band, in_note) << name;
    }
  }
}

}  // namespace
}  // namespace scenario
