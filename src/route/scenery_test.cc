#include "route/scenery.h"

#include <gtest/gtest.h>

#include "common/compile_failure.h"
#include "model/fault_codes.h"

namespace scenario {
namespace {

struct route {
  percorso_t percorso;
  scenery_sections sections;
};

route with_grid(std::size_t cells = 1558) {
  route r;
  r.percorso.assign(cells, cella{});
  return r;
}

TEST(Scenery, SectionsMarkTypeAndEveryFourthEmptyCell) {
  route st = with_grid();
  std::int32_t tipo = 12;
  EXPECT_EQ(memo_montagna(st.percorso, st.sections, 8650, 8750, tipo), 0);
  EXPECT_EQ(tipo, 2);
  EXPECT_EQ(st.percorso[173].ambiente, 2);
  EXPECT_EQ(st.percorso[174].ambiente, 2);
  EXPECT_EQ(st.percorso[175].ambiente, 0);
  EXPECT_EQ(st.percorso[173].tipo_cella, k_empty);

  st.percorso[537].tipo_cella = k_signal;  // an occupied cell keeps its object
  tipo = 11;
  EXPECT_EQ(memo_montagna(st.percorso, st.sections, 26500, 27300, tipo), 0);
  for (int c = 530; c <= 545; ++c) EXPECT_EQ(st.percorso[c].ambiente, 1) << c;
  EXPECT_EQ(st.percorso[533].tipo_cella, k_scenery_marker);
  EXPECT_EQ(st.percorso[537].tipo_cella, k_signal);
  EXPECT_EQ(st.percorso[541].tipo_cella, k_scenery_marker);
  EXPECT_EQ(st.percorso[545].tipo_cella, k_scenery_marker);
  EXPECT_EQ(st.percorso[534].tipo_cella, k_empty);
  EXPECT_EQ(st.sections.numero_montagne, 2);
}

TEST(Scenery, CloseSectionsTakeTypeThree) {
  route st = with_grid();
  std::int32_t tipo = 5;
  memo_montagna(st.percorso, st.sections, 1000, 2000, tipo);
  tipo = 5;
  memo_montagna(st.percorso, st.sections, 2150, 3000, tipo);  // 150 m after
  EXPECT_EQ(tipo, 3);
  EXPECT_EQ(st.percorso[43].ambiente, 3);
  EXPECT_EQ(st.percorso[43].tipo_cella, k_empty);  // type 5 asks for no markers
  tipo = 5;
  memo_montagna(st.percorso, st.sections, 3200, 4000, tipo);  // 200 m after
  EXPECT_EQ(tipo, 5);
  tipo = 14;
  memo_montagna(st.percorso, st.sections, 3900, 4500, tipo);  // an overlap counts as close
  EXPECT_EQ(tipo, 3);
  EXPECT_EQ(st.percorso[81].tipo_cella, k_scenery_marker);  // markers keep their setting
}

TEST(Scenery, SectionCellsRoundHalfToEven) {
  route st = with_grid();
  std::int32_t tipo = 1;
  memo_montagna(st.percorso, st.sections, 8625, 8700, tipo);
  EXPECT_EQ(st.percorso[171].ambiente, 0);
  EXPECT_EQ(st.percorso[172].ambiente, 1);  // 172.5 -> 172
  route other = with_grid();
  tipo = 1;
  memo_montagna(other.percorso, other.sections, 8675, 8800, tipo);
  EXPECT_EQ(other.percorso[173].ambiente, 0);
  EXPECT_EQ(other.percorso[174].ambiente, 1);  // 173.5 -> 174
}

TEST(Scenery, SectionLimits) {
  route st = with_grid();
  std::int32_t tipo = 1;
  // A section past the grid's end is recorded and written up to the end.
  EXPECT_THROW(memo_montagna(st.percorso, st.sections, 77000, 79000, tipo), compile_failure);
  EXPECT_EQ(st.sections.numero_montagne, 1);
  EXPECT_EQ(st.percorso[1557].ambiente, 1);
  // An empty section is recorded and writes nothing, wherever it lies.
  tipo = 1;
  EXPECT_EQ(memo_montagna(st.percorso, st.sections, -5000, -5000, tipo), 0);
  EXPECT_EQ(st.sections.numero_montagne, 2);
  for (int i = 2; i < 80; ++i) {
    tipo = 1;
    ASSERT_EQ(memo_montagna(st.percorso, st.sections, 100 * i, 100 * i, tipo), 0);
  }
  tipo = 1;
  EXPECT_EQ(memo_montagna(st.percorso, st.sections, 9000, 9100, tipo), k_fault_too_many_sections);
}

TEST(SpeedBoards, PackSpeedsAndStripes) {
  route st = with_grid();
  speed_board b{85, 90, 90, 0, 0, 0, 0, 0};
  EXPECT_EQ(memo_indicatori_v_max(st.percorso, 1850, b), 0);
  const cella& c = st.percorso[38];
  EXPECT_EQ(c.tipo_cella, k_speed_board);
  EXPECT_EQ(c.valore_a, 1700);
  EXPECT_EQ(c.valore_b, 1800);
  EXPECT_EQ(c.valore_c, 1800);
  EXPECT_EQ(c.valore_d, 0);

  speed_board rounded{85, 85, 60, 3, 12, 13, 95, 4};
  EXPECT_EQ(memo_indicatori_v_max(st.percorso, 5000, rounded), 0);
  EXPECT_EQ(st.percorso[101].valore_a, 1702);  // 1702.4
  EXPECT_EQ(st.percorso[101].valore_b, 1703);  // 1702.6
  EXPECT_EQ(st.percorso[101].valore_c, 1219);  // 1200 + 95 / 5
  EXPECT_EQ(st.percorso[101].valore_d, 34);
}

TEST(SpeedBoards, TakeMarkersButNotObjects) {
  route st = with_grid();
  st.percorso[38].tipo_cella = k_scenery_marker;
  EXPECT_EQ(memo_indicatori_v_max(st.percorso, 1850, {}), 0);
  EXPECT_EQ(st.percorso[38].tipo_cella, k_speed_board);
  EXPECT_EQ(memo_indicatori_v_max(st.percorso, 1850, {}), 21);
  st.percorso[50].tipo_cella = k_text_board;
  EXPECT_EQ(memo_indicatori_v_max(st.percorso, 2450, speed_board{1, 1, 1, 1, 1, 1, 1, 1}), 21);
  EXPECT_EQ(st.percorso[50].valore_a, 0);
}

}  // namespace
}  // namespace scenario
