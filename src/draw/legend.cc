// The key under the picture: one entry per glyph, in rows.
#include <functional>
#include <string>

#include "draw/glyphs.h"
#include "draw/picture_parts.h"

namespace scenario {

namespace {

// Entries laid out in rows: each a glyph, then its words.
class legend_rows {
 public:
  legend_rows(svg_writer& svg, label_placer& placer, double left, double right, double top)
      : svg_(svg), placer_(placer), left_(left), right_(right), x_(left), y_(top + 14) {}

  // glyph_width: the room the glyph takes before its text.
  void entry(const std::string& text, const std::function<void(double, double)>& glyph,
             double glyph_width = 16) {
    if (x_ + glyph_width + 14 + text_width(text, 11) > right_) {
      x_ = left_;
      y_ += 30;
    }
    glyph(x_ + 8, y_);
    const double tx = x_ + glyph_width + 4;
    const placement p = placer_.place({{tx, y_ - 7, tx + text_width(text, 11), y_ + 7}});
    label_text(svg_, p.where, text, 11, "fill:#222");
    x_ = tx + text_width(text, 11) + 14;
  }
  double bottom() const { return y_ + 18; }
  svg_writer& svg() { return svg_; }

 private:
  svg_writer& svg_;
  label_placer& placer_;
  double left_;
  double right_;
  double x_;
  double y_;
};

void lineside_entries(legend_rows& rows) {
  svg_writer& svg = rows.svg();
  rows.entry("station (plan), area and stop (lane)", [&](double cx, double cy) {
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
  rows.entry("signal: lamps show the three aspect codes, the head its type",
             [&](double cx, double cy) { signal_glyph(svg, cx, cy + 12, block); });
  cella delayed = block;
  delayed.valore_c = 10;
  delayed.valore_d = 6;
  delayed.ritardo = 140;
  rows.entry("signal with clearing delay (s)",
             [&](double cx, double cy) { signal_glyph(svg, cx, cy + 12, delayed); });
  rows.entry(
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
  rows.entry(
      "speed board (km/h) / text board",
      [&](double cx, double cy) {
        board_glyph(svg, cx - 5, cy, false);
        board_glyph(svg, cx + 6, cy, true);
      },
      22);
  rows.entry("slowdown warning", [&](double cx, double cy) { warning_glyph(svg, cx, cy - 7); });
  rows.entry(
      "slowdown start / end",
      [&](double cx, double cy) {
        slowdown_flag(svg, cx - 1, cy - 9, true);
        slowdown_flag(svg, cx + 2, cy - 9, false);
      },
      22);
  rows.entry(
      "code point / without value",
      [&](double cx, double cy) {
        code_point_glyph(svg, cx - 4, cy, true);
        code_point_glyph(svg, cx + 5, cy, false);
      },
      22);
  rows.entry("objects too close to part (count; the tooltip lists them)",
             [&](double cx, double cy) { group_glyph(svg, cx - 6, cx + 6, cy, "#263238"); });
}

void line_entries(legend_rows& rows) {
  svg_writer& svg = rows.svg();
  rows.entry("curve to the right / left (taller: sharper)", [&](double cx, double cy) {
    svg_rect(svg, {cx - 7, cy - 8, cx, cy}, "#5c6bc0");
    svg_rect(svg, {cx, cy, cx + 7, cy + 5}, "#26a69a");
  });
  rows.entry("scenery section with markers", [&](double cx, double cy) {
    svg_rect(svg, {cx - 8, cy - 6, cx + 8, cy + 6}, "#a1887f", "#777", "0.6");
    svg_line(svg, cx - 3, cy, cx - 3, cy + 6, "#333", "1");
    svg_line(svg, cx + 3, cy, cx + 3, cy + 6, "#333", "1");
  });
  rows.entry("railway kilometre post", [&](double cx, double cy) {
    svg_line(svg, cx, cy - 5, cx, cy + 5, "#2e7d32", "1.4");
  });
}

}  // namespace

double draw_legend(svg_writer& svg, label_placer& placer, double left, double right, double top) {
  legend_rows rows(svg, placer, left, right, top);
  lineside_entries(rows);
  line_entries(rows);
  return rows.bottom();
}

}  // namespace scenario
