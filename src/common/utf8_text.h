// Names in the binary files are single-byte (Windows-1252) text; SVG and JSON
// want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// text re-encoded from Windows-1252 to UTF-8. The five byte values that
// character set leaves undefined become U+FFFD; control characters are kept
// for the caller to escape or replace.
std::string utf8_from_1252(std::string_view text);

}  // namespace scenario
