#include "editor/field_notes.h"

#include <gtest/gtest.h>

#include "editor/text_positions.h"

namespace scenario {
namespace {

// What a hover says a value becomes, one case per kind of value.
TEST(FieldNotes, WhatTheCompilerMakesOfAValue) {
  const std::vector<km_reference> refs = {{0, 45000}};
  const struct {
    description_format format;
    std::string_view record;
    int field;
    std::string_view says;
  } cases[] = {
      {description_format::train, "velocita, 1850, 92", 0, "At km 43+150."},
      {description_format::train, "velocita, 1850, 92", 1, "Stored as 18 (units of 5 km/h)."},
      {description_format::train, "velocita, 1850, 87", 1, "Stored as 17 (units of 5 km/h)."},
      {description_format::train, "velocita, 18x, 90", 0, "Not a whole number"},
      {description_format::line, "curvad4, 3000 m, 400", 0,
       "The format has no units; write 3000. The unit is read as the next value, and the compile "
       "stops at this record (code 25)."},
      {description_format::train, "velocita, 1850, 90 km/h", 1,
       "The format has no units; write 90. After the record's last value the unit is not read."},
      {description_format::train, "velocita, 1850 attenzione, 90", 0, "Not a whole number"},
      {description_format::train, "rallentamento, 9000, 50, -400, 0, 1, 0", 2,
       "Negative: the record runs backwards, its end before its start"},
      {description_format::train, "stazione, 5000, 12, -300, 0,0,0, 1,1,0, 4,1,1, 0, 6,10,0, B", 2,
       "Negative: the record runs backwards"},
      {description_format::train, "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 8,5,30, VALLE", 14,
       "Stored as 29130 s after midnight."},
      {description_format::train, "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 0,0,0, VALLE", 13,
       "No time: the train passes."},
      {description_format::train, "segnale, 5000, 2, 4, 1, 1, 0, 3, 1,2,3, 140", 2,
       "Aspects stored as 41, 12, 13 (left × 10 + right); combined value 9"},
      {description_format::train, "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 8,5,30, VALLE", 1,
       "Like CORVALE in the shipped scenario: the departure station, first record."},
      {description_format::train, "stazione, 9000, 12, 500, 1,0,0, 1,1,0, 2,1,1, 0, 9,0,0, FINE",
       16, "Like PIANASCO in the shipped scenario: the terminus, last record."},
      {description_format::train, "stazione, 9000, 12, 500, 0,0,0, 1,1,0, 4,1,1, 130, 0,0,0, X", 0,
       "Like BRUSETO, Ortella, TORRASO, VALPERA, MERIANO in the shipped scenario: a station "
       "passed without stopping"},
      {description_format::train, "segnale, 63000, 2, 2, 3, 1, 1, 0, 0,0,0, 0", 0,
       "Like the shipped signals at 63550 m, before the terminus: stored 20 30 10, type 16; the "
       "picture shows a rounded dark head with a bar under it, lamps yellow, red, green."},
      {description_format::line, "pendenza, 2000, -8", 1, "Stored as 92 (gradient + 100)."},
      {description_format::line, "pendenza, 2025, -8", 0,
       "At km 42+975. The gradient holds from grid cell 40 (round(p / 50)) up to the next "
       "gradient's cell."},
      {description_format::line, "pendenza, 2075, -8", 0, "from grid cell 42 (round(p / 50))"},
      {description_format::line, "curvas2, 500, 300", -1,
       "class 2, curvature 0.0002 per metre (radius 5000 m), turning left"},
      {description_format::line, "curvas2, 500, 300", 1, "turning left"},
      {description_format::line, "curvad1, 500, 300", -1, "curvad1, s, l"},
      {description_format::line, "indicatori_vmax, 1850, 85,90,90,0,,,,0", 5,
       "Stored as 0 (units of 5 km/h)."},
  };
  const auto note_of = [&](description_format format, std::string_view record, int field) {
    const std::string text =
        std::string(format == description_format::line ? "[generale]\r\n[curve]\r\n"
                                                       : "[generale]\r\n") +
        std::string(record) + "\r\n[fine]\r\n";
    const std::vector<record_place> records = read_record_places(format, text);
    const auto r = std::find_if(records.begin(), records.end(),
                                [](const record_place& x) { return !x.header; });
    EXPECT_NE(r, records.end());
    return r == records.end() ? std::string() : field_note(*r, r->row(text), field, refs);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    const std::string note = note_of(c.format, c.record, c.field);
    EXPECT_NE(note.find(c.says), std::string::npos) << note;
  }
  // A positive length is not told as negative.
  EXPECT_EQ(note_of(description_format::train, "rallentamento, 9000, 50, 400, 0, 1, 0", 2)
                .find("Negative"),
            std::string::npos);
}

// The kilometric reference's value is metres of the railway's own count,
// not a place: no cell and no kilometre for it. The cells are the
// compile's.
TEST(FieldNotes, OnlyPlacesGetACellAndAKilometre) {
  const std::string text =
      "[generale]\r\nprogressiva chilometrica uno, 100, 45000, 0\r\n[fine]\r\n";
  const std::vector<record_place> records = read_record_places(description_format::line, text);
  ASSERT_EQ(records.size(), 3u);
  const std::string_view line = line_text(text, 1);
  EXPECT_NE(
      field_note(records[1], line, 0, {{100, 45000}}, {3})
          .find("At km 45+000. The compile puts the record's objects in grid cell 3 (50 m cells)."),
      std::string::npos);
  EXPECT_NE(field_note(records[1], line, 0, {}, {3, 4, 5}).find("grid cells 3 to 5"),
            std::string::npos);
  EXPECT_EQ(field_note(records[1], line, 1, {{100, 45000}}, {3}).find("cell"), std::string::npos);
  EXPECT_EQ(railway_km({}, 100), std::nullopt);
}

}  // namespace
}  // namespace scenario
