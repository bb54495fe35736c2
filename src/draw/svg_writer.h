// A small writer of SVG text: elements, attributes and text are escaped as
// they are added, and every element opened is closed, so the result is always
// well-formed XML.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// One attribute: name and value (UTF-8, escaped by the writer).
using svg_attribute = std::pair<std::string_view, std::string>;
using svg_attributes = std::initializer_list<svg_attribute>;

// A coordinate or length as SVG text: at most two decimals, no trailing
// zeros, never "-0"; a value too large to write out in full takes the
// exponent form; a value that is not finite becomes "0".
std::string svg_number(double v);

// text with &, <, >, " and ' escaped, and the characters XML does not allow
// (controls other than tab, line feed and carriage return) replaced by
// U+FFFD. text must be UTF-8.
std::string xml_escape(std::string_view text);

class svg_writer {
 public:
  svg_writer() = default;

  // <name attributes/>
  void element(std::string_view name, svg_attributes attributes);
  // <name attributes>, closed by close().
  void open(std::string_view name, svg_attributes attributes = {});
  void close();
  // <text attributes>content</text>
  void text(svg_attributes attributes, std::string_view content);
  // <title>content</title>: the tooltip of the element it stands in.
  void title(std::string_view content);
  // <!-- note -->, for a reader of the file; "--" in note is broken up.
  void comment(std::string_view note);

  // The document: everything added, every open element closed, inside a root
  // element of the given size in pixels (known only once the drawing is done).
  std::string finish(double width, double height);

 private:
  void start_tag(std::string_view name, svg_attributes attributes);

  std::string out_;
  std::vector<std::string> open_;
};

}  // namespace scenario
