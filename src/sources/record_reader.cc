#include "sources/record_reader.h"

#include <algorithm>
#include <cstdint>

#include "common/spelling.h"
#include "common/text.h"
#include "common/utf8_text.h"
#include "model/fault_codes.h"

namespace scenario {

bool find_generale(field_reader& reader, std::string& field) {
  for (;;) {
    field = reader.read_text();
    if (reader.at_end()) return false;
    if (contains_ignoring_case(field, "[generale]")) return true;
  }
}

keyword_read next_keyword(field_reader& reader, std::string& field, int max_dashed,
                          bool check_end_between) {
  if (reader.at_end()) return keyword_read::end;
  field = reader.read_text();
  if (reader.at_end()) return keyword_read::last_field;
  for (int i = 0; i < max_dashed && contains(field, "-"); ++i) {
    field = reader.read_text();
    if (check_end_between && reader.at_end()) return keyword_read::last_field;
  }
  return keyword_read::found;
}

bool is_section_header(std::string_view field) {
  return contains(field, "[") && contains(field, "]");
}

bool looks_like_keyword(std::string_view field) {
  const bool letter = std::any_of(field.begin(), field.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0xC0;
  });
  return letter && !is_section_header(field);
}

fault failure_fault(const compile_failure& failure, const field_reader& reader, fault_origin origin,
                    int record_line, int record_column) {
  fault f{k_fault_runtime, failure.position(), origin,
          failure.line() != 0 ? failure.line() : reader.field_line(), failure.what()};
  f.column = f.line == reader.field_line() ? reader.field_column() : 0;
  if (record_line == 0) return f;
  const bool ended = reader.ran_out() && reader.field_line() >= record_line;
  const bool next_line = reader.field_line() > record_line && reader.field_begins_line();
  if (!ended && !next_line) return f;
  const int values = reader.fields_on_record_line();
  std::string what = "the record ran short: its line holds " + std::to_string(values) +
                     (values == 1 ? " value" : " values");
  if (next_line) {
    what += ", so the next was read from line " + std::to_string(reader.field_line()) + ", where " +
            failure.what();
    f.cause_line = reader.field_line();
    f.cause_column = reader.field_column();
  } else {
    what += ", and the file ends where another value was expected";
  }
  f.detail = std::move(what);
  f.line = record_line;
  f.column = record_column;
  return f;
}

void resume_after_failure(field_reader& reader, int record_line) {
  if (reader.field_line() > record_line && reader.field_begins_line())
    reader.back_to_field_start();
  else
    reader.skip_rest_of_line();
}

std::string keyword_suggestion(std::string_view field, std::span<const std::string_view> keywords) {
  std::string word = lower_1252(field);
  while (!word.empty() && word.back() == ' ') word.pop_back();
  return did_you_mean(word, keywords);
}

bool looks_like_comment(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const std::string_view text = field.substr(first);
  return text.starts_with('#') || text.starts_with(';') || text.starts_with("//");
}

namespace {

// A character as a message in Windows-1252 shows it: itself when the set
// has it, otherwise its Unicode name.
std::string shown_character(std::uint32_t cp) {
  const int b = byte_1252(cp);
  return b >= 0 ? "'" + std::string(1, static_cast<char>(b)) + "'" : code_point_name(cp);
}

bool unprintable_1252(unsigned char c) {
  return (c < 0x20 && c != '\t') || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 ||
         c == 0x9D;
}

std::string hex_byte(unsigned char c) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[c >> 4] + digits[c & 15];
}

}  // namespace

std::vector<std::string> text_problems(std::string_view what, std::string_view text) {
  std::vector<std::string> out;
  const std::string named = std::string(what) + " " + quoted_field(text);
  if (text.find('\t') != std::string_view::npos)
    out.push_back(named +
                  " holds a tab, which is part of the text: fields are separated by commas");
  std::string characters;
  std::size_t sequences = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::uint32_t cp = 0;
    if (!next_code_point(text, at, cp)) {
      ++at;
    } else if (cp >= 0x80 && sequences++ < 4) {
      characters += (characters.empty() ? "" : ", ") + shown_character(cp);
    }
  }
  if (sequences > 4) characters += ", ...";
  if (sequences > 0)
    out.push_back(named + " holds bytes that form UTF-8 (" + characters +
                  "): the file looks like UTF-8, but it is read as Windows-1252 and the "
                  "simulator shows those bytes as they stand here; save the file as "
                  "Windows-1252 or give --encoding utf-8");
  for (const char ch : text)
    if (unprintable_1252(static_cast<unsigned char>(ch))) {
      out.push_back(named + " holds the byte " + hex_byte(static_cast<unsigned char>(ch)) +
                    ", which Windows-1252 does not print");
      break;
    }
  return out;
}

std::string extra_fields_warning(const field_reader& reader, bool last_was_text,
                                 bool (*begins_record)(std::string_view field)) {
  const std::string_view rest = reader.rest_of_line();
  const std::size_t first = rest.find_first_not_of(" \t,");
  if (first == std::string_view::npos) return {};
  std::string_view extra = rest.substr(first);
  while (!extra.empty() && (extra.back() == ' ' || extra.back() == '\t')) extra.remove_suffix(1);
  if (begins_record(extra.substr(0, extra.find(','))))
    return quoted_field(extra) +
           " after the record's last value is read as the next record: begin each record on a "
           "line of its own";
  if (last_was_text && reader.ended_by_comma())
    return "the text is cut at the comma: " + quoted_field(extra) +
           " after it is not part of it; write the whole text in double quotes to keep the "
           "comma";
  const bool comma_before = rest.substr(0, first).find(',') != std::string_view::npos;
  const bool blank_before = !comma_before && (reader.rest_after_blank() || first > 0);
  const bool word = std::all_of(extra.begin(), extra.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '/' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
  if (blank_before && word && extra.size() <= 5)
    return quoted_field(extra) +
           " after the last value is not read: the format has no units; write the number alone";
  return quoted_field(extra) + " after the record's last value is not read";
}

}  // namespace scenario
