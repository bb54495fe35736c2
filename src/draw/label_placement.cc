#include "draw/label_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario {

double box::overlap(const box& other) const {
  const double w = std::min(x1, other.x1) - std::max(x0, other.x0);
  const double h = std::min(y1, other.y1) - std::max(y0, other.y0);
  return w > 0 && h > 0 ? w * h : 0;
}

box centred_box(double cx, double cy, double width, double height) {
  return {cx - width / 2, cy - height / 2, cx + width / 2, cy + height / 2};
}

double text_width(std::string_view text, double font_size) {
  double em = 0;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte of a UTF-8 character
    if (c == ' ')
      em += 0.32;
    else if (c == '.' || c == ',' || c == ':' || c == ';' || c == '\'' || c == '|')
      em += 0.36;
    else if (c == '-' || c == '(' || c == ')')
      em += 0.4;
    else if (c >= 'a' && c <= 'z')
      em += 0.62;
    else if (c >= '0' && c <= '9')
      em += 0.64;
    else
      em += 0.76;  // capitals, symbols and anything beyond ASCII
  }
  return em * font_size;
}

label_placer::label_placer(const std::vector<box>& obstacles) {
  for (const box& b : obstacles) add(b);
}

template <typename F>
void label_placer::for_squares(const box& b, F f) const {
  // Far outside any picture: one square holds it, so nothing is lost.
  const auto index = [](double v) {
    if (std::isnan(v)) v = 0;
    return static_cast<std::int64_t>(std::floor(std::clamp(v, -1e6, 1e6) / k_square));
  };
  for (std::int64_t ix = index(b.x0); ix <= index(b.x1); ++ix)
    for (std::int64_t iy = index(b.y0); iy <= index(b.y1); ++iy) f(ix * 1000003 + iy);
}

void label_placer::add(const box& b) {
  const std::size_t id = boxes_.size();
  boxes_.push_back(b);
  seen_.push_back(0);
  for_squares(b, [&](std::int64_t key) { squares_[key].push_back(id); });
}

double label_placer::covered(const box& b) {
  ++query_;
  double sum = 0;
  for_squares(b, [&](std::int64_t key) {
    const auto it = squares_.find(key);
    if (it == squares_.end()) return;
    for (const std::size_t id : it->second) {
      if (seen_[id] == query_) continue;
      seen_[id] = query_;
      sum += b.overlap(boxes_[id]);
    }
  });
  return sum;
}

placement label_placer::place(const std::vector<box>& candidates) {
  placement best;
  double least = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const double c = covered(candidates[i]);
    if (c == 0) {
      best = {i, candidates[i], true};
      break;
    }
    if (c < least) {
      least = c;
      best = {i, candidates[i], false};
    }
  }
  if (!best.clear) ++overlaps_;
  labels_.push_back(best.where);
  add(best.where);
  return best;
}

placement label_placer::place_if_clear(const std::vector<box>& candidates, bool count) {
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (covered(candidates[i]) == 0) {
      labels_.push_back(candidates[i]);
      add(candidates[i]);
      return {i, candidates[i], true};
    }
  }
  if (count) ++omitted_;
  return {0, {}, false};
}

}  // namespace scenario
