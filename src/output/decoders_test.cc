// The three decoders: a compiled scenario comes back exactly, and every way a
// file can stop making sense gives its offset and reason.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>

#include "model/file_names.h"
#include "output/byte_reader.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "platform/display.h"
#include "platform/files.h"
#include "test_support.h"

namespace scenario {

// Failures show the offset and the reason, not the bytes of the object.
void PrintTo(const decode_error& e, std::ostream* os) {
  *os << "{" << e.offset << ", \"" << e.reason << "\"}";
}

namespace {

template <typename T>
decode_error error_of(const decoded<T>& d) {
  EXPECT_FALSE(d.ok());
  return d.ok() ? decode_error{} : d.error();
}

// The shipped scenario, compiled and written by the real run sequence.
class ShippedFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::scratch_folder dir;
    state = new run_state(testing::shipped_run_in(dir.path()));
    grid = new std::string(read_file(dir.file(grid_file_name("Corvale_Pianasco", "4816"))));
    stations = new std::string(read_file(dir.file(station_file_name("Corvale_Pianasco", "4816"))));
    plan = new std::string(read_file(dir.file(plan_file_name("Corvale_Pianasco"))));
  }
  static void TearDownTestSuite() {
    delete state;
    delete grid;
    delete stations;
    delete plan;
  }
  static run_state* state;
  static std::string* grid;
  static std::string* stations;
  static std::string* plan;
};
run_state* ShippedFiles::state = nullptr;
std::string* ShippedFiles::grid = nullptr;
std::string* ShippedFiles::stations = nullptr;
std::string* ShippedFiles::plan = nullptr;

TEST_F(ShippedFiles, DecodeToTheTablesTheCompilersWrote) {
  ASSERT_EQ(state->codice_errore, 0);
  const auto g = decode_grid(*grid);
  ASSERT_TRUE(g.ok()) << g.error().reason;
  EXPECT_EQ(g.value().size(), 1558u);
  EXPECT_TRUE(g.value() == state->percorso);

  const auto s = decode_stations(*stations);
  ASSERT_TRUE(s.ok()) << s.error().reason;
  EXPECT_TRUE(s.value() == state->stazioni);
  EXPECT_EQ(s.value()[1].nome, "CORVALE");
  EXPECT_EQ(s.value()[85].campo_2, 610);

  const auto p = decode_plan(*plan);
  ASSERT_TRUE(p.ok()) << p.error().reason;
  EXPECT_EQ(p.value().extent(), 77850);
  const profilo_t plan_made = plan_table(state->profilo);
  EXPECT_TRUE(p.value().tags() == plan_made.tags());
  // Bit for bit, not merely equal: the plan is defined to the last bit.
  const auto& got = p.value().values();
  const auto& want = plan_made.values();
  ASSERT_EQ(got.size(), want.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < got.size(); ++i)
    differing += std::bit_cast<std::uint64_t>(got[i]) != std::bit_cast<std::uint64_t>(want[i]);
  EXPECT_EQ(differing, 0u);
}

TEST_F(ShippedFiles, TruncatedAndPaddedFilesAreRefusedAtTheirEnd) {
  EXPECT_EQ(error_of(decode_grid(grid->substr(0, grid->size() - 1))),
            (decode_error{23355, "partial cell 1557: 14 of 15 bytes"}));
  EXPECT_EQ(error_of(decode_grid(*grid + '\0')),
            (decode_error{23370, "partial cell 1558: 1 of 15 bytes"}));

  EXPECT_EQ(error_of(decode_stations(stations->substr(0, stations->size() - 1))),
            (decode_error{3083, "truncated record 86: orario needs 4 bytes, 3 left"}));
  EXPECT_EQ(error_of(decode_stations(*stations + "abc")),
            (decode_error{3087, "3 bytes after record 86"}));

  // The last entry of the plan is an empty tag of 2 bytes.
  EXPECT_EQ(error_of(decode_plan(plan->substr(0, plan->size() - 1))),
            (decode_error{1556962, "truncated entry 155701: tag needs 2 bytes, 1 left"}));
  EXPECT_EQ(error_of(decode_plan(plan->substr(0, plan->size() - 2))),
            (decode_error{1556962, "odd entry count 155701"}));
  EXPECT_EQ(error_of(decode_plan(*plan + std::string(2, '\0'))),
            (decode_error{1556966, "odd entry count 155703"}));
}

TEST_F(ShippedFiles, StationFileCutInsideANameNamesTheRecordAndField) {
  // Record 85 starts after records 0 to 84: 85 * 34 bytes plus the twelve
  // station names; its 16-byte name starts 16 bytes in.
  std::size_t r85 = 85 * k_station_fixed_bytes;
  for (int s = 1; s <= 12; ++s) r85 += state->stazioni[static_cast<std::size_t>(s)].nome.size();
  EXPECT_EQ(error_of(decode_stations(stations->substr(0, r85 + 16 + 5))),
            (decode_error{r85 + 16, "truncated record 85: nome needs 16 bytes, 5 left"}));
  // A name length raised by 256 runs the record past the end of the file.
  std::string longer = *stations;
  longer[r85 + 15] = 1;
  const decode_error e = error_of(decode_stations(longer));
  EXPECT_EQ(e.offset, r85 + 16);
  EXPECT_EQ(e.reason, "truncated record 85: nome needs 272 bytes, " +
                          std::to_string(stations->size() - r85 - 16) + " left");
}

TEST(GridDecoder, RefusesEmptyOversizedAndUnknownKinds) {
  EXPECT_EQ(error_of(decode_grid("")), (decode_error{0, "empty file"}));
  EXPECT_EQ(error_of(decode_grid(std::string(15 * 20142, '\0'))),
            (decode_error{15 * 20141, "more than 20141 cells"}));
  EXPECT_TRUE(decode_grid(std::string(15 * 20141, '\0')).ok());

  percorso_t g(4);
  g[2].tipo_cella = k_text_board;
  std::string bytes = serialise_grid(g);
  EXPECT_TRUE(decode_grid(bytes).ok());
  for (const int kind : {7, 8, 9, 15, 255}) {
    bytes[45] = static_cast<char>(kind);
    EXPECT_EQ(error_of(decode_grid(bytes)),
              (decode_error{45, "unknown kind " + std::to_string(kind) + " in cell 3"}));
  }
}

TEST(GridDecoder, KeepsEveryFieldAndSign) {
  percorso_t g(2);
  g[1] = cella{12, -32768, 32767, -1, 5121, 255, 84, 3, 26, 0, 44};
  const auto d = decode_grid(serialise_grid(g));
  ASSERT_TRUE(d.ok());
  EXPECT_TRUE(d.value() == g);
}

TEST(StationDecoder, KeepsNamesOfAnyByteAndLength) {
  stazioni_t s{};
  s[3].nome = std::string("a\0\x81\xff", 4);
  s[80].nome = std::string(65535, 'x');
  s[86].orario = std::numeric_limits<std::int32_t>::min();
  s[84].inizio = -1;
  const auto d = decode_stations(serialise_stations(s));
  ASSERT_TRUE(d.ok()) << d.error().reason;
  EXPECT_TRUE(d.value() == s);
  EXPECT_EQ(error_of(decode_stations("")), (decode_error{0, "empty file"}));
}

// Metres 0 to 3 as the compiler fills a plan: two seeds, one computed point,
// one empty metre; 20 bytes per coordinate.
std::string small_plan() {
  profilo_t p(3);
  p.set_int16(0, 0, 0);
  p.set_int16(0, 1, 0);
  p.set_int16(1, 0, 0);
  p.set_int16(1, 1, 1);
  p.set_real(2, 0, 0.25);
  p.set_real(2, 1, 2.0);
  return serialise_plan(p);
}

TEST(PlanDecoder, FindsTheHalvesByCountingEntries) {
  const auto d = decode_plan(small_plan());
  ASSERT_TRUE(d.ok()) << d.error().reason;
  const profilo_t& p = d.value();
  EXPECT_EQ(p.extent(), 3);
  EXPECT_EQ(p.tag(1, 1), plan_tag::int16);
  EXPECT_EQ(p.value(1, 1), 1.0);
  EXPECT_EQ(p.tag(2, 0), plan_tag::real);
  EXPECT_EQ(p.value(2, 0), 0.25);
  EXPECT_EQ(p.tag(3, 1), plan_tag::empty);
}

TEST(PlanDecoder, HalvesThatDisagreeShowACutOrPaddedFile) {
  const std::string b = small_plan();
  ASSERT_EQ(b.size(), 40u);
  // The last two entries gone (a real and an empty one): the halves split
  // one entry early.
  EXPECT_EQ(error_of(decode_plan(b.substr(0, 28))),
            (decode_error{18, "metre 0: tag 0 in coordinate 1, 2 in coordinate 0"}));
  // Two empty entries more: they split one entry late.
  EXPECT_EQ(error_of(decode_plan(b + std::string(4, '\0'))),
            (decode_error{28, "metre 1: tag 5 in coordinate 1, 2 in coordinate 0"}));
}

TEST(PlanDecoder, RefusesBadTagsShortValuesAndNonFiniteNumbers) {
  const std::string b = small_plan();
  EXPECT_EQ(error_of(decode_plan("")), (decode_error{0, "empty file"}));
  std::string bad_tag = b;
  bad_tag[8] = 7;
  EXPECT_EQ(error_of(decode_plan(bad_tag)), (decode_error{8, "unknown tag 7 in entry 2"}));
  bad_tag[8] = 5;
  bad_tag[9] = 1;  // 261
  EXPECT_EQ(error_of(decode_plan(bad_tag)), (decode_error{8, "unknown tag 261 in entry 2"}));
  EXPECT_EQ(error_of(decode_plan(b.substr(0, 12))),
            (decode_error{10, "truncated entry 2: value needs 8 bytes, 2 left"}));
  EXPECT_EQ(error_of(decode_plan(b.substr(0, 3))),
            (decode_error{2, "truncated entry 0: value needs 2 bytes, 1 left"}));
  const std::pair<double, std::string> bad_values[] = {
      {std::numeric_limits<double>::quiet_NaN(), "is not a finite number"},
      {std::numeric_limits<double>::infinity(), "is not a finite number"},
      {1e66, "lies beyond 1100000 m, where no plan reaches"},
      {-1100000.5, "lies beyond 1100000 m, where no plan reaches"},
  };
  for (const auto& [v, why] : bad_values) {
    std::string bad = b;
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) bad[28 + 2 + i] = static_cast<char>(bits >> (8 * i));
    EXPECT_EQ(error_of(decode_plan(bad)), (decode_error{30, "metre 2: coordinate 1 " + why}));
  }
}

TEST(PlanDecoder, RefusesMoreEntriesThanTheLongestRoute) {
  const std::size_t limit = 2 * k_plan_max_metres;
  EXPECT_TRUE(decode_plan(std::string(2 * limit, '\0')).ok());
  EXPECT_EQ(error_of(decode_plan(std::string(2 * limit + 4, '\0'))),
            (decode_error{2 * limit, "more than 2014002 entries"}));
}

TEST(ByteReader, StopsAtTheFirstShortReadAndStaysStopped) {
  byte_reader in(std::string_view("\x01\x02\x03\x04\x05", 5));
  EXPECT_EQ(in.u16("a"), 0x0201);
  EXPECT_EQ(in.i32("b"), 0);
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.error(), (decode_error{2, "b needs 4 bytes, 3 left"}));
  // Later reads that would fit return nothing and keep the first error.
  EXPECT_EQ(in.u8("c"), 0);
  EXPECT_EQ(in.bytes(1, "d"), "");
  EXPECT_EQ(in.offset(), 2u);
  EXPECT_EQ(in.error().reason, "b needs 4 bytes, 3 left");

  byte_reader one(std::string_view("\xff", 1));
  EXPECT_EQ(one.i16("x"), 0);
  EXPECT_EQ(one.error().reason, "x needs 2 bytes, 1 left");
  byte_reader neg(std::string_view("\xfe\xff\xff\xff", 4));
  EXPECT_EQ(neg.i32("v"), -2);
}

}  // namespace
}  // namespace scenario
