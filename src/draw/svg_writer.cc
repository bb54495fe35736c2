#include "draw/svg_writer.h"

#include <charconv>
#include <cmath>

namespace scenario {

std::string svg_number(double v) {
  if (!std::isfinite(v)) return "0";
  v = std::round(v * 100) / 100;
  if (v == 0) return "0";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  if (r.ec != std::errc{}) {
    // Too long written out in full: the exponent form, which SVG reads too,
    // fits any double.
    const auto e = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    return e.ec == std::errc{} ? std::string(buf, e.ptr) : "0";
  }
  std::string s(buf, r.ptr);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string xml_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\n' && ch != '\r')
          out += "\xEF\xBF\xBD";
        else
          out += ch;
    }
  }
  return out;
}

void svg_writer::start_tag(std::string_view name, svg_attributes attributes) {
  out_ += '<';
  out_ += name;
  for (const auto& [key, value] : attributes) {
    out_ += ' ';
    out_ += key;
    out_ += "=\"";
    out_ += xml_escape(value);
    out_ += '"';
  }
}

void svg_writer::element(std::string_view name, svg_attributes attributes) {
  start_tag(name, attributes);
  out_ += "/>\n";
}

void svg_writer::open(std::string_view name, svg_attributes attributes) {
  start_tag(name, attributes);
  out_ += ">\n";
  open_.emplace_back(name);
}

void svg_writer::close() {
  if (open_.empty()) return;
  out_ += "</" + open_.back() + ">\n";
  open_.pop_back();
}

void svg_writer::text(svg_attributes attributes, std::string_view content) {
  start_tag("text", attributes);
  out_ += '>';
  out_ += xml_escape(content);
  out_ += "</text>\n";
}

void svg_writer::title(std::string_view content) {
  out_ += "<title>";
  out_ += xml_escape(content);
  out_ += "</title>\n";
}

void svg_writer::comment(std::string_view note) {
  std::string safe(note);
  for (std::size_t at = safe.find("--"); at != std::string::npos; at = safe.find("--", at))
    safe.replace(at, 2, "- -");
  if (!safe.empty() && safe.back() == '-') safe += ' ';
  out_ += "<!-- " + xml_escape(safe) + " -->\n";
}

std::string svg_writer::finish(double width, double height) {
  while (!open_.empty()) close();
  std::string body = std::move(out_);
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  start_tag("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                    {"width", svg_number(width)},
                    {"height", svg_number(height)},
                    {"viewBox", "0 0 " + svg_number(width) + " " + svg_number(height)}});
  out_ += ">\n" + body + "</svg>\n";
  return std::move(out_);
}

}  // namespace scenario
