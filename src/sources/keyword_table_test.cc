#include "sources/keyword_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sources/record_layout.h"

namespace scenario {
namespace {

std::vector<std::string_view> kinds_read_as(description_format format, record_part part,
                                            std::string_view field) {
  std::vector<std::string_view> out;
  for (const record_spec* r : records_read_as(format, part, field)) out.push_back(r->read_as);
  return out;
}

// Every keyword as written is read as its own kind and no other, in the
// part it belongs to; the fuzz dictionary and did-you-mean rely on it.
TEST(KeywordTable, EveryKeywordAsWrittenIsReadAsItsOwnKindAlone) {
  for (const description_format format : {description_format::line, description_format::train})
    for (const record_spec& r : keyword_table(format))
      for (std::string_view keyword : r.keywords) {
        const auto read = records_read_as(format, r.part, keyword);
        ASSERT_EQ(read.size(), 1u) << keyword;
        EXPECT_EQ(read[0], &r) << keyword;
        EXPECT_EQ(record_written_as(format, keyword), &r) << keyword;
      }
}

// What the compilers rely on: substring tests, letter case kept only where
// the table says so, and every kind held read in the table's order.
TEST(KeywordTable, RecognitionFollowsTheWordsTheCaseAndTheTestOrder) {
  struct row {
    description_format format;
    record_part part;
    std::string_view field;
    std::vector<std::string_view> read_as;
  };
  const auto line = description_format::line;
  const auto train = description_format::train;
  const row rows[] = {
      {line, record_part::general, "LUNGHEZZA del percorso", {"a route-length record"}},
      {line, record_part::general, "Progressiva chilometrica uno", {}},
      {line,
       record_part::general,
       "progressiva uno e due",
       {"a kilometric reference", "a kilometric reference"}},
      {line, record_part::general, "sfondo tre", {"a background record"}},
      {line, record_part::general, "pendenza", {}},
      {line, record_part::body, "lunghezza percorso", {}},
      {line, record_part::body, "CURVAS3", {"a curve record"}},
      {line,
       record_part::body,
       "indicatori_v cartello",
       {"a speed-board record", "a text-board record"}},
      {line, record_part::body, "cartello", {}},
      {train, record_part::anywhere, "LIMITE VELOCITA", {"a speed-limit record"}},
      {train, record_part::anywhere, "massa frenata", {"a braked-mass record"}},
      {train, record_part::anywhere, "frenata", {}},
      {train, record_part::anywhere, "stazione segnale", {"a signal record", "a station record"}},
  };
  for (const row& r : rows)
    EXPECT_EQ(kinds_read_as(r.format, r.part, r.field), r.read_as) << r.field;
  EXPECT_TRUE(holds_keyword(line, record_part::general, "Sfondo uno", /*any_case=*/true));
  EXPECT_FALSE(holds_keyword(line, record_part::general, "Sfondo uno"));
  const std::vector<const record_spec*> both =
      records_read_as(line, record_part::general, "progressiva uno tre");
  EXPECT_EQ(read_as_words(both), "a kilometric reference");
  EXPECT_EQ(read_as_words(records_read_as(train, record_part::anywhere, "sabbia orologio")),
            "a clock record and a sand record");
}

// The fields the table gives a kind are the values its written line holds.
TEST(KeywordTable, FieldsMatchTheLinesTheProgramWrites) {
  auto values_in = [](const std::string& line) {
    // Fields are separated by commas; the clock's values by blanks.
    std::size_t n = 0;
    bool in_value = false;
    for (char c : line.substr(line.find(',') + 1)) {
      const bool separator = c == ',' || c == ' ';
      if (!separator && !in_value) ++n;
      in_value = !separator;
    }
    return n;
  };
  struct row {
    description_format format;
    std::string_view keyword;
    std::string line;
  };
  const auto line = description_format::line;
  const auto train = description_format::train;
  const row rows[] = {
      {line, "lunghezza percorso", general_line("lunghezza percorso", {12000})},
      {line, "progressiva chilometrica uno",
       general_line("progressiva chilometrica uno", {0, 0, 1})},
      {line, "curvad6", curve_line("curvad6", 500, 300)},
      {line, "pendenza", gradient_line(2950, 14)},
      {line, "montagna", scenery_line(8650, 8750, 12)},
      {line, "indicatori_vmax", speed_board_line(1850, {85, 90, 90, 0, 1, 1, 1, 0})},
      {line, "cartello indicatore", text_board_line(7000, "PASSO")},
      {train, "orologio", clock_line(5, 57, 30)},
      {train, "aderenza", adhesion_line(0, 100)},
      {train, "velocita", speed_limit_line(1850, 90)},
      {train, "stazione",
       station_line({0, 8, 300, 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, 5, 58, 0}, "CORVALE")},
      {train, "rallentamento", slowdown_line(slowdown_record{51150, 50, 200, 0, 1, 0})},
      {train, "segnale", signal_line(signal_record{15250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140})},
      {train, "abbattimento", code_line_line(1000, 180)},
  };
  for (const row& r : rows) {
    const record_spec* spec = record_written_as(r.format, r.keyword);
    ASSERT_NE(spec, nullptr) << r.keyword;
    EXPECT_EQ(spec->fields.size(), values_in(r.line)) << r.line;
    EXPECT_EQ(record_written_as(r.format, r.line.substr(0, r.line.find(','))), spec) << r.line;
  }
  const record_spec& station = record_of(train_record::station);
  EXPECT_EQ(station.fields.back().width, field_width::text);
  EXPECT_EQ(station.fields[1].width, field_width::uint8);
  EXPECT_EQ(record_of(train_record::clock).fields[0].width, field_width::int16);
}

// Every section a record kind usually stands in is one the table spells, so
// a header written from the table is the one the records name.
TEST(KeywordTable, EveryUsualSectionIsASectionHeader) {
  std::vector<std::string_view> headers;
#define SCENARIO_SECTION_ROW(name, header) headers.push_back(section_header(section::name));
  SCENARIO_SECTIONS(SCENARIO_SECTION_ROW)
#undef SCENARIO_SECTION_ROW
  for (const description_format format : {description_format::line, description_format::train})
    for (const record_spec& record : keyword_table(format)) {
      std::string_view rest = record.sections;
      while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        const std::string_view one = rest.substr(0, blank);
        EXPECT_NE(std::find(headers.begin(), headers.end(), one), headers.end())
            << record.read_as << ": " << one;
        rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
      }
    }
  // Each header is its name in brackets, spelled once.
  EXPECT_EQ(section_header(section::generale), "[generale]");
  EXPECT_EQ(section_header(section::fine), "[fine]");
  std::sort(headers.begin(), headers.end());
  EXPECT_EQ(std::adjacent_find(headers.begin(), headers.end()), headers.end());
}

}  // namespace
}  // namespace scenario
