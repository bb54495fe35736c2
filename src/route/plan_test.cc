#include "route/plan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "route/line_compiler.h"
#include "test_support.h"

namespace scenario {
namespace {

std::uint64_t bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

profilo_t plan_of(std::initializer_list<std::string_view> body) {
  run_state st = testing::fresh_state();
  compile_line(testing::line_text(70850, body), st);
  return plan_table(st.profilo);
}

TEST(Plan, WithoutCurvesTheLineRunsStraightAlongCoordinateOne) {
  const profilo_t p = plan_of({});
  EXPECT_EQ(p.tag(0, 0), plan_tag::int16);
  EXPECT_EQ(p.tag(1, 1), plan_tag::int16);
  EXPECT_EQ(p.value(1, 1), 1.0);
  for (std::size_t n : {2u, 3u, 1000u, 77848u}) {
    EXPECT_EQ(p.tag(n, 0), plan_tag::real);
    EXPECT_EQ(p.value(n, 0), 0.0);
    EXPECT_EQ(p.value(n, 1), static_cast<double>(n));
  }
  for (std::size_t n : {77849u, 77850u})
    for (int c : {0, 1}) EXPECT_EQ(p.tag(n, c), plan_tag::empty);
}

TEST(Plan, CurvedMetresAreBitExact) {
  const profilo_t p = plan_of({"curvad6,  500,  300"});
  EXPECT_EQ(p.value(500, 0), 0.0);
  EXPECT_EQ(p.value(500, 1), 500.0);
  EXPECT_EQ(bits(p.value(501, 0)), bits(0.003));
  EXPECT_EQ(bits(p.value(501, 1)), bits(501.0));

  // Metre 502 from metres 500 and 501, written out: one rounded product and
  // one rounded sum per step component, then the sum with the last point.
  volatile double k = 0.003;  // keeps the compiler from folding the expressions
  const double d0 = p.value(501, 0) - p.value(500, 0);
  const double d1 = p.value(501, 1) - p.value(500, 1);
  const double kd1 = k * d1;
  const double d0k = d0 * k;
  const double x = p.value(501, 0) + (kd1 + d0);
  const double y = p.value(501, 1) + (d1 - d0k);
  EXPECT_EQ(bits(p.value(502, 0)), bits(x));
  EXPECT_EQ(bits(p.value(502, 1)), bits(y));
  EXPECT_NEAR(p.value(502, 0), 0.009, 1e-15);
  EXPECT_NEAR(p.value(502, 1), 501.999991, 1e-9);
  // Pinned to the last bit, so that a build that fuses a product into a sum
  // shows here even where the formula above is fused the same way.
  EXPECT_EQ(bits(p.value(502, 1)), 0x407F5FFFF69014B6ull) << std::hexfloat << p.value(502, 1);
  EXPECT_EQ(bits(p.value(502, 0)),
            0x3F826E978D4FDF3Cull);  // one unit above the double nearest 0.009
}

TEST(Plan, CurveTurnsAndGrowsTheStepWithoutRescaling) {
  const profilo_t p = plan_of({"curvad6,  500,  300"});
  const double dx = p.value(800, 0) - p.value(799, 0);
  const double dy = p.value(800, 1) - p.value(799, 1);
  const double degrees = std::atan2(dx, dy) * 180.0 / std::acos(-1.0);
  EXPECT_NEAR(degrees, 51.57, 0.01);
  EXPECT_NEAR(std::hypot(dx, dy), 1.00135, 0.00001);
  // After the curve the line runs straight on in the new direction.
  EXPECT_NEAR(p.value(900, 0) - p.value(899, 0), p.value(801, 0) - p.value(800, 0), 1e-9);
}

TEST(Plan, LeftCurveMirrorsRightCurve) {
  const profilo_t right = plan_of({"curvad6,  500,  300"});
  const profilo_t left = plan_of({"curvas6,  500,  300"});
  for (std::size_t n : {501u, 650u, 800u, 5000u}) {
    EXPECT_EQ(left.value(n, 0), -right.value(n, 0));
    EXPECT_EQ(left.value(n, 1), right.value(n, 1));
  }
}

TEST(Plan, CurvatureComesFromTheLowestDigit) {
  EXPECT_EQ(curve_curvature("curvad6"), 0.003);
  EXPECT_EQ(curve_curvature("curvas2"), -0.0002);
  EXPECT_EQ(curve_curvature("CURVAS3"), -0.0004);
  EXPECT_EQ(curve_curvature("curvad64"), 0.001);
  EXPECT_EQ(curve_curvature("curvad1"), 0.0001);
  EXPECT_FALSE(curve_curvature("curvad7"));
}

TEST(Plan, OverlappingCurveIsDrawnOnlyFromWhereThePlanStands) {
  // The second curve's metres 701 to 800 are already drawn; 801 to 900 turn.
  const profilo_t overlap = plan_of({"curvad6,  500,  300", "curvad6,  700,  200"});
  const profilo_t joined = plan_of({"curvad6,  500,  400"});
  for (std::size_t n : {800u, 801u, 900u, 20000u})
    for (int c : {0, 1}) EXPECT_EQ(bits(overlap.value(n, c)), bits(joined.value(n, c))) << n;
  // One that ends before the plan stands is not drawn at all.
  const profilo_t behind = plan_of({"curvad6,  500,  300", "curvas6,  600,  100"});
  const profilo_t single = plan_of({"curvad6,  500,  300"});
  EXPECT_EQ(bits(behind.value(20000, 0)), bits(single.value(20000, 0)));
}

TEST(Plan, CurvePastTheLastMetreIsCut) {
  run_state st = testing::fresh_state();
  compile_line(testing::line_text(0, {"curvad1,  6800,  100000"}), st);
  EXPECT_EQ(st.codice_errore, 0);
  const profilo_t p = plan_table(st.profilo);
  EXPECT_EQ(p.tag(7000, 0), plan_tag::real);  // metres E - 1 and E are curved too
  EXPECT_EQ(p.tag(6999, 1), plan_tag::real);
}

}  // namespace
}  // namespace scenario
