#include "common/json_text.h"

#include "common/utf8_text.h"

namespace scenario {
namespace {

void escape(std::string& out, unsigned char c) {
  static const char* digits = "0123456789abcdef";
  out += "\\u00";
  out += digits[c >> 4];
  out += digits[c & 15];
}

}  // namespace

std::string json_string_1252(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || undefined) {
      escape(out, c);
    } else {
      out += utf8_from_1252(std::string_view(&ch, 1));
    }
  }
  return out + "\"";
}

std::string json_string_utf8(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c == 0x7F) {
      escape(out, c);
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

}  // namespace scenario
