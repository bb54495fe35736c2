// Placing text labels so that none covers another: each label offers a few
// positions in order of preference and takes the first that is clear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace scenario {

// An axis-aligned rectangle in picture pixels, x0 <= x1 and y0 <= y1.
struct box {
  double x0 = 0;
  double y0 = 0;
  double x1 = 0;
  double y1 = 0;

  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
  // The area two boxes share; 0 when they only touch.
  double overlap(const box& other) const;
};

// A box of the given size centred on (cx, cy).
box centred_box(double cx, double cy, double width, double height);

// The width a line of UTF-8 text takes at a font size, estimated generously
// for a common sans-serif face, so that estimated boxes contain the glyphs.
double text_width(std::string_view text, double font_size);

// Where one label went: the index of the candidate taken and its box.
struct placement {
  std::size_t candidate = 0;
  box where;
  bool clear = true;  // false: every candidate overlapped something
};

class label_placer {
 public:
  // Obstacles are boxes no label may cover (lines, markers).
  explicit label_placer(const std::vector<box>& obstacles = {});

  // Places a label that must appear: the first candidate clear of every
  // obstacle and every label placed so far, or, when none is, the candidate
  // with the least overlap. candidates must not be empty.
  placement place(const std::vector<box>& candidates);
  // Places a label that may be left out: the first clear candidate, or
  // nothing (clear false, no box kept). A label left out counts in omitted()
  // unless it is only a reading aid (count false).
  placement place_if_clear(const std::vector<box>& candidates, bool count = true);

  void add_obstacle(const box& b) { add(b); }
  // A mark of the picture (a glyph standing for an object): an obstacle to
  // labels, kept so that tests can see no two marks share a place.
  void add_mark(const box& b) {
    add(b);
    marks_.push_back(b);
  }
  const std::vector<box>& marks() const { return marks_; }
  // Every label placed so far, in order.
  const std::vector<box>& labels() const { return labels_; }
  // How many labels that must appear could not be placed clear.
  std::size_t overlaps() const { return overlaps_; }
  // How many counted labels were left out.
  std::size_t omitted() const { return omitted_; }

 private:
  // Boxes are filed by the squares of a coarse grid they touch, so that a
  // candidate is compared only with its neighbours.
  static constexpr double k_square = 64;

  void add(const box& b);
  double covered(const box& b);
  template <typename F>
  void for_squares(const box& b, F f) const;

  std::vector<box> boxes_;  // obstacles and labels
  std::unordered_map<std::int64_t, std::vector<std::size_t>> squares_;
  std::vector<std::size_t> seen_;  // per box: the last query that counted it
  std::size_t query_ = 0;
  std::vector<box> labels_;
  std::vector<box> marks_;
  std::size_t overlaps_ = 0;
  std::size_t omitted_ = 0;
};

}  // namespace scenario
