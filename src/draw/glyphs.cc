#include "draw/glyphs.h"

#include <algorithm>
#include <string>

namespace scenario {
namespace {

std::string pts(std::initializer_list<std::pair<double, double>> points) {
  std::string s;
  for (const auto& [x, y] : points) {
    if (!s.empty()) s += ' ';
    s += svg_number(x) + "," + svg_number(y);
  }
  return s;
}

}  // namespace

const char* aspect_colour(int code) {
  static constexpr const char* k_colours[] = {"#ffffff", "#2e7d32", "#f9a825", "#c62828",
                                              "#1565c0", "#8e24aa", "#00897b"};
  return code >= 0 && code <= 6 ? k_colours[code] : "#000000";
}

box signal_glyph(svg_writer& svg, double x, double foot, const cella& c) {
  const double head_top = foot - 27;
  const double head_bottom = head_top + 15;
  svg.element("line", {{"x1", svg_number(x)},
                       {"y1", svg_number(foot)},
                       {"x2", svg_number(x)},
                       {"y2", svg_number(head_bottom)},
                       {"stroke", c.ritardo > 0 ? "#c62828" : "#263238"},
                       {"stroke-width", "1.6"}});
  // Type 6 (the signals that carry a clearing delay) has a rounded head.
  const int type = c.valore_d;
  const bool rounded = type % 10 == 6;
  svg.element("rect", {{"x", svg_number(x - 4)},
                       {"y", svg_number(head_top)},
                       {"width", "8"},
                       {"height", "15"},
                       {"rx", rounded ? "4" : "0.8"},
                       {"fill", type % 10 == 3 || rounded ? "#263238" : "#6d4c41"}});
  if (type / 10 != 0)
    svg.element("line", {{"x1", svg_number(x - 4)},
                         {"y1", svg_number(head_bottom + 4)},
                         {"x2", svg_number(x + 4)},
                         {"y2", svg_number(head_bottom + 4)},
                         {"stroke", "#263238"},
                         {"stroke-width", "2"}});
  const int values[] = {c.valore_a, c.valore_b, c.valore_c};
  for (int i = 0; i < 3; ++i)
    svg.element("circle", {{"cx", svg_number(x)},
                           {"cy", svg_number(head_top + 3 + i * 4.5)},
                           {"r", "1.7"},
                           {"fill", aspect_colour(values[i] / 10)},
                           {"stroke", values[i] % 10 != 0 ? "#ffffff" : "#263238"},
                           {"stroke-width", "0.6"}});
  return {x - 4.5, head_top, x + 4.5, foot};
}

box board_glyph(svg_writer& svg, double x, double y, bool text_board) {
  svg.element("rect", {{"x", svg_number(x - 4)},
                       {"y", svg_number(y - 5.5)},
                       {"width", "8"},
                       {"height", "11"},
                       {"fill", text_board ? "#ddd" : "white"},
                       {"stroke", "#111"},
                       {"stroke-width", "1.2"}});
  return {x - 5, y - 6.5, x + 5, y + 6.5};
}

box warning_glyph(svg_writer& svg, double x, double top) {
  svg.element("polygon", {{"points", pts({{x, top}, {x - 7, top + 13}, {x + 7, top + 13}})},
                          {"fill", "#fdd835"},
                          {"stroke", "#111"},
                          {"stroke-width", "1"}});
  return {x - 7.5, top - 0.5, x + 7.5, top + 13.5};
}

box slowdown_flag(svg_writer& svg, double x, double top, bool start) {
  svg.element("line", {{"x1", svg_number(x)},
                       {"y1", svg_number(top)},
                       {"x2", svg_number(x)},
                       {"y2", svg_number(top + 18)},
                       {"stroke", "#e65100"},
                       {"stroke-width", "1.5"}});
  const double fx = start ? x - 8 : x;
  svg.element("rect", {{"x", svg_number(fx)},
                       {"y", svg_number(top)},
                       {"width", "8"},
                       {"height", "6"},
                       {"fill", start ? "#e65100" : "white"},
                       {"stroke", "#e65100"},
                       {"stroke-width", "1"}});
  return start ? box{x - 8.5, top - 0.5, x + 0.8, top + 18}
               : box{x - 0.8, top - 0.5, x + 8.5, top + 18};
}

box code_point_glyph(svg_writer& svg, double x, double y, bool with_value) {
  svg.element("polygon", {{"points", pts({{x, y - 6}, {x + 3.5, y}, {x, y + 6}, {x - 3.5, y}})},
                          {"fill", with_value ? "#6a1b9a" : "white"},
                          {"stroke", "#6a1b9a"},
                          {"stroke-width", "1.2"}});
  return {x - 4, y - 6.5, x + 4, y + 6.5};
}

box group_glyph(svg_writer& svg, double x0, double x1, double y, const std::string& colour) {
  const double a = std::min(x0, x1);
  const double b = std::max(std::max(x0, x1), a + 1);
  svg.element("rect", {{"x", svg_number(a)},
                       {"y", svg_number(y - 5)},
                       {"width", svg_number(b - a)},
                       {"height", "10"},
                       {"rx", "3"},
                       {"fill", colour},
                       {"fill-opacity", "0.35"},
                       {"stroke", colour},
                       {"stroke-width", "1"}});
  return {a, y - 5.5, b, y + 5.5};
}

}  // namespace scenario
