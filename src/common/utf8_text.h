// Names in the binary files are single-byte (Windows-1252) text; the
// terminal, file names, SVG and JSON want UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// text re-encoded from Windows-1252 to UTF-8. The five byte values that
// character set leaves undefined become U+FFFD; control characters are kept
// for the caller to escape or replace.
std::string utf8_from_1252(std::string_view text);

// The outcome of re-encoding UTF-8 text as Windows-1252.
struct text_1252 {
  bool ok = true;
  std::string text;             // the converted text, whole only when ok
  std::size_t failed_at = 0;    // byte offset of the first character that could not be converted
  std::uint32_t failed_cp = 0;  // that character; 0 when its bytes are not UTF-8
};

// utf8 re-encoded as Windows-1252, so that utf8_from_1252 gives utf8 back.
// Stops at the first character the set lacks (including the C1 controls,
// whose byte values it gives to other characters) or at bytes that are not
// UTF-8 (overlong forms and surrogates included).
text_1252 utf8_to_1252(std::string_view utf8);

// The code point of the UTF-8 sequence at text[at], advancing at past it;
// false (at unchanged) when the bytes there are not well-formed UTF-8
// (overlong forms and surrogates included).
bool next_code_point(std::string_view text, std::size_t& at, std::uint32_t& cp);

// The Windows-1252 byte of cp, or -1 when the set lacks it.
int byte_1252(std::uint32_t cp);

// "U+041B": a code point as Unicode writes it.
std::string code_point_name(std::uint32_t cp);

}  // namespace scenario
