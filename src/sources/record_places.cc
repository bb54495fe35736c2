#include "sources/record_places.h"

#include <algorithm>
#include <optional>

#include "common/line_index.h"
#include "common/text.h"

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

bool is_header(std::string_view field) {
  return field.find('[') != field.npos && field.find(']') != field.npos;
}

// A header that ends the line description's general section: one that does
// not begin with "-" (a field holding "-" is passed over).
bool ends_general(std::string_view header) {
  return !holds_general_header(header) && (header.empty() || header.front() != '-');
}

// Reads the records of a text line by line, following its part.
class place_reader {
 public:
  explicit place_reader(description_format format) : format_(format) {}

  // The record on a line; nothing for a line without one.
  std::optional<record_place> read(int n, std::size_t start, std::string_view line) {
    const std::size_t comma = line.find(',');
    const field_span key = trimmed(line, 0, comma == line.npos ? line.size() : comma);
    const std::string_view field = line.substr(key.first, key.last - key.first);
    if (field.empty()) return std::nullopt;
    if (!started_) {
      if (!holds_general_header(field)) return std::nullopt;
      started_ = true;
    }
    record_place record;
    record.line = n;
    record.line_start = start;
    record.line_length = line.size();
    record.keyword = key;
    const bool line_format = format_ == description_format::line;
    if (is_header(field)) {
      record.header = true;
      if (line_format && ends_general(field)) in_general_ = false;
      if (line_format) record.part = in_general_ ? record_part::general : record_part::body;
      return record;
    }
    record.part = !line_format  ? record_part::anywhere
                  : in_general_ ? record_part::general
                                : record_part::body;
    record.kinds = records_read_as(format_, record.part, field);
    if (!record.kinds.empty() && comma != line.npos)
      record.values = value_fields(*record.kinds.front(), line, comma + 1, record.extra);
    return record;
  }

 private:
  description_format format_;
  bool started_ = false;
  bool in_general_ = true;
};

}  // namespace

bool holds_general_header(std::string_view field) {
  return contains_ignoring_case(field, section_header(section::generale));
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

std::vector<record_place> read_record_places(description_format format, std::string_view text) {
  std::vector<record_place> records;
  place_reader reader(format);
  // Indexed once: finding each line from the text's start made a
  // description of many records cost records squared.
  const line_index index(text);
  for (int n = 0;; ++n) {
    const std::size_t start = index.start(n + 1);
    if (start >= text.size()) break;
    if (std::optional<record_place> record = reader.read(n, start, index.line(n + 1)))
      records.push_back(std::move(*record));
  }
  return records;
}

std::vector<section_place> sections_of(const std::vector<record_place>& records) {
  std::vector<section_place> sections;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const record_place& r = records[i];
    if (r.header) {
      sections.push_back({i, i + 1, r.start_of(r.keyword), r.place_at(r.line_length)});
    } else if (!sections.empty()) {
      sections.back().end = i + 1;
      sections.back().last = r.place_at(r.line_length);
    }
  }
  return sections;
}

int field_at(const record_place& record, std::size_t character) {
  if (character <= record.keyword.last) return -1;
  for (std::size_t i = 0; i < record.values.size(); ++i)
    if (character >= record.values[i].first && character <= record.values[i].last)
      return static_cast<int>(i);
  return -2;
}

}  // namespace scenario
