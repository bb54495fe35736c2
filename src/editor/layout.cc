#include "editor/layout.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "editor/text_positions.h"
#include "sources/record_layout.h"
#include "sources/record_places.h"

namespace scenario {
namespace {

// The number a field holds when the layout writes it back with the same
// digits; nothing otherwise (a sign, leading zeros, other text).
std::optional<std::int32_t> plain_number(std::string_view field) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  if (std::to_string(value) != field) return std::nullopt;
  return value;
}

// The numbers of a record's fields, with its text; nothing when a field
// would not be written back as it stands. An empty speed board value is
// kept empty.
std::optional<std::vector<std::optional<std::int32_t>>> numbers_laid_out(
    description_format format, const record_spec& kind, const std::vector<std::string_view>& fields,
    std::string_view& text) {
  std::vector<std::optional<std::int32_t>> numbers;
  for (std::size_t i = 0; i < kind.fields.size(); ++i) {
    if (kind.fields[i].width == field_width::text) {
      text = fields[i];
      if (text.empty()) return std::nullopt;
      numbers.push_back(0);
      continue;
    }
    numbers.push_back(plain_number(fields[i]));
    // Only a speed board's values may stand empty: they read as 0.
    const bool may_be_empty = format == description_format::line &&
                              &kind == &record_of(line_record::speed_board) && i > 0;
    if (!numbers.back() && !(may_be_empty && fields[i].empty())) return std::nullopt;
    if (fields[i].empty()) numbers.back().reset();
  }
  return numbers;
}

// The first n values, empty ones as 0.
template <std::size_t n>
std::array<std::int32_t, n> first_values(const std::vector<std::optional<std::int32_t>>& numbers) {
  std::array<std::int32_t, n> values{};
  for (std::size_t i = 0; i < n; ++i) values[i] = numbers[i].value_or(0);
  return values;
}

// A line description's record as the program writes it; a curve and the
// general records keep the keyword as written, which the caller is told by
// whole set to true.
std::string line_laid_out(const record_spec& kind, std::string_view keyword,
                          const std::vector<std::optional<std::int32_t>>& numbers,
                          std::string_view text, bool& whole) {
  auto n = [&](std::size_t i) { return numbers[i].value_or(0); };
  whole = false;
  switch (static_cast<line_record>(kind.kind)) {
    case line_record::gradient:
      return gradient_line(n(0), n(1));
    case line_record::scenery:
      return scenery_line(n(0), n(1), n(2));
    case line_record::speed_board: {
      std::array<std::optional<std::int32_t>, 8> values;
      for (std::size_t i = 0; i < values.size(); ++i) values[i] = numbers[i + 1];
      return speed_board_line(n(0), values);
    }
    case line_record::text_board:
      return text_board_line(n(0), text);
    default:
      break;
  }
  whole = true;
  if (&kind == &record_of(line_record::curve)) return curve_line(keyword, n(0), n(1));
  if (kind.fields.size() == 1) return general_line(keyword, {n(0)});
  if (kind.fields.size() == 2) return general_line(keyword, {n(0), n(1)});
  return general_line(keyword, {n(0), n(1), n(2)});
}

// A train description's record as the program writes it; whole as above.
std::string train_laid_out(const record_spec& kind, std::string_view keyword,
                           const std::vector<std::optional<std::int32_t>>& numbers,
                           std::string_view text, bool& whole) {
  auto n = [&](std::size_t i) { return numbers[i].value_or(0); };
  whole = false;
  switch (static_cast<train_record>(kind.kind)) {
    case train_record::clock:
      return clock_line(n(0), n(1), n(2));
    case train_record::adhesion:
      return adhesion_line(n(0), n(1));
    case train_record::speed_limit:
      return speed_limit_line(n(0), n(1));
    case train_record::station:
      return station_line(first_values<16>(numbers), text);
    case train_record::slowdown:
      return slowdown_line(first_values<6>(numbers));
    case train_record::signal:
      return signal_line(first_values<11>(numbers));
    case train_record::code_line:
      return code_line_line(n(0), n(1));
    default:
      whole = true;
      return general_line(keyword, {n(0)});
  }
}

// The record's line as the program writes it, the keyword as written here.
std::optional<std::string> laid_out(description_format format, const record_spec& kind,
                                    std::string_view keyword,
                                    const std::vector<std::string_view>& fields) {
  std::string_view text;
  const auto numbers = numbers_laid_out(format, kind, fields, text);
  if (!numbers) return std::nullopt;
  bool whole = false;
  const std::string out = format == description_format::line
                              ? line_laid_out(kind, keyword, *numbers, text, whole)
                              : train_laid_out(kind, keyword, *numbers, text, whole);
  if (whole) return out;
  // The layout writes the usual keyword; the author's stays.
  const std::size_t comma = out.find(',');
  return std::string(keyword) + out.substr(comma);
}

}  // namespace

std::vector<line_replacement> layout_edits(description_format format, std::string_view text) {
  std::vector<line_replacement> edits;
  for (const record_place& record : read_record_places(format, text)) {
    const std::string_view line = record.row(text);
    std::optional<std::string> wanted;
    if (record.header) {
      // A header alone on its line loses the blanks around it.
      if (line.find(',') == line.npos) wanted = std::string(record.field(text, record.keyword));
    } else if (record.kinds.size() == 1 && !record.extra &&
               record.values.size() == record.kinds.front()->fields.size()) {
      const record_spec& kind = *record.kinds.front();
      std::vector<std::string_view> fields;
      for (const field_span& f : record.values) fields.push_back(record.field(text, f));
      // A text with blanks after it keeps them only where it stands.
      const bool text_last = kind.fields.back().width == field_width::text;
      if (!(text_last && record.values.back().last != line.size()))
        wanted = laid_out(format, kind, record.field(text, record.keyword), fields);
    }
    if (wanted && *wanted != line) edits.push_back({record.line, *wanted});
  }
  return edits;
}

}  // namespace scenario
