// The record structure both description formats share, on top of the field
// reader: finding the "[generale]" field, reading the next keyword field
// (passing over fields that hold "-", which no keyword does), and the words
// a diagnostic uses to tell a keyword from a value.
#pragma once

#include <string>
#include <string_view>

#include "sources/field_reader.h"

namespace scenario {

// Reads fields until one holds "[generale]" in any letter case. Returns
// false when the text ends first: the last field of a text never counts.
bool find_generale(field_reader& reader, std::string& field);

// How the search for the next keyword field ended.
enum class keyword_read {
  found,       // field holds a keyword field, followed by more text
  last_field,  // field holds the text's last field, which is never read
  end,         // nothing was left to read
};

// Reads the next keyword field into field. A field holding "-" is passed
// over, up to max_dashed fields in a row; with check_end_between false the
// end of the text is not tested between them, so a text that ends there
// fails the read as the format's reader does.
keyword_read next_keyword(field_reader& reader, std::string& field, int max_dashed,
                          bool check_end_between = true);

// True for a field written like a section header: it holds "[" and "]".
bool is_section_header(std::string_view field);

// True for a field that looks as if it were meant as a keyword: it holds a
// letter (ASCII, or a Windows-1252 letter from 0xC0) and is no section header.
bool looks_like_keyword(std::string_view field);

}  // namespace scenario
