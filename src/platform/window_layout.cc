#include "platform/window_layout.h"

#include <cstdint>

#include "common/numeric.h"

namespace scenario {
namespace {

constexpr int k_twips_per_inch = 1440;
constexpr int k_points_per_inch = 72;

constexpr int k_client_width_twips = 4200;
constexpr int k_client_height_twips = 2688;
constexpr int k_label_left_twips = 960;
constexpr int k_label_top_twips = 960;
constexpr int k_label_width_twips = 2652;
constexpr int k_label_height_twips = 792;
constexpr int k_label_font_points = 24;

}  // namespace

int twips_to_pixels(int twips, int dpi) {
  return static_cast<int>(
      round_half_even(static_cast<std::int64_t>(twips) * dpi, k_twips_per_inch));
}

int points_to_pixels(int points, int dpi) {
  return static_cast<int>(
      round_half_even(static_cast<std::int64_t>(points) * dpi, k_points_per_inch));
}

progress_layout progress_window_layout(int dpi) {
  progress_layout l;
  l.client_width = twips_to_pixels(k_client_width_twips, dpi);
  l.client_height = twips_to_pixels(k_client_height_twips, dpi);
  l.label = {twips_to_pixels(k_label_left_twips, dpi), twips_to_pixels(k_label_top_twips, dpi),
             twips_to_pixels(k_label_width_twips, dpi), twips_to_pixels(k_label_height_twips, dpi)};
  l.label_font_pixels = points_to_pixels(k_label_font_points, dpi);
  return l;
}

}  // namespace scenario
