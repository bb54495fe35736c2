// What the panels of the route picture share: the scenario as the picture
// sees it and the drawing helpers every panel uses.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "draw/label_placement.h"
#include "draw/svg_writer.h"
#include "inspect/route_facts.h"
#include "model/percorso.h"
#include "model/profilo.h"
#include "model/source_map.h"
#include "model/stazioni.h"
#include "output/plan_reader.h"

namespace scenario {

// A station as the picture shows it: its record, name in UTF-8.
struct station_view {
  int slot = 0;
  std::string name;
  std::int32_t posizione = 0;
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
};

// The decoded scenario, with the values every panel needs.
struct scenario_view {
  const percorso_t& grid;
  const stazioni_t& table;
  const plan_cursor& plan;  // read a window at a time
  const plan_outline& outline;
  std::vector<station_view> stations;
  std::vector<km_reference> km_refs;
  double route_end = 0;  // metres: the route length of record 84, or the grid's end
  double from = 0;       // metres: the stretch drawn
  double to = 0;
  const source_map* sources = nullptr;  // where objects came from, when known
  std::string line_file;                // the descriptions' names for a source line
  std::string train_file;
  bool record_ids = false;  // groups name their records (picture_options)
};

// The font family and the two label sizes of the picture.
// One family, not a list: ImageMagick takes the whole attribute for one
// font name and writes no text at all for a list.
inline constexpr const char* k_font = "DejaVu Sans";
inline constexpr double k_label_font = 12;
inline constexpr double k_small_font = 10;

// Metres along the line to picture x, over the stretch from to to.
class distance_axis {
 public:
  distance_axis(double left, double right, double from_m, double to_m)
      : left_(left), right_(right), from_(from_m), to_(std::max(to_m, from_m + 1)) {}
  double x(double m) const {
    return left_ + (right_ - left_) * (std::clamp(m, from_, to_) - from_) / (to_ - from_);
  }
  double left() const { return left_; }
  double right() const { return right_; }
  double from() const { return from_; }
  double to() const { return to_; }
  double pixels_per_metre() const { return (right_ - left_) / (to_ - from_); }
  bool covers(double m) const { return m >= from_ && m <= to_; }
  // True when the stretch a to b (metres) shows at least in part.
  bool shows(double a, double b) const { return b >= from_ && a <= to_; }

 private:
  double left_;
  double right_;
  double from_;
  double to_;
};

// Where a place is, for a tooltip: "15300 m, km 156+800" (the railway's
// count where the line has a kilometric reference).
std::string place_text(const scenario_view& view, double metres);

// The record that made the object in cell n, the scenery of cell n, or
// station-table record slot; not known() when the view has no sources.
source_ref object_ref(const scenario_view& view, std::size_t cell);
source_ref scenery_ref(const scenario_view& view, std::size_t cell);
source_ref slot_ref(const scenario_view& view, int slot);

// " (FILE:LINE)" for the record that made the object in cell n, or for
// station-table record slot; empty when not known.
std::string object_source(const scenario_view& view, std::size_t cell);
std::string scenery_source(const scenario_view& view, std::size_t cell);
std::string slot_source(const scenario_view& view, int slot);

// "line:12" or "train:7": the record from names, as a page names it.
std::string record_id(const source_ref& from);

// A line from (x1, y1) to (x2, y2); dash is an SVG dash pattern or empty.
void svg_line(svg_writer& svg, double x1, double y1, double x2, double y2,
              const std::string& colour, const std::string& width, const std::string& dash = "");

// A rectangle; stroke empty for none.
void svg_rect(svg_writer& svg, const box& b, const std::string& fill,
              const std::string& stroke = "", const std::string& width = "1");

// A text with its anchor ("start", "middle", "end") at (x, y), the baseline.
void small_text(svg_writer& svg, double x, double y, const std::string& text,
                const std::string& anchor, double size = k_small_font,
                const std::string& colour = "#333");

// Opens a group whose tooltip is title; close it with svg.close().
void open_titled(svg_writer& svg, const std::string& title);
// The same for an object made by the record from: with the view's
// record_ids, the group names it as data-record (record_id).
void open_object(svg_writer& svg, const scenario_view& view, const std::string& title,
                 const source_ref& from);
// The same for a stretch that records of the line description make by where
// they start (a curve, a gradient): with the view's record_ids the group is
// named data-record="curve:1500", what and the metres where it starts, and
// the record is the one whose start that is.
void open_stretch(svg_writer& svg, const scenario_view& view, const std::string& title,
                  std::string_view what, std::size_t metres);

// Obstacles along the segment from (x1, y1) to (x2, y2), so that labels
// keep off it.
void keep_off(label_placer& placer, double x1, double y1, double x2, double y2);

// Candidates for a label of width w beside x on the rows at ys: first to the
// preferred side (+1 right, -1 left), then the other, then centred.
std::vector<box> beside(double x, std::initializer_list<double> ys, int side, double w, double h,
                        double gap = 6);

// b slid along x as far as needed to stay within the axis.
box inside(const distance_axis& ax, box b);

// A text whose box is b, centred in it, at the given size.
void label_text(svg_writer& svg, const box& b, const std::string& text, double size,
                const std::string& extra_style = "");

// A short line from (x, y) to the nearest edge point of b, for a label that
// stands away from what it names.
void leader_line(svg_writer& svg, double x, double y, const box& b);

// Objects of one lane that stand closer than their glyphs are wide, joined:
// members are indices into the x positions given (sorted). A single object
// has x0 = x1 = its x; a group has the extent of its glyph, which never
// meets another's. A long run of close objects is cut into pieces of pitch
// pixels.
struct point_group {
  std::vector<std::size_t> members;
  double x0 = 0;
  double x1 = 0;
};
std::vector<point_group> group_points(const std::vector<double>& xs, double glyph_width,
                                      double pitch = 12);

// The tooltip of a group: its first lines, then how many more.
std::string group_title(const std::string& what, const std::vector<std::string>& lines);

// The plan panel inside area, as high as the plan's shape needs up to the
// area's height: the line, its start and end, the stations, the railway's
// kilometre posts and a scale. Returns the y where it ends.
double draw_plan_panel(svg_writer& svg, const scenario_view& view, const box& area,
                       label_placer& placer);

// The lanes of lineside objects from top down; returns the y where they end.
double draw_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer);

// The lanes of the line's own properties (curvature, scenery, adhesion);
// returns the y where they end.
double draw_line_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax,
                       double top, label_placer& placer);

// A lane's band and name; returns its top.
void lane_band(svg_writer& svg, const distance_axis& ax, double top, double height,
               const char* name, bool shaded);

// The panels that share the distance axis, from top: station names,
// elevation, speed limit, lanes, the axis with the railway's kilometre
// posts. They span x from left to right and start at top; returns the y
// where they end.
double draw_profile_panels(svg_writer& svg, const scenario_view& view, double left, double right,
                           double top, label_placer& placer);

// The key to every glyph, in rows from top within left to right; returns
// the y where it ends.
double draw_legend(svg_writer& svg, label_placer& placer, double left, double right, double top);

}  // namespace scenario
