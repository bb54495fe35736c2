// The progress window's layout, kept in twips (1/1440 inch) as designed and
// converted to the pixels a window system draws in.
#pragma once

namespace scenario {

// The resolution the layout is drawn at: 96 pixels per inch, 15 twips to a
// pixel, whatever size the monitor reports.
inline constexpr int k_layout_dpi = 96;

// twips at dpi pixels per inch, rounded to the nearest pixel, halves to the
// even neighbour. twips must not be negative; dpi must be positive.
int twips_to_pixels(int twips, int dpi);

// points (1/72 inch) at dpi pixels per inch, rounded the same way.
int points_to_pixels(int points, int dpi);

struct pixel_rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const pixel_rect&) const = default;
};

// The progress window in pixels: its client area, the label's rectangle in
// client coordinates, and the label's bold sans-serif font size.
struct progress_layout {
  int client_width = 0;
  int client_height = 0;
  pixel_rect label;
  int label_font_pixels = 0;
  bool operator==(const progress_layout&) const = default;
};

// The progress window at dpi: client area 4200 x 2688 twips, label at 960,
// 960 sized 2652 x 792 twips, font 24 points.
progress_layout progress_window_layout(int dpi = k_layout_dpi);

}  // namespace scenario
