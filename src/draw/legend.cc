// The key under the picture: one entry per glyph, in rows.
#include <functional>
#include <string>

#include "draw/glyphs.h"
#include "draw/picture_parts.h"

namespace scenario {

double draw_legend(svg_writer& svg, label_placer& placer, double left, double right, double top) {
  double x = left;
  double y = top + 14;
  // glyph_width: the room the glyph takes before its text.
  auto entry = [&](const std::string& text, const std::function<void(double, double)>& glyph,
                   double glyph_width = 16) {
    if (x + glyph_width + 14 + text_width(text, 11) > right) {
      x = left;
      y += 30;
    }
    glyph(x + 8, y);
    x += glyph_width - 16;
    const placement p = placer.place({{x + 20, y - 7, x + 20 + text_width(text, 11), y + 7}});
    label_text(svg, p.where, text, 11, "fill:#222");
    x += 34 + text_width(text, 11);
  };
  entry("station (plan), area and stop (lane)", [&](double cx, double cy) {
    svg.element("circle", {{"cx", svg_number(cx)},
                           {"cy", svg_number(cy)},
                           {"r", "4.5"},
                           {"fill", "white"},
                           {"stroke", "#111"},
                           {"stroke-width", "1.6"}});
  });
  cella block;
  block.valore_a = 40;
  block.valore_b = 10;
  block.valore_d = 3;
  entry("signal: lamps show the three aspect codes, the head its type",
        [&](double cx, double cy) { signal_glyph(svg, cx, cy + 12, block); });
  cella delayed = block;
  delayed.valore_c = 10;
  delayed.valore_d = 6;
  delayed.ritardo = 140;
  entry("signal with clearing delay (s)",
        [&](double cx, double cy) { signal_glyph(svg, cx, cy + 12, delayed); });
  entry(
      "aspect codes 0 to 6",
      [&](double cx, double cy) {
        for (int i = 0; i <= 6; ++i)
          svg.element("circle", {{"cx", svg_number(cx - 8 + i * 3.2)},
                                 {"cy", svg_number(cy)},
                                 {"r", "1.8"},
                                 {"fill", aspect_colour(i)},
                                 {"stroke", "#263238"},
                                 {"stroke-width", "0.6"}});
      },
      30);
  entry(
      "speed board (km/h) / text board",
      [&](double cx, double cy) {
        board_glyph(svg, cx - 5, cy, false);
        board_glyph(svg, cx + 6, cy, true);
      },
      22);
  entry("slowdown warning", [&](double cx, double cy) { warning_glyph(svg, cx, cy - 7); });
  entry(
      "slowdown start / end",
      [&](double cx, double cy) {
        slowdown_flag(svg, cx - 1, cy - 9, true);
        slowdown_flag(svg, cx + 2, cy - 9, false);
      },
      22);
  entry(
      "code point / without value",
      [&](double cx, double cy) {
        code_point_glyph(svg, cx - 4, cy, true);
        code_point_glyph(svg, cx + 5, cy, false);
      },
      22);
  entry("objects too close to part (count; the tooltip lists them)",
        [&](double cx, double cy) { group_glyph(svg, cx - 6, cx + 6, cy, "#263238"); });
  entry("curve to the right / left (taller: sharper)", [&](double cx, double cy) {
    svg_rect(svg, {cx - 7, cy - 8, cx, cy}, "#5c6bc0");
    svg_rect(svg, {cx, cy, cx + 7, cy + 5}, "#26a69a");
  });
  entry("scenery section with markers", [&](double cx, double cy) {
    svg_rect(svg, {cx - 8, cy - 6, cx + 8, cy + 6}, "#a1887f", "#777", "0.6");
    svg_line(svg, cx - 3, cy, cx - 3, cy + 6, "#333", "1");
    svg_line(svg, cx + 3, cy, cx + 3, cy + 6, "#333", "1");
  });
  entry("railway kilometre post",
        [&](double cx, double cy) { svg_line(svg, cx, cy - 5, cx, cy + 5, "#2e7d32", "1.4"); });
  return y + 18;
}

}  // namespace scenario
