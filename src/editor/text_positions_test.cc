#include "editor/text_positions.h"

#include <gtest/gtest.h>

#include "editor/file_uri.h"
#include "editor/pairing.h"

namespace scenario {
namespace {

// "é" is two UTF-8 bytes and one UTF-16 unit; "𝄞" four bytes and two units.
constexpr std::string_view k_text = "ab\r\ncé𝄞d\nxy\rz";

TEST(TextPositions, OffsetsAndPositionsInBothUnits) {
  const struct {
    text_position at;
    position_units units;
    std::size_t offset;
  } cases[] = {
      {{0, 0}, position_units::utf16, 0},
      {{0, 9}, position_units::utf16, 2},
      {{1, 0}, position_units::utf16, 4},
      {{1, 2}, position_units::utf16, 7},
      {{1, 4}, position_units::utf16, 11},
      {{1, 3}, position_units::utf16, 7},  // inside a pair
      {{1, 3}, position_units::utf8, 7},
      {{1, 7}, position_units::utf8, 11},
      {{2, 1}, position_units::utf16, 14},
      {{3, 0}, position_units::utf16, 16},
      {{9, 0}, position_units::utf16, k_text.size()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.at.line) + ":" + std::to_string(c.at.character));
    EXPECT_EQ(offset_of(k_text, c.at, c.units), c.offset);
  }
  EXPECT_EQ(position_of(k_text, 11, position_units::utf16), (text_position{1, 4}));
  EXPECT_EQ(position_of(k_text, 11, position_units::utf8), (text_position{1, 7}));
  EXPECT_EQ(position_of(k_text, 16, position_units::utf16), (text_position{3, 0}));
  EXPECT_EQ(line_text(k_text, 1), "cé𝄞d");
}

TEST(TextPositions, IncrementalEditsApplyInOrder) {
  std::string text = "pendenza, 100\r\ncurvad4, 1500";
  replace_range(text, {0, 10}, {0, 13}, "150", position_units::utf16);
  replace_range(text, {1, 0}, {1, 7}, "curvas2", position_units::utf16);
  replace_range(text, {1, 13}, {1, 20}, "\r\n[fine]", position_units::utf16);
  EXPECT_EQ(text, "pendenza, 150\r\ncurvas2, 1500\r\n[fine]");
}

TEST(FileUri, PathsAndUris) {
  EXPECT_EQ(path_of_uri("file:///home/a%20b/x_linea.txt"), "/home/a b/x_linea.txt");
  EXPECT_EQ(path_of_uri("file:///c%3A/x/y.txt"), "c:/x/y.txt");
  EXPECT_EQ(path_of_uri("file://localhost/x"), "/x");
  EXPECT_EQ(path_of_uri("untitled:Untitled-1"), std::nullopt);
  EXPECT_EQ(path_of_uri("file:///bad%2"), std::nullopt);
  EXPECT_EQ(uri_of_path("/home/a b/è.txt"), "file:///home/a%20b/%C3%A8.txt");
  EXPECT_EQ(path_of_uri(uri_of_path("/x/100%_linea.txt")), "/x/100%_linea.txt");
}

TEST(Pairing, TheLineOfATrainByNameElseTheOnlyOne) {
  const struct {
    std::string_view train;
    std::vector<std::string> folder;
    std::optional<std::string> line;
  } cases[] = {
      {"Valle_12-.txt", {"Valle_12-.txt", "Valle_linea.txt", "Monte_linea.txt"}, "Valle_linea.txt"},
      {"A_B_7-.txt", {"A_B_linea.txt", "A_linea.txt"}, "A_B_linea.txt"},
      {"A_B_7-.txt", {"A_linea.txt", "Z_linea.txt"}, "A_linea.txt"},
      {"12-.txt", {"Monte_linea.txt"}, "Monte_linea.txt"},
      {"12-.txt", {"Monte_linea.txt", "Valle_linea.txt"}, std::nullopt},
      {"Valle_12-.txt", {"Valle_12-.txt"}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(line_for_train(c.train, c.folder), c.line) << c.train;
  EXPECT_EQ(kind_of_description("x_linea.txt"), description_kind::line);
  EXPECT_EQ(kind_of_description("_linea.txt"), description_kind::other);
  EXPECT_EQ(kind_of_description("x-.txt"), description_kind::train);
}

}  // namespace
}  // namespace scenario
