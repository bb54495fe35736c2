#include "editor/field_notes.h"

#include "editor/shipped_kinds.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/numeric.h"
#include "model/scenario_constants.h"
#include "route/plan.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

std::string field_line(const field_spec& f) {
  std::string s = "- `" + std::string(f.name) + "`";
  if (!f.unit.empty()) s += " (" + std::string(f.unit) + ")";
  return s + ": " + std::string(f.meaning) + "\n";
}

std::string curve_words(std::string_view keyword) {
  const std::optional<double> curvature = curve_curvature(keyword);
  if (!curvature) return "no curvature digit 1 to 6: the compile stops here (code 103)";
  int digit = 0;
  for (const char c : keyword)
    if (c >= '1' && c <= '6' && (digit == 0 || c - '0' < digit)) digit = c - '0';
  char number[32];
  std::snprintf(number, sizeof number, "%g", std::fabs(*curvature));
  return "class " + std::to_string(digit) + ", curvature " + number + " per metre (radius " +
         std::to_string(std::lround(1 / std::fabs(*curvature))) + " m), turning " +
         (*curvature < 0 ? "left" : "right");
}

std::vector<std::optional<std::int64_t>> numbers_of(const record_place& record,
                                                    std::string_view line) {
  std::vector<std::optional<std::int64_t>> out;
  for (const field_span& f : record.values)
    out.push_back(number_of(line.substr(f.first, f.last - f.first)));
  return out;
}

// The number of a field written as a number and a unit ("3000 m"); none
// for any other field.
std::optional<std::string> number_before_unit(std::string_view field) {
  const std::size_t blank = field.find_first_of(" \t");
  if (blank == std::string_view::npos || !number_of(field.substr(0, blank))) return std::nullopt;
  std::string_view unit = field.substr(blank);
  while (!unit.empty() && (unit.front() == ' ' || unit.front() == '\t')) unit.remove_prefix(1);
  if (!is_unit_word(unit)) return std::nullopt;
  return std::string(field.substr(0, blank));
}

// What the compile makes of a field that is not a whole number.
std::string not_a_number_words(std::string_view field, bool last) {
  const std::optional<std::string> number = number_before_unit(field);
  if (!number) return "Not a whole number: the compile stops at this record (code 25).\n";
  return "The format has no units; write " + *number + ". " +
         (last ? std::string("After the record's last value the unit is not read.\n")
               : std::string("The unit is read as the next value, and the compile stops at this "
                             "record (code 25).\n"));
}

// What the reference's tables call a station or signal like this one.
std::string kind_words(const record_spec& kind,
                       const std::vector<std::optional<std::int64_t>>& values) {
  if (&kind == &record_of(train_record::station)) {
    if (const station_kind* row = station_kind_of(values))
      return "Like " + std::string(row->shipped) +
             " in the shipped scenario: " + std::string(row->what) + ".\n";
  } else if (&kind == &record_of(train_record::signal)) {
    if (const signal_kind* row = signal_kind_of(values))
      return "Like the shipped signals at " + std::string(row->where) + ": stored " +
             std::string(row->stored) + "; the picture shows a " + std::string(row->picture) +
             ".\n";
  }
  return {};
}

}  // namespace

std::optional<std::int64_t> number_of(std::string_view field) {
  std::int64_t value = 0;
  if (field.empty()) return 0;  // an empty numeric field reads as 0
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

bool is_position(const field_spec& field) {
  // Lengths and the railway's own count are metres too, but no place.
  return field.unit == "m" && field.meaning.find("length") == std::string_view::npos &&
         field.meaning.find("kilometric value") == std::string_view::npos;
}

std::optional<std::string> railway_km(const std::vector<km_reference>& references,
                                      std::int64_t metres) {
  const std::optional<double> at = railway_metres_at(references, static_cast<double>(metres));
  if (!at) return std::nullopt;
  return "km " + km_text(std::llround(*at));
}

std::string record_syntax(const record_spec& kind, std::string_view keyword) {
  std::string s(keyword);
  const bool clock = &kind == &record_of(train_record::clock);
  for (std::size_t i = 0; i < kind.fields.size(); ++i)
    s += std::string(clock && i > 0 ? " " : ", ") + std::string(kind.fields[i].name);
  return s;
}

namespace {

// The note on a keyword field: each kind it is read as, its syntax and fields.
std::string keyword_note(const record_place& record, std::string_view keyword) {
  std::string s;
  for (const record_spec* k : record.kinds) {
    s += "**" + std::string(k->read_as) + "**, usually in " + std::string(k->sections) +
         "\n\n```\n" + record_syntax(*k, keyword) + "\n```\n\n";
    for (const field_spec& f : k->fields) s += field_line(f);
    s += "\n";
  }
  if (&record_of(line_record::curve) == record.kinds.front())
    s += "`" + std::string(keyword) + "`: " + curve_words(keyword) + "\n";
  return s;
}

// Where a position lies: its railway kilometre, and the grid cells the
// record's objects took (or, for a gradient, the cell it holds from).
std::string position_words(const record_spec& kind, std::int64_t v,
                           const std::vector<km_reference>& references,
                           const std::vector<std::size_t>& cells) {
  std::string s;
  if (const std::optional<std::string> km = railway_km(references, v)) s += "At " + *km + ". ";
  if (!cells.empty()) {
    s += "The compile puts the record's objects in grid cell" +
         std::string(cells.size() > 1 ? "s " : " ") + std::to_string(cells.front());
    if (cells.size() > 1) s += " to " + std::to_string(cells.back());
    s += " (" + std::to_string(k_cell_metres) + " m cells).";
  } else if (&kind == &record_of(line_record::gradient)) {
    // A gradient marks no object: it fills the plan's cells from its own.
    s += "The gradient holds from grid cell " + std::to_string(round_half_even(v, k_cell_metres)) +
         " (round(p / 50)) up to the next gradient's cell.";
  }
  return s + "\n";
}

// What the record's values make of the field's: a station's time in
// seconds, a signal's stored aspects.
std::string record_words(const record_spec& kind, const field_spec& f, int field,
                         const std::vector<std::optional<std::int64_t>>& values) {
  std::string s;
  if (&kind == &record_of(train_record::station) && f.unit != "m" &&
      (f.unit == "h" || f.unit == "min" || f.unit == "s") && values.size() >= 16) {
    const auto h = values[13].value_or(0), m = values[14].value_or(0), sec = values[15].value_or(0);
    s += h == 0 && m == 0 && sec == 0
             ? std::string("No time: the train passes.\n")
             : "Stored as " + std::to_string(h * 3600 + m * 60 + sec) + " s after midnight.\n";
  }
  if (&kind == &record_of(train_record::signal) && values.size() == 11 && field > 0) {
    auto n = [&](std::size_t i) { return values[i].value_or(0); };
    s += "Aspects stored as " + std::to_string(n(2) * 10 + n(7)) + ", " +
         std::to_string(n(3) * 10 + n(8)) + ", " + std::to_string(n(4) * 10 + n(9)) +
         " (left × 10 + right); combined value " + std::to_string(n(5) * 10 + n(1) * 3 + n(6)) +
         " (rapp × 10 + sx × 3 + dx).\n";
  }
  return s;
}

// What a field's whole number v is stored as and means.
std::string number_words(const record_spec& kind, const field_spec& f, std::string_view keyword,
                         std::int64_t v) {
  std::string s;
  if (f.unit == "km/h")
    s += "Stored as " + std::to_string(round_half_even(v, 5)) + " (units of 5 km/h).\n";
  if (f.unit == "per mille") s += "Stored as " + std::to_string(v + 100) + " (gradient + 100).\n";
  if (&kind == &record_of(line_record::curve)) s += "The curve: " + curve_words(keyword) + ".\n";
  if (v < 0 &&
      (&kind == &record_of(train_record::slowdown) || &kind == &record_of(train_record::station)) &&
      f.unit == "m" && f.meaning.find("length") != std::string_view::npos)
    s += "Negative: the record runs backwards, its end before its start; write the length as a "
         "positive number.\n";
  return s;
}

}  // namespace

std::string field_note(const record_place& record, std::string_view line, int field,
                       const std::vector<km_reference>& references,
                       const std::vector<std::size_t>& cells) {
  if (record.header || record.kinds.empty()) return {};
  const std::string_view keyword =
      line.substr(record.keyword.first, record.keyword.last - record.keyword.first);
  if (field == -1) return keyword_note(record, keyword);
  const record_spec& kind = *record.kinds.front();
  if (field < 0 || static_cast<std::size_t>(field) >= kind.fields.size()) return {};
  const field_spec& f = kind.fields[static_cast<std::size_t>(field)];
  std::string s = "**" + std::string(kind.read_as) + "**: " + field_line(f).substr(2) + "\n";
  const std::vector<std::optional<std::int64_t>> values = numbers_of(record, line);
  const std::optional<std::int64_t> value = values[static_cast<std::size_t>(field)];
  if (f.width == field_width::text) return s + kind_words(kind, values);
  if (!value) {
    const field_span& at = record.values[static_cast<std::size_t>(field)];
    return s + not_a_number_words(line.substr(at.first, at.last - at.first),
                                  static_cast<std::size_t>(field) + 1 == kind.fields.size());
  }
  if (is_position(f)) s += position_words(kind, *value, references, cells);
  s += number_words(kind, f, keyword, *value);
  return s + record_words(kind, f, field, values) + kind_words(kind, values);
}

}  // namespace scenario
