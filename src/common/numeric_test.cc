#include "common/numeric.h"

#include <gtest/gtest.h>

#include <limits>

namespace scenario {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(round_half_even(7025, 50), 140);    // 140.5
  EXPECT_EQ(round_half_even(7075, 50), 142);    // 141.5
  EXPECT_EQ(round_half_even(51175, 50), 1024);  // 1023.5
  EXPECT_EQ(round_half_even(49925, 50), 998);   // 998.5
  EXPECT_EQ(round_half_even(-25, 50), 0);       // -0.5
  EXPECT_EQ(round_half_even(-75, 50), -2);      // -1.5
  EXPECT_EQ(round_half_even(-125, 50), -2);     // -2.5
}

TEST(RoundHalfEven, OtherFractionsGoToTheNearest) {
  EXPECT_EQ(round_half_even(8512, 5), 1702);  // 1702.4
  EXPECT_EQ(round_half_even(8513, 5), 1703);  // 1702.6
  EXPECT_EQ(round_half_even(-8512, 5), -1702);
  EXPECT_EQ(round_half_even(-8513, 5), -1703);
  EXPECT_EQ(round_half_even(77850, 50), 1557);
  EXPECT_EQ(round_half_even(0, 50), 0);
}

TEST(Narrowing, LowBitsWrap) {
  EXPECT_EQ(low_8(300), 44);
  EXPECT_EQ(low_8(-1), 255);
  EXPECT_EQ(low_16(65536 + 5), 5);
  EXPECT_EQ(low_16(40000), -25536);
  EXPECT_EQ(low_16(-32769), 32767);
}

TEST(Narrowing, FitRefusesWhatDoesNotFit) {
  EXPECT_EQ(fit_uint8(255), 255);
  EXPECT_FALSE(fit_uint8(256));
  EXPECT_FALSE(fit_uint8(-1));
  EXPECT_EQ(fit_int16(-32768), -32768);
  EXPECT_FALSE(fit_int16(32768));
  EXPECT_FALSE(fit_int32(std::int64_t{1} << 31));
  EXPECT_EQ(fit_int32(-(std::int64_t{1} << 31)), std::numeric_limits<std::int32_t>::min());
}

TEST(Checked32, OverflowIsReportedNotWrapped) {
  constexpr auto max = std::numeric_limits<std::int32_t>::max();
  constexpr auto min = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(add_32(max - 100, 100), max);
  EXPECT_FALSE(add_32(max - 99, 100));
  EXPECT_FALSE(sub_32(min, 1));
  EXPECT_EQ(sub_32(-5, 7), -12);
  EXPECT_FALSE(mul_32(min, -1));
  EXPECT_EQ(mul_32(21480, 60), 1288800);
}

}  // namespace
}  // namespace scenario
