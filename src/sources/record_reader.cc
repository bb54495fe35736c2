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

// The length of the UTF-8 sequence of two to four bytes at text[i], or 0.
std::size_t utf8_sequence(std::string_view text, std::size_t i, std::uint32_t& cp) {
  const auto byte = [&](std::size_t n) { return static_cast<unsigned char>(text[n]); };
  const unsigned char lead = byte(i);
  std::size_t size = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    cp = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + size > text.size()) return 0;
  for (std::size_t n = 1; n < size; ++n) {
    if ((byte(i + n) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (byte(i + n) & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no UTF-8.
  const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[size] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return size;
}

// A character as a message in Windows-1252 shows it: itself when the set
// has it, otherwise its Unicode name.
std::string shown_character(std::uint32_t cp) {
  std::string utf8;
  if (cp < 0x800) {
    utf8 += static_cast<char>(0xC0 | (cp >> 6));
  } else if (cp < 0x10000) {
    utf8 += static_cast<char>(0xE0 | (cp >> 12));
    utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  } else {
    utf8 += static_cast<char>(0xF0 | (cp >> 18));
    utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  }
  utf8 += static_cast<char>(0x80 | (cp & 0x3F));
  const text_1252 in_1252 = utf8_to_1252(utf8);
  return in_1252.ok ? "'" + in_1252.text + "'" : code_point_name(cp);
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
  for (std::size_t i = 0; i < text.size();) {
    std::uint32_t cp = 0;
    if (const std::size_t size = utf8_sequence(text, i, cp); size != 0) {
      if (sequences++ < 4) characters += (characters.empty() ? "" : ", ") + shown_character(cp);
      i += size;
    } else {
      ++i;
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
