#include "draw/label_placement.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(LabelPlacer, TakesTheFirstCandidateClearOfObstaclesAndLabels) {
  label_placer p({{0, 0, 10, 10}});
  const placement a = p.place({{5, 5, 15, 15}, {20, 0, 30, 10}, {40, 0, 50, 10}});
  EXPECT_TRUE(a.clear);
  EXPECT_EQ(a.candidate, 1u);
  // The label just placed is in the way of the next one.
  const placement b = p.place({{25, 5, 35, 15}, {10, 0, 20, 10}});
  EXPECT_EQ(b.candidate, 1u);  // touching edges do not overlap
  EXPECT_EQ(p.overlaps(), 0u);
  EXPECT_EQ(p.labels().size(), 2u);
}

TEST(LabelPlacer, WithoutRoomTakesTheLeastOverlapAndCountsIt) {
  label_placer p({{0, 0, 100, 10}});
  const placement a = p.place({{0, 0, 10, 10}, {95, 5, 105, 15}, {50, 0, 60, 10}});
  EXPECT_FALSE(a.clear);
  EXPECT_EQ(a.candidate, 1u);
  EXPECT_EQ(p.overlaps(), 1u);
  // A label that may be left out is, and is counted unless it is only a
  // reading aid.
  const placement b = p.place_if_clear({{0, 0, 10, 10}});
  EXPECT_FALSE(b.clear);
  EXPECT_FALSE(p.place_if_clear({{0, 0, 10, 10}}, false).clear);
  EXPECT_EQ(p.labels().size(), 1u);
  EXPECT_EQ(p.overlaps(), 1u);
  EXPECT_EQ(p.omitted(), 1u);
}

TEST(LabelPlacer, FarApartAndCrowdedBoxesAreComparedCorrectly) {
  // Boxes spanning many squares of the index, and far outside the picture.
  label_placer p({{-1e9, 100, 1e9, 110}, {500, 500, 501, 501}});
  EXPECT_FALSE(p.place_if_clear({{3000, 90, 3010, 101}}).clear);
  EXPECT_TRUE(p.place_if_clear({{3000, 90, 3010, 100}}).clear);
  EXPECT_FALSE(p.place_if_clear({{499, 499, 500.5, 500.5}}).clear);
  // A thousand labels in a row, each placed clear next to the one before.
  for (int i = 0; i < 1000; ++i)
    EXPECT_TRUE(p.place({{i * 10.0, 200, i * 10.0 + 9, 210}, {0, 0, 1, 1}}).clear);
  EXPECT_EQ(p.place({{5, 205, 6, 206}, {100, 300, 101, 301}}).candidate, 1u);
}

TEST(LabelPlacer, TextWidthGrowsWithCapitalsAndSize) {
  EXPECT_GT(text_width("MMMM", 12), text_width("mmmm", 12));
  EXPECT_DOUBLE_EQ(text_width("AB", 24), 2 * text_width("AB", 12));
  // A two-byte UTF-8 character counts once.
  EXPECT_DOUBLE_EQ(text_width("\xC3\x88", 10), text_width("E", 10));
}

}  // namespace
}  // namespace scenario
