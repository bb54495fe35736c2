// Positions in an editor's text: a line and a character offset counted in
// the units the client and the server agreed on (UTF-16 code units unless
// the client offers UTF-8 bytes), and the edits editors send as ranges.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario {

enum class position_units { utf16, utf8 };

struct text_position {
  int line = 0;       // from 0
  int character = 0;  // from 0, in position_units

  friend bool operator==(const text_position&, const text_position&) = default;
};

// The byte offset in the UTF-8 text of a position. A line past the last is
// the end of the text; a character past its line's end is the line's end
// (before its line break), as the protocol asks. A position inside a
// character's UTF-16 pair is taken as the character's start.
std::size_t offset_of(std::string_view text, text_position at, position_units units);

// The position of a byte offset (clamped to the text's size).
text_position position_of(std::string_view text, std::size_t offset, position_units units);

// Replaces what lies between two positions with replacement.
void replace_range(std::string& text, text_position from, text_position to,
                   std::string_view replacement, position_units units);

// The byte offset where line (from 0) starts; the text's size when it has
// fewer lines. Lines end at "\n", "\r\n" or "\r".
std::size_t line_start(std::string_view text, int line);

// The bytes of line (from 0) without its line break.
std::string_view line_text(std::string_view text, int line);

// How many units the UTF-8 text takes.
int units_in(std::string_view utf8, position_units units);

}  // namespace scenario
