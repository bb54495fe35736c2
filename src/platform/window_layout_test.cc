#include "platform/window_layout.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(WindowLayout, FifteenTwipsToAPixelAtNinetySixDpi) {
  EXPECT_EQ(twips_to_pixels(15, 96), 1);
  EXPECT_EQ(twips_to_pixels(4200, 96), 280);
  EXPECT_EQ(twips_to_pixels(2688, 96), 179);  // 179.2
  EXPECT_EQ(twips_to_pixels(2652, 96), 177);  // 176.8
  EXPECT_EQ(twips_to_pixels(792, 96), 53);    // 52.8
  EXPECT_EQ(points_to_pixels(24, 96), 32);
}

TEST(WindowLayout, HalvesGoToTheEvenPixel) {
  // At 48 dpi a pixel is 30 twips: 15 twips is half a pixel, 45 one and a half.
  EXPECT_EQ(twips_to_pixels(15, 48), 0);
  EXPECT_EQ(twips_to_pixels(45, 48), 2);
  EXPECT_EQ(twips_to_pixels(75, 48), 2);
  EXPECT_EQ(points_to_pixels(3, 12), 0);  // 0.5
  EXPECT_EQ(points_to_pixels(9, 12), 2);  // 1.5
}

TEST(WindowLayout, ProgressWindowAtTheLayoutResolution) {
  const progress_layout expected{280, 179, {64, 64, 177, 53}, 32};
  EXPECT_EQ(progress_window_layout(), expected);
}

TEST(WindowLayout, ProgressWindowScalesWithTheResolution) {
  const progress_layout expected{350, 224, {80, 80, 221, 66}, 40};
  EXPECT_EQ(progress_window_layout(120), expected);
}

}  // namespace
}  // namespace scenario
