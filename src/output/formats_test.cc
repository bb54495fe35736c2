#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"

namespace scenario {
namespace {

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

TEST(GridFormat, FifteenLittleEndianBytesPerCell) {
  percorso_t g(3);
  g[1] = cella{1, 5121, -2, 0x1234, 6, 140, 61, 2, 26, 89, 100};
  const std::string bytes = serialise_grid(g);
  ASSERT_EQ(bytes.size(), 45u);
  EXPECT_EQ(hex(bytes.substr(0, 15)), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(hex(bytes.substr(15, 15)), "01 01 14 FE FF 34 12 06 00 8C 3D 02 1A 59 64");
}

TEST(StationFormat, RecordsAreLengthPrefixedAndPacked) {
  stazioni_t s{};
  s[1].tipo_stazione = 8;
  s[1].inizio = -300;
  s[1].fine = 300;
  s[1].posizione = 0;
  s[1].campo_1 = 1;
  s[1].nome = "CORVALE";
  s[1].campo_2 = 1;
  s[1].campo_6 = -1;
  s[1].campo_10 = 9;
  s[1].orario = 21480;
  s[85].nome = "Corvale_Pianasco";
  const std::string bytes = serialise_stations(s);
  EXPECT_EQ(bytes.size(), 87 * k_station_fixed_bytes + 7 + 16);
  EXPECT_EQ(bytes.substr(0, 34), std::string(34, '\0'));
  EXPECT_EQ(
      hex(bytes.substr(34, 41)),
      "08 D4 FE FF FF 2C 01 00 00 00 00 00 00 01 07 00 43 4F 52 56 41 4C 45 01 00 00 00 00 00 "
      "00 00 FF FF 00 00 00 09 E8 53 00 00");
  // Record 85 with its 16-character name is 50 bytes long.
  const std::size_t r85 = 34 + 41 + 83 * 34;
  EXPECT_EQ(hex(bytes.substr(r85 + 14, 2)), "10 00");
  EXPECT_EQ(bytes.substr(r85 + 16, 16), "Corvale_Pianasco");
  EXPECT_EQ(bytes.size() - r85, 50u + 34u);
}

TEST(PlanFormat, TaggedValuesMetreIndexFastest) {
  profilo_t p(3);  // metres 0 to 3
  p.set_int16(0, 0, 0);
  p.set_int16(0, 1, 0);
  p.set_int16(1, 0, 0);
  p.set_int16(1, 1, 1);
  p.set_real(2, 0, 0.0);
  p.set_real(2, 1, 2.0);
  const std::string bytes = serialise_plan(p);
  // Coordinate 0: 2, 2, 5, empty; coordinate 1: 2, 2, 5, empty.
  ASSERT_EQ(bytes.size(), 2u * (4 + 4 + 10 + 2));
  EXPECT_EQ(hex(bytes.substr(0, 8)), "02 00 00 00 02 00 00 00");
  EXPECT_EQ(hex(bytes.substr(8, 12)), "05 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(hex(bytes.substr(20, 8)), "02 00 00 00 02 00 01 00");
  EXPECT_EQ(hex(bytes.substr(28, 12)), "05 00 00 00 00 00 00 00 00 40 00 00");
}

// The file written from the runs, piece by piece, is the file of the table
// the runs give: every class of step, a plan cut short by a fault, one never
// seeded, and one long enough to take several pieces per coordinate.
TEST(PlanFormat, FileFromTheRunsIsTheFileOfTheirTable) {
  std::vector<std::pair<const char*, plan_runs>> cases;
  plan_runs classes(20000);
  classes.seed();
  std::int32_t metre = 300;
  classes.straight_to(metre);
  for (const double k : {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003}) {
    classes.curved_to(metre += 400, k);
    classes.curved_to(metre += 300, -k);
    classes.straight_to(metre += 200);
  }
  classes.curved_to(20000, 0.003);  // to the last metre
  cases.emplace_back("every class", classes);
  plan_runs stopped(20000);
  stopped.seed();
  stopped.straight_to(1500);
  stopped.curved_to(1800, 0.001);
  cases.emplace_back("stopped by a fault", stopped);
  cases.emplace_back("never seeded", plan_runs(300));
  plan_runs long_line(1007000);
  long_line.seed();
  long_line.curved_to(1000, -0.0004);
  long_line.straight_to(1006998);
  cases.emplace_back("several pieces", long_line);

  for (const auto& [what, plan] : cases) {
    SCOPED_TRACE(what);
    const std::uint64_t size = plan_file_size(plan);
    std::vector<std::pair<std::uint64_t, std::size_t>> pieces;
    std::string bytes(size, '\0');
    encode_plan(plan, [&](std::uint64_t offset, std::string_view piece) {
      ASSERT_LE(offset + piece.size(), size);
      EXPECT_LE(piece.size(), k_plan_piece_bytes);
      pieces.emplace_back(offset, piece.size());
      bytes.replace(offset, piece.size(), piece);
    });
    // The pieces cover the file once, with no gap and no overlap.
    std::sort(pieces.begin(), pieces.end());
    std::uint64_t covered = 0;
    for (const auto& [offset, n] : pieces) {
      EXPECT_EQ(offset, covered);
      covered = offset + n;
    }
    EXPECT_EQ(covered, size);
    EXPECT_TRUE(bytes == serialise_plan(plan_table(plan)));
  }
}

}  // namespace
}  // namespace scenario
