#include "common/utf8_text.h"

#include <array>
#include <cstdio>

namespace scenario {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0 marks the undefined ones.
constexpr std::array<std::uint16_t, 32> k_high_controls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

bool next_code_point(std::string_view text, std::size_t& at, std::uint32_t& cp) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  std::uint32_t least = 0;
  if (lead < 0x80) {
    cp = lead;
    ++at;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, least = 0x80, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, least = 0x800, cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, least = 0x10000, cp = lead & 0x07;
  } else {
    return false;
  }
  if (text.size() - at < length) return false;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  at += length;
  return true;
}

int byte_1252(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < k_high_controls.size(); ++i)
    if (k_high_controls[i] != 0 && k_high_controls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

std::string utf8_from_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    std::uint32_t cp = b;
    if (b >= 0x80 && b <= 0x9F) {
      cp = k_high_controls[b - 0x80];
      if (cp == 0) cp = 0xFFFD;
    }
    append_utf8(out, cp);
  }
  return out;
}

text_1252 utf8_to_1252(std::string_view utf8) {
  text_1252 r;
  r.text.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::size_t start = at;
    std::uint32_t cp = 0;
    const bool decoded = next_code_point(utf8, at, cp);
    const int b = decoded ? byte_1252(cp) : -1;
    if (b < 0) {
      r.ok = false;
      r.failed_at = start;
      r.failed_cp = decoded ? cp : 0;
      return r;
    }
    r.text += static_cast<char>(b);
  }
  return r;
}

std::string code_point_name(std::uint32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

}  // namespace scenario
