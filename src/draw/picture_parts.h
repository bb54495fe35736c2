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
#include "model/percorso.h"
#include "model/profilo.h"
#include "model/stazioni.h"

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
  const profilo_t& plan;
  std::vector<station_view> stations;
  double route_end = 0;  // metres: the route length of record 84, or the grid's end
  double axis_end = 0;   // metres: the distance axis runs from 0 to here, whole km
};

// The font family and the two label sizes of the picture.
inline constexpr const char* k_font = "DejaVu Sans, Verdana, Arial, sans-serif";
inline constexpr double k_label_font = 12;
inline constexpr double k_small_font = 10;

// Metres along the line to picture x.
class distance_axis {
 public:
  distance_axis(double left, double right, double end_m)
      : left_(left), right_(right), end_(end_m) {}
  double x(double m) const { return left_ + (right_ - left_) * std::clamp(m, 0.0, end_) / end_; }
  double left() const { return left_; }
  double right() const { return right_; }
  double end() const { return end_; }
  bool covers(double m) const { return m >= 0 && m <= end_; }

 private:
  double left_;
  double right_;
  double end_;
};

// A line from (x1, y1) to (x2, y2); dash is an SVG dash pattern or empty.
void svg_line(svg_writer& svg, double x1, double y1, double x2, double y2,
              const std::string& colour, const std::string& width, const std::string& dash = "");

// A text with its anchor ("start", "middle", "end") at (x, y), the baseline.
void small_text(svg_writer& svg, double x, double y, const std::string& text,
                const std::string& anchor, double size = k_small_font,
                const std::string& colour = "#333");

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

// The plan panel inside area: the line, its start and end, the stations and
// a scale. Labels go through placer.
void draw_plan_panel(svg_writer& svg, const scenario_view& view, const box& area,
                     label_placer& placer);

// The lanes of lineside objects from top down; returns the y where they end.
double draw_lanes(svg_writer& svg, const scenario_view& view, const distance_axis& ax, double top,
                  label_placer& placer);
double lanes_height();

// The panels that share the distance axis, from top: station names,
// elevation, speed limit, lineside lanes, the axis. They span x from left to
// right and start at top; returns the y where they end.
double draw_profile_panels(svg_writer& svg, const scenario_view& view, double left, double right,
                           double top, label_placer& placer);

}  // namespace scenario
