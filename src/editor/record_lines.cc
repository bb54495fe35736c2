#include "editor/record_lines.h"

#include <algorithm>

#include "common/line_index.h"
#include "editor/pairing.h"
#include "editor/text_positions.h"

namespace scenario {
namespace {

bool blank(char c) {
  return c == ' ' || c == '\t';
}

field_span trimmed(std::string_view line, std::size_t first, std::size_t last) {
  while (first < last && blank(line[first])) ++first;
  while (last > first && blank(line[last - 1])) --last;
  return {first, last};
}

bool holds_generale(std::string_view field) {
  std::string lower(field);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower.find("[generale]") != std::string::npos;
}

// A field that ends the line description's [generale] section: it holds "["
// and "]" and does not begin with "-".
bool ends_general(std::string_view field) {
  return field.find('[') != field.npos && field.find(']') != field.npos &&
         (field.empty() || field.front() != '-');
}

}  // namespace

description_format format_of(std::string_view file_name) {
  return kind_of_description(file_name) == description_kind::line ? description_format::line
                                                                  : description_format::train;
}

std::vector<field_span> value_fields(const record_spec& kind, std::string_view line,
                                     std::size_t after_keyword, bool& extra) {
  std::vector<field_span> values;
  extra = false;
  std::size_t at = after_keyword;
  const bool by_blanks = &kind == &record_of(train_record::clock);
  for (std::size_t i = 0; i < kind.fields.size(); ++i) {
    while (at < line.size() && blank(line[at])) ++at;
    if (at >= line.size() && i > 0) break;
    std::size_t end;
    if (kind.fields[i].width == field_width::text && at < line.size() && line[at] == '"') {
      const std::size_t close = line.find('"', at + 1);
      end = close == line.npos ? line.size() : close + 1;
    } else if (by_blanks) {
      end = line.find_first_of(" \t,", at);
    } else {
      end = line.find(',', at);
    }
    if (end == line.npos) end = line.size();
    values.push_back(trimmed(line, at, end));
    at = end;
    // The comma that ends the field (and, between the clock's values, blanks).
    while (by_blanks && at < line.size() && blank(line[at])) ++at;
    if (at < line.size() && line[at] == ',') ++at;
  }
  extra = line.find_first_not_of(" \t,", std::min(at, line.size())) != line.npos;
  return values;
}

std::vector<record_line> read_record_lines(description_format format, std::string_view text) {
  std::vector<record_line> lines;
  bool started = false;
  bool in_general = true;
  // Indexed once: finding each line from the text's start made a
  // description of many records cost records squared.
  const line_index index(text);
  for (int n = 0;; ++n) {
    const std::size_t start = index.start(n + 1);
    if (start >= text.size()) break;
    const std::string_view line = index.line(n + 1);
    const std::size_t comma = line.find(',');
    const field_span key = trimmed(line, 0, comma == line.npos ? line.size() : comma);
    const std::string_view field = line.substr(key.first, key.last - key.first);
    if (field.empty()) continue;
    if (!started) {
      if (!holds_generale(field)) continue;
      started = true;
    }
    record_line record;
    record.line = n;
    record.keyword = key;
    if (field.find('[') != field.npos && field.find(']') != field.npos) {
      record.header = true;
      if (format == description_format::line && !holds_generale(field) && ends_general(field))
        in_general = false;
      if (format == description_format::line)
        record.part = in_general ? record_part::general : record_part::body;
      lines.push_back(record);
      continue;
    }
    const record_part part = format == description_format::train ? record_part::anywhere
                             : in_general                        ? record_part::general
                                                                 : record_part::body;
    record.part = part;
    record.kinds = records_read_as(format, part, field);
    if (!record.kinds.empty() && comma != line.npos)
      record.values = value_fields(*record.kinds.front(), line, comma + 1, record.extra);
    lines.push_back(record);
  }
  return lines;
}

int field_at(const record_line& record, std::size_t character) {
  if (character <= record.keyword.last) return -1;
  for (std::size_t i = 0; i < record.values.size(); ++i)
    if (character >= record.values[i].first && character <= record.values[i].last)
      return static_cast<int>(i);
  return -2;
}

}  // namespace scenario
