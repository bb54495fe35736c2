// The glyphs that stand for lineside objects, shared by the lanes and the
// legend. Each is drawn about an anchor x and returns the box it covers.
#pragma once

#include <string>

#include "draw/label_placement.h"
#include "draw/svg_writer.h"
#include "model/percorso.h"

namespace scenario {

// A signal from its packed values, standing on a mast whose foot is at
// (x, foot): the head's shape tells the type (valore_d), its three lamps the
// aspect codes (tens of valore_a, valore_b, valore_c; a ring where the units
// are not 0), a bar across the mast a tens digit of the type, a red mast a
// clearing delay.
box signal_glyph(svg_writer& svg, double x, double foot, const cella& c);

// The colour of an aspect code 0 to 6 (and one for any other).
const char* aspect_colour(int code);

// A speed board (white) or a text board (grey) whose middle is (x, y).
box board_glyph(svg_writer& svg, double x, double y, bool text_board);

// A warning triangle whose top is at (x, top).
box warning_glyph(svg_writer& svg, double x, double top);

// A slowdown's start (flag to the left of the pole) or end (flag to the
// right), so that a start and an end one cell apart never share a place.
box slowdown_flag(svg_writer& svg, double x, double top, bool start);

// A code point (filled when it carries a value) centred on (x, y).
box code_point_glyph(svg_writer& svg, double x, double y, bool with_value);

// Objects too close to be drawn apart: a bar from x0 to x1 around y (at
// least 1 px wide).
box group_glyph(svg_writer& svg, double x0, double x1, double y, const std::string& colour);

}  // namespace scenario
