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
#include "common/warning_groups.h"
#include "model/run_state.h"
#include "sources/field_reader.h"
#include "sources/keyword_table.h"

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
// field stands at record_line and record_column, read as the kinds given. A
// record that ran short (the value that failed is the first field of a later
// line, or the file ended) is blamed on its own line: the fault says how
// many values the line had, how many the record takes and which are missing,
// and points its cause at the field the missing value was taken from.
fault failure_fault(const compile_failure& failure, const field_reader& reader, fault_origin origin,
                    int record_line, int record_column, std::span<const record_spec* const> kinds);

// After a fault in keep-going mode: the reader is put where the next record
// begins. A failed field that began a later line is read again as a keyword;
// otherwise the rest of the failed field's line is passed over.
void resume_after_failure(field_reader& reader, int record_line);

// True for a field written as a comment is in other formats: it begins with
// "#", ";" or "//".
bool looks_like_comment(std::string_view field);

// A warning's words and group, and where on its line it points (0: at the
// record's keyword).
struct warning_words {
  std::string what;
  warning_group group = warning_group::none;
  int column = 0;
};

// What the field reading rules make of a text the simulator will show (a
// station name, a board text) that its author probably did not mean, each
// as a warning: a tab, bytes that read as UTF-8, bytes Windows-1252 does not
// print. what names the text ("station name").
std::vector<warning_words> text_problems(std::string_view what, std::string_view text);

// The warning about what stands after a record's last value, the last field
// the reader read, pointing at its first character; empty words when nothing
// but blanks and commas stand there. last_was_text: that value is a text,
// which a comma cuts. begins_record tells whether a field holds a keyword
// read where it stands: fields are not bound to lines, so such a field
// begins the next record.
warning_words extra_fields_warning(const field_reader& reader, bool last_was_text,
                                   bool (*begins_record)(std::string_view field));

// The warning about a number left at the end of a keyword field read as the
// kinds given (a comma after the keyword forgotten: "segnale 5500"), its
// column counted from the field's start (1); empty words when there is none.
warning_words swallowed_number_warning(std::string_view field,
                                       std::span<const record_spec* const> kinds);

// The words after "is not a keyword of ...": that the record is lost, then
// did-you-mean among keywords, or else the kinds of format whose values the
// rest of the keyword's line looks like when it begins with a position.
std::string lost_record_words(std::string_view field, std::span<const std::string_view> keywords,
                              description_format format, record_part part,
                              std::string_view rest_of_line);

}  // namespace scenario
