#include "sources/record_reader.h"

#include <algorithm>

#include "common/text.h"

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

}  // namespace scenario
