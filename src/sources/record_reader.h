// The record structure both description formats share, on top of the field
// reader: finding the "[generale]" field, reading the next keyword field
// (passing over fields that hold "-", which no keyword does), and the words
// a diagnostic uses to tell a keyword from a value.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/compile_failure.h"
#include "model/run_state.h"
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

// The code-25 fault of a failure while reading the record whose keyword
// field stands at record_line and record_column. A record that ran short
// (the value that failed is the first field of a later line, or the file
// ended) is blamed on its own line: the fault says how many values the line
// had and points its cause at the field the missing value was taken from.
fault failure_fault(const compile_failure& failure, const field_reader& reader, fault_origin origin,
                    int record_line, int record_column);

// After a fault in keep-going mode: the reader is put where the next record
// begins. A failed field that began a later line is read again as a keyword;
// otherwise the rest of the failed field's line is passed over.
void resume_after_failure(field_reader& reader, int record_line);

// "; did you mean 'X'?" when the field, in lower case, is a slip of one of
// the keywords; an empty text otherwise.
std::string keyword_suggestion(std::string_view field, std::span<const std::string_view> keywords);

// True for a field written as a comment is in other formats: it begins with
// "#", ";" or "//".
bool looks_like_comment(std::string_view field);

// What the field reading rules make of a text the simulator will show (a
// station name, a board text) that its author probably did not mean, each
// as a warning's words: a tab, bytes that read as UTF-8, bytes Windows-1252
// does not print. what names the text ("station name").
std::vector<std::string> text_problems(std::string_view what, std::string_view text);

// The words of a warning about what stands after a record's last value, the
// last field the reader read; empty when nothing but blanks and commas stand
// there. last_was_text: that value is a text, which a comma cuts.
// begins_record tells whether a field holds a keyword read where it stands:
// fields are not bound to lines, so such a field begins the next record.
std::string extra_fields_warning(const field_reader& reader, bool last_was_text,
                                 bool (*begins_record)(std::string_view field));

}  // namespace scenario
