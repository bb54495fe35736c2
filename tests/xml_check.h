// A small well-formedness check of XML text for the picture tests, so that
// they need no XML library: one root element, every element closed in order,
// attributes quoted and not repeated, only known entities, valid UTF-8 and no
// character XML forbids. It also collects the content of every <text> element.
#pragma once

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

struct xml_check {
  std::string error;               // empty when the text is well-formed
  std::vector<std::string> texts;  // content of each <text> element, entities resolved
};

inline xml_check check_xml(std::string_view x) {
  xml_check r;
  std::size_t at = 0;
  auto fail = [&](const std::string& why) {
    if (r.error.empty()) r.error = "offset " + std::to_string(at) + ": " + why;
    return r;
  };
  // Characters: valid UTF-8, no controls but tab, line feed and carriage return.
  for (std::size_t i = 0; i < x.size();) {
    const auto c = static_cast<unsigned char>(x[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > x.size()) {
      at = i;
      return fail("bad UTF-8");
    }
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(x[i + k]) & 0xC0) != 0x80) {
        at = i;
        return fail("bad UTF-8");
      }
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      at = i;
      return fail("control character");
    }
    i += n;
  }
  auto is_name_start = [](char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':';
  };
  auto is_name = [&](char c) {
    return is_name_start(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
  };
  // Resolves the entities of s; false when one is unknown.
  auto resolve = [](std::string_view s, std::string& out) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] != '&') {
        out += s[i];
        continue;
      }
      const std::size_t semi = s.find(';', i);
      if (semi == std::string_view::npos) return false;
      const std::string_view e = s.substr(i + 1, semi - i - 1);
      if (e == "amp")
        out += '&';
      else if (e == "lt")
        out += '<';
      else if (e == "gt")
        out += '>';
      else if (e == "quot")
        out += '"';
      else if (e == "apos")
        out += '\'';
      else if (e.size() > 1 && e[0] == '#')
        out += '?';
      else
        return false;
      i = semi;
    }
    return true;
  };
  auto skip_space = [&] {
    while (at < x.size() && std::isspace(static_cast<unsigned char>(x[at]))) ++at;
  };

  if (x.substr(0, 5) == "<?xml") {
    at = x.find("?>");
    if (at == std::string_view::npos) return fail("unclosed declaration");
    at += 2;
  }
  std::vector<std::string> open;
  bool had_root = false;
  std::string text;
  while (at < x.size()) {
    if (x[at] != '<') {
      const std::size_t end = std::min(x.find('<', at), x.size());
      const std::string_view chunk = x.substr(at, end - at);
      if (open.empty() && chunk.find_first_not_of(" \t\r\n") != std::string_view::npos)
        return fail("text outside the root element");
      if (chunk.find("]]>") != std::string_view::npos) return fail("]]> in text");
      if (!resolve(chunk, text)) return fail("unknown entity in text");
      at = end;
      continue;
    }
    if (x.substr(at, 4) == "<!--") {
      const std::size_t end = x.find("-->", at + 4);
      if (end == std::string_view::npos) return fail("unclosed comment");
      if (x.substr(at + 4, end - at - 4).find("--") != std::string_view::npos)
        return fail("-- in comment");
      at = end + 3;
      continue;
    }
    if (x.substr(at, 2) == "</") {
      at += 2;
      const std::size_t start = at;
      while (at < x.size() && is_name(x[at])) ++at;
      const std::string name(x.substr(start, at - start));
      skip_space();
      if (at >= x.size() || x[at] != '>') return fail("bad end tag");
      if (open.empty() || open.back() != name)
        return fail("end tag </" + name + "> does not match");
      if (name == "text") r.texts.push_back(text);
      open.pop_back();
      ++at;
      continue;
    }
    ++at;
    if (at >= x.size() || !is_name_start(x[at])) return fail("bad start tag");
    const std::size_t start = at;
    while (at < x.size() && is_name(x[at])) ++at;
    const std::string name(x.substr(start, at - start));
    if (open.empty() && had_root) return fail("second root element");
    std::set<std::string> attributes;
    for (;;) {
      const std::size_t before = at;
      skip_space();
      if (at >= x.size()) return fail("unclosed start tag");
      if (x[at] == '>' || x.substr(at, 2) == "/>") break;
      if (at == before || !is_name_start(x[at])) return fail("bad attribute");
      const std::size_t a = at;
      while (at < x.size() && is_name(x[at])) ++at;
      const std::string attribute(x.substr(a, at - a));
      if (!attributes.insert(attribute).second) return fail("repeated attribute " + attribute);
      skip_space();
      if (at >= x.size() || x[at] != '=') return fail("attribute without value");
      ++at;
      skip_space();
      if (at >= x.size() || (x[at] != '"' && x[at] != '\'')) return fail("unquoted attribute");
      const char quote = x[at++];
      const std::size_t end = x.find(quote, at);
      if (end == std::string_view::npos) return fail("unclosed attribute");
      const std::string_view value = x.substr(at, end - at);
      std::string ignored;
      if (value.find('<') != std::string_view::npos) return fail("< in attribute");
      if (!resolve(value, ignored)) return fail("unknown entity in attribute");
      at = end + 1;
    }
    had_root = true;
    if (x[at] == '/') {
      at += 2;
      continue;
    }
    ++at;
    open.push_back(name);
    if (name == "text") text.clear();
  }
  if (!open.empty()) return fail("unclosed element <" + open.back() + ">");
  if (!had_root) return fail("no root element");
  return r;
}

}  // namespace scenario::testing
