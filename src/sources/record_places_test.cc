#include "sources/record_places.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

// Each record's line and fields are placed by line, column and byte, with
// every line end the field reader knows (CR LF, CR, LF); what stands before
// the general header is not read.
TEST(RecordPlaces, PlaceEachFieldByLineColumnAndByte) {
  const std::string text =
      "note, 1\r\n[GENERALE]\r  lunghezza percorso,  12000\n[curve]\r\n"
      "curvad4, 1500 ,\t300\r\n";
  const std::vector<record_place> records = read_record_places(description_format::line, text);
  ASSERT_EQ(records.size(), 4u);
  struct expected {
    int line;
    bool header;
    record_part part;
    text_place keyword_start, keyword_end;
    std::vector<std::string> values;
  };
  const std::vector<expected> cases = {
      {1, true, record_part::general, {2, 1, 9}, {2, 11, 19}, {}},
      {2, false, record_part::general, {3, 3, 22}, {3, 21, 40}, {"12000"}},
      {3, true, record_part::body, {4, 1, 49}, {4, 8, 56}, {}},
      {4, false, record_part::body, {5, 1, 58}, {5, 8, 65}, {"1500", "300"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const record_place& r = records[i];
    EXPECT_EQ(r.line, cases[i].line);
    EXPECT_EQ(r.header, cases[i].header);
    EXPECT_EQ(r.part, cases[i].part);
    EXPECT_EQ(r.start_of(r.keyword), cases[i].keyword_start);
    EXPECT_EQ(r.end_of(r.keyword), cases[i].keyword_end);
    EXPECT_EQ(text.substr(r.start_of(r.keyword).byte, r.keyword.last - r.keyword.first),
              r.field(text, r.keyword));
    std::vector<std::string> values;
    for (const field_span& f : r.values) values.emplace_back(r.field(text, f));
    EXPECT_EQ(values, cases[i].values);
  }
  EXPECT_EQ(records[3].row(text), "curvad4, 1500 ,\t300");
  EXPECT_EQ(records[3].kinds.front(), &record_of(line_record::curve));
}

// The general section ends at the first header after it that does not
// begin with "-"; train records are read anywhere.
TEST(RecordPlaces, TheGeneralSectionEndsAtTheNextHeader) {
  const std::string line_text =
      "[generale]\n- [x]\nsfondo uno, 1\n[pendenze]\npendenza, 0, 0\n[fine]\n";
  std::vector<record_part> parts;
  for (const record_place& r : read_record_places(description_format::line, line_text))
    parts.push_back(r.part);
  EXPECT_EQ(parts, (std::vector<record_part>{record_part::general, record_part::general,
                                             record_part::general, record_part::body,
                                             record_part::body, record_part::body}));
  for (const record_place& r :
       read_record_places(description_format::train, "[generale]\n[x]\nsabbia, 3\n"))
    EXPECT_EQ(r.part, record_part::anywhere);
  EXPECT_TRUE(read_record_places(description_format::line, "sfondo uno, 1\n[curve]\n").empty());
}

// The clock's values are parted by blanks; a quoted text keeps its comma;
// what stands after the last value is told.
TEST(RecordPlaces, ValueFieldsFollowTheirKind) {
  struct row {
    description_format format;
    std::string line;
    std::vector<std::string> values;
    bool extra;
  };
  const std::vector<row> rows = {
      {description_format::train, "orologio, 8 30  0", {"8", "30", "0"}, false},
      {description_format::line, "cartello indicatore, 700, \"A, B\"", {"700", "\"A, B\""}, false},
      {description_format::line, "cartello indicatore, 700, A, B", {"700", "A"}, true},
      {description_format::line, "pendenza, 2000", {"2000"}, false},
      {description_format::line, "pendenza, 2000, 12, 9", {"2000", "12"}, true},
  };
  for (const row& c : rows) {
    SCOPED_TRACE(c.line);
    const std::string text = "[generale]\n[x]\n" + c.line + "\n";
    const std::vector<record_place> records = read_record_places(c.format, text);
    ASSERT_EQ(records.size(), 3u);
    std::vector<std::string> values;
    for (const field_span& f : records[2].values) values.emplace_back(records[2].field(text, f));
    EXPECT_EQ(values, c.values);
    EXPECT_EQ(records[2].extra, c.extra);
  }
}

// A section runs from its header to its last record's line end.
TEST(RecordPlaces, SectionsRunFromTheirHeaderToTheirLastRecord) {
  const std::string text = "[generale]\nsfondo uno, 1\n\n[curve]\n  [fine]  \n";
  const std::vector<record_place> records = read_record_places(description_format::line, text);
  const std::vector<section_place> sections = sections_of(records);
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].header, 0u);
  EXPECT_EQ(sections[0].end, 2u);
  EXPECT_EQ(sections[0].start, (text_place{1, 1, 0}));
  EXPECT_EQ(sections[0].last, (text_place{2, 14, 24}));
  EXPECT_EQ(sections[1].end, 3u);
  EXPECT_EQ(sections[1].last, (text_place{4, 8, 33}));
  EXPECT_EQ(sections[2].start, (text_place{5, 3, 36}));
  EXPECT_EQ(sections[2].last, (text_place{5, 11, 44}));
}

TEST(RecordPlaces, FieldAtACharacter) {
  const std::string text = "[generale]\n[x]\npendenza,  200,  5\n";
  const record_place r = read_record_places(description_format::line, text).back();
  const std::vector<std::pair<std::size_t, int>> cases = {{0, -1}, {8, -1},  {9, -2}, {11, 0},
                                                          {14, 0}, {15, -2}, {17, 1}, {18, 1}};
  for (const auto& [character, field] : cases)
    EXPECT_EQ(field_at(r, character), field) << character;
}

}  // namespace
}  // namespace scenario
