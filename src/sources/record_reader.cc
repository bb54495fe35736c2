#include "sources/record_reader.h"

#include <algorithm>
#include <cstdint>

#include "common/spelling.h"
#include "common/text.h"
#include "common/utf8_text.h"
#include "model/fault_codes.h"
#include "sources/record_places.h"

namespace scenario {

bool find_generale(field_reader& reader, std::string& field) {
  for (;;) {
    field = reader.read_text();
    if (reader.at_end()) return false;
    if (holds_general_header(field)) return true;
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

namespace {

// "a, b and c"
std::string listed(const std::vector<std::string_view>& words, std::string_view last_join) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out += i + 1 == words.size() ? std::string(last_join) : std::string(", ");
    out += words[i];
  }
  return out;
}

// " of the 11 a signal record takes (missing tempo)": what the kinds take
// beyond the values the line holds; empty when they take no more.
std::string values_taken(std::span<const record_spec* const> kinds, int held) {
  std::vector<std::string_view> names;
  for (const record_spec* r : kinds)
    for (const field_spec& f : r->fields) names.push_back(f.name);
  if (names.size() <= static_cast<std::size_t>(held)) return {};
  const std::vector<std::string_view> missing(names.begin() + held, names.end());
  return " of the " + std::to_string(names.size()) + " " + read_as_words(kinds) +
         (kinds.size() > 1 ? " take" : " takes") + " (missing " + listed(missing, " and ") + ")";
}

}  // namespace

fault failure_fault(const compile_failure& failure, const field_reader& reader, fault_origin origin,
                    int record_line, int record_column, std::span<const record_spec* const> kinds) {
  fault f{k_fault_runtime, failure.position(), origin,
          failure.line() != 0 ? failure.line() : reader.field_line(), failure.what()};
  f.column = f.line == reader.field_line() ? reader.field_column() : 0;
  if (const std::optional<failure_note>& note = failure.note(); note && f.line > 0) {
    f.cause_line = f.line;
    f.cause_column = note->column;
    f.cause_what = note->what;
  }
  if (record_line == 0) return f;
  const bool ended = reader.ran_out() && reader.field_line() >= record_line;
  const bool next_line = reader.field_line() > record_line && reader.field_begins_line();
  if (!ended && !next_line) return f;
  const int values = reader.fields_on_record_line();
  std::string what = "the record ran short: its line holds " + std::to_string(values) +
                     (values == 1 ? " value" : " values") + values_taken(kinds, values);
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

std::vector<warning_words> text_problems(std::string_view what, std::string_view text) {
  std::vector<warning_words> out;
  const std::string named = std::string(what) + " " + quoted_field(text);
  if (text.find('\t') != std::string_view::npos)
    out.push_back(
        {named + " holds a tab, which is part of the text: fields are separated by commas",
         warning_group::text_cut});
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
    out.push_back({named + " holds bytes that form UTF-8 (" + characters +
                       "): the file looks like UTF-8, but it is read as Windows-1252 and the "
                       "simulator shows those bytes as they stand here; save the file as "
                       "Windows-1252 or give --encoding utf-8",
                   warning_group::encoding});
  for (const char ch : text)
    if (unprintable_1252(static_cast<unsigned char>(ch))) {
      out.push_back({named + " holds the byte " + hex_byte(static_cast<unsigned char>(ch)) +
                         ", which Windows-1252 does not print",
                     warning_group::encoding});
      break;
    }
  return out;
}

warning_words extra_fields_warning(const field_reader& reader, bool last_was_text,
                                   bool (*begins_record)(std::string_view field)) {
  const std::string_view rest = reader.rest_of_line();
  const std::size_t first = rest.find_first_not_of(" \t,");
  if (first == std::string_view::npos) return {};
  std::string_view extra = rest.substr(first);
  while (!extra.empty() && (extra.back() == ' ' || extra.back() == '\t')) extra.remove_suffix(1);
  // At the first character of what stands there, past the blanks and commas.
  const int column = reader.rest_column() + static_cast<int>(first);
  if (begins_record(extra.substr(0, extra.find(','))))
    return {quoted_field(extra) +
                " after the record's last value is read as the next record: begin each record "
                "on a line of its own",
            warning_group::separator, column};
  if (last_was_text && reader.field_was_empty())
    return {"the text is empty: the comma before " + quoted_field(extra) +
                " ends it, and what follows is not read; a number ended by a blank leaves the "
                "comma after it to end the next field, so write the comma right after the number",
            warning_group::text_cut, column};
  if (last_was_text && reader.ended_by_comma() && is_unit_word(reader.field_text()) &&
      !reader.number_before_field().empty())
    return {"the unit " + quoted_field(reader.field_text()) + " after " +
                std::string(reader.number_before_field()) + " is read as the text, and " +
                quoted_field(extra) + " after it is not read: the format has no units; write " +
                std::string(reader.number_before_field()),
            warning_group::units, reader.field_column()};
  if (last_was_text && reader.ended_by_comma())
    return {"the text is cut at the comma: " + quoted_field(extra) +
                " after it is not part of it; write the whole text in double quotes to keep the "
                "comma",
            warning_group::text_cut, column};
  const bool comma_before = rest.substr(0, first).find(',') != std::string_view::npos;
  const bool blank_before = !comma_before && (reader.rest_after_blank() || first > 0);
  const bool word = std::all_of(extra.begin(), extra.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '/' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
  if (blank_before && ((word && extra.size() <= 5) || is_unit_word(extra)))
    return {quoted_field(extra) +
                " after the last value is not read: the format has no units; write the number "
                "alone",
            warning_group::units, column};
  return {quoted_field(extra) + " after the record's last value is not read",
          warning_group::stray_value, column};
}

namespace {

bool blank(char c) {
  return c == ' ' || c == '\t';
}

bool whole_number(std::string_view token) {
  if (token.starts_with('-')) token.remove_prefix(1);
  return !token.empty() &&
         std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether the kind's fields read as the values, each a number where one is
// read, and its first is a position (a length alone is none).
bool values_fit(const record_spec& r, const std::vector<std::string_view>& values) {
  if (r.fields.size() != values.size() || r.fields.size() < 2 || r.fields[0].unit != "m")
    return false;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (r.fields[i].width != field_width::text && !values[i].empty() && !whole_number(values[i]))
      return false;
  return whole_number(values[0]);
}

}  // namespace

warning_words swallowed_number_warning(std::string_view field,
                                       std::span<const record_spec* const> kinds) {
  if (kinds.empty()) return {};
  const std::string_view text = trimmed(field);
  std::size_t start = text.size();
  while (start > 0 && !blank(text[start - 1])) --start;
  const std::string_view number = text.substr(start);
  if (start == 0 || !whole_number(number)) return {};
  // A number that is a word of a keyword as written ("ripetizione segnali 4
  // codici") is part of it.
  for (const record_spec* r : kinds)
    for (std::string_view keyword : r->keywords)
      for (std::size_t at = keyword.find(number); at != std::string_view::npos;
           at = keyword.find(number, at + 1)) {
        const std::size_t end = at + number.size();
        if ((at == 0 || keyword[at - 1] == ' ') && (end == keyword.size() || keyword[end] == ' '))
          return {};
      }
  const auto column = static_cast<int>(field.find(text) + start) + 1;
  // Values parted by a character other formats use between fields.
  const std::size_t other = field.find_first_of(";|:");
  if (other != std::string_view::npos && other < field.find(text) + start)
    return {quoted_field(field.substr(other, 1)) + " is not a separator: the keyword field " +
                quoted_field(field) +
                " runs to the first comma, so the numbers in it are not read as values; separate "
                "the values with commas",
            warning_group::separator, static_cast<int>(other) + 1};
  return {"the keyword field " + quoted_field(field) + " ends with the number " +
              std::string(number) +
              ", which is not read as a value: write a comma after the keyword",
          warning_group::separator, column};
}

std::string lost_record_words(std::string_view field, std::span<const std::string_view> keywords,
                              description_format format, record_part part,
                              std::string_view rest_of_line) {
  std::string words = ": this record and its values are not read";
  std::vector<std::string_view> values;
  for (std::size_t at = 0; at <= rest_of_line.size();) {
    const std::size_t comma = std::min(rest_of_line.find(',', at), rest_of_line.size());
    values.push_back(trimmed(rest_of_line.substr(at, comma - at)));
    at = comma + 1;
  }
  while (!values.empty() && values.back().empty()) values.pop_back();
  std::vector<const record_spec*> alike;
  for (const record_spec& r : keyword_table(format))
    if ((part == record_part::anywhere || r.part == record_part::anywhere || r.part == part) &&
        values_fit(r, values))
      alike.push_back(&r);
  std::string word = lower_1252(field);
  while (!word.empty() && word.back() == ' ') word.pop_back();
  const std::optional<std::string_view> meant = closest_word(word, keywords);
  const record_spec* meant_kind = meant ? record_written_as(format, *meant) : nullptr;
  if (!alike.empty() && std::find(alike.begin(), alike.end(), meant_kind) == alike.end()) {
    std::vector<std::string_view> kinds;
    kinds.reserve(alike.size());
    for (const record_spec* r : alike) kinds.push_back(r->read_as);
    words += "; they look like the values of " + listed(kinds, " or ") + " at " +
             std::string(values[0]) + " m";
  }
  if (meant) words += "; did you mean '" + std::string(*meant) + "'?";
  return words;
}

}  // namespace scenario
