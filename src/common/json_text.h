// Text as JSON strings, for the documents written for scripts (dump --json,
// check --format json).
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Windows-1252 text as a JSON string of Unicode text. The five byte values
// that set leaves undefined are written as the escapes \u0081, \u008d,
// \u008f, \u0090 and \u009d, so that every byte can be recovered.
std::string json_string_1252(std::string_view text);

// UTF-8 text (a file path as the system gives it, a message) as a JSON
// string, with only quotes, backslashes and control characters escaped.
std::string json_string_utf8(std::string_view text);

}  // namespace scenario
