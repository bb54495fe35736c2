// The route picture at three scales: the shipped line, the largest line an
// author may describe, and a 10 km stretch. At each, no label covers a
// label or a mark, no two marks share a place, everything lies inside the
// picture and nothing blank is left at its foot.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/route_picture.h"
#include "max_scenario.h"
#include "run/compile.h"
#include "test_support.h"
#include "xml_check.h"

namespace scenario {
namespace {

compile_result compiled(const std::string& line, const std::string& train) {
  return compile({"Linea", "1", true, {"Linea_linea.txt", line}, {"Linea_1-.txt", train}});
}

struct scale_case {
  const char* name;
  bool largest;
  std::optional<double> from;
  std::optional<double> to;
};

TEST(PictureScales, NoLabelOrMarkOverlapsAndNoBlankFoot) {
  const compile_result shipped =
      compiled(testing::shipped_line_text(), testing::shipped_train_text());
  const compile_result largest = compiled(max_line_text(), max_train_text());
  ASSERT_TRUE(largest.st.faults.empty());
  const scale_case cases[] = {{"shipped line", false, {}, {}},
                              {"1,000 km line", true, {}, {}},
                              {"10 km stretch", false, 45000.0, 55000.0}};
  for (const scale_case& c : cases) {
    SCOPED_TRACE(c.name);
    const run_state& st = (c.largest ? largest : shipped).st;
    picture_options o;
    o.from = c.from;
    o.to = c.to;
    const route_picture pic = draw_route(st.percorso, st.stazioni, plan_table(st.profilo), o);
    ASSERT_EQ(testing::check_xml(pic.svg).error, "");
    EXPECT_EQ(pic.overlaps, 0u);
    // Every pair that shares a place, as text, so that a failure shows where.
    std::vector<std::string> clashes;
    auto clash = [&](const char* what, const box& a, const box& b) {
      if (a.overlap(b) > 0)
        clashes.push_back(std::string(what) + " at x " + std::to_string(a.x0) + ", y " +
                          std::to_string(a.y0));
    };
    for (std::size_t i = 0; i < pic.labels.size(); ++i) {
      for (std::size_t j = i + 1; j < pic.labels.size(); ++j)
        clash("two labels", pic.labels[i], pic.labels[j]);
      for (const box& m : pic.marks) clash("a label and a mark", pic.labels[i], m);
    }
    for (std::size_t i = 0; i < pic.marks.size(); ++i)
      for (std::size_t j = i + 1; j < pic.marks.size(); ++j)
        clash("two marks", pic.marks[i], pic.marks[j]);
    EXPECT_EQ(clashes, std::vector<std::string>{});
    double lowest = 0;
    for (const std::vector<box>* boxes : {&pic.labels, &pic.marks})
      for (const box& b : *boxes) {
        EXPECT_GE(b.x0, 0);
        EXPECT_LE(b.x1, pic.width);
        EXPECT_GE(b.y0, 0);
        EXPECT_LE(b.y1, pic.height);
        lowest = std::max(lowest, b.y1);
      }
    EXPECT_LT(pic.height - lowest, 20);
    EXPECT_GT(pic.marks.size(), 10u);
  }
}

}  // namespace
}  // namespace scenario
