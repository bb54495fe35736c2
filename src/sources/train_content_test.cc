#include "sources/train_content.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

// keyword, then each value right-aligned in a field of its width after its comma.
std::string record(std::string_view keyword, const std::vector<int>& widths,
                   const std::vector<long>& values) {
  std::string line(keyword);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string value = std::to_string(values[i]);
    line += ',' + std::string(static_cast<std::size_t>(widths[i]) - value.size(), ' ') + value;
  }
  return line;
}

TEST(TrainContent, SizeSectionsAndQuotedLines) {
  const auto lines = train_content();
  ASSERT_EQ(lines.size(), 57u);
  EXPECT_EQ(render_lines(lines).size(), 2691u);
  const std::pair<int, std::string_view> quoted[] = {
      {1, "[generale]"},
      {2, "numero vetture,    5"},
      {3, "percentuale massa frenata,    120"},
      {4, "sabbia,    300"},
      {5, "orologio,    5               57            30 "},
      {6, "[aderenze]"},
      {7, "aderenza,   0,    100"},
      {8, "[vel_limite]"},
      {10, "velocita,    1850,    90"},
      {18, "[stazioni]"},
      {19, "stazione,       0,  8,  300,  0, 0, 0,  1,1,0,  4,1,1,    1,   5,58, 0, CORVALE"},
      {25,
       "stazione,   35100, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, SCAVETO-LIRANO"},
      {31, "[rallentamenti]"},
      {32, "rallentamento,   51150,    50,  200, 0,  1,  0"},
      {33, "[segnali]"},
      {34, "segnale,    4000,   1, 4, 1,  0, 0,    0,  0,0,0, 0"},
      {39, "segnale,   15250,   2, 4, 1,  1, 0,    0,  0,0,0, 140"},
      {56, "[codici]"},
      {57, "[fine]"}};
  for (const auto& [number, text] : quoted) EXPECT_EQ(lines[number - 1], text) << "line " << number;
  EXPECT_EQ(lines[4].size(), 46u);
}

TEST(TrainContent, RecordsMatchTheirTablesInFixedWidths) {
  const auto lines = train_content();
  const long limits[][2] = {{0, 75},     {1850, 90},  {8850, 80},   {9600, 75},  {23550, 80},
                            {27400, 90}, {43950, 80}, {54950, 130}, {64650, 110}};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(lines[8 + i], record("velocita", {8, 6}, {limits[i][0], limits[i][1]}));
  }
  const std::pair<std::vector<long>, std::string_view> stations[] = {
      {{0, 8, 300, 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, 5, 58, 0}, "CORVALE"},
      {{6300, 12, 300, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, "BRUSETO"},
      {{9800, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, "Ortella"},
      {{16550, 24, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 0, 0, 0, 0}, "PRELLO"},
      {{23400, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60, 6, 21, 0}, "MONTALE ROSSIA"},
      {{29500, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, "TORRASO"},
      {{35100, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 0, 0, 0, 0}, "SCAVETO-LIRANO"},
      {{40200, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 130, 0, 0, 0}, "VALPERA"},
      {{45150, 24, 200, 0, 0, 0, 0, 0, 0, 4, 1, 1, 1, 0, 0, 0}, "ROCCAFENDA"},
      {{48850, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 115, 0, 0, 0}, "MERIANO"},
      {{54200, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60, 6, 49, 0}, "LIVANE-MORASCHI"},
      {{64850, 12, 500, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0, 6, 56, 0}, "PIANASCO"}};
  const std::vector<int> station_widths = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
  for (int i = 0; i < 12; ++i) {
    const auto& [values, name] = stations[i];
    EXPECT_EQ(lines[18 + i], record("stazione", station_widths, values) + ", " + std::string(name));
  }
  const long signals[][11] = {
      {4000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},    {4850, 2, 4, 1, 1, 0, 0, 0, 0, 0, 0},
      {7550, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},    {8800, 2, 4, 1, 1, 0, 0, 0, 0, 0, 0},
      {14000, 1, 3, 1, 0, 0, 0, 0, 0, 0, 0},   {15250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 140},
      {21050, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {22250, 2, 3, 1, 1, 0, 0, 0, 0, 0, 0},
      {27050, 1, 4, 1, 0, 0, 0, 0, 0, 0, 220}, {28250, 2, 4, 1, 1, 0, 0, 0, 0, 0, 0},
      {32650, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {33850, 2, 4, 1, 1, 0, 0, 0, 0, 0, 0},
      {37700, 1, 3, 1, 0, 0, 0, 0, 0, 0, 0},   {38900, 2, 3, 1, 1, 0, 0, 0, 0, 0, 150},
      {42600, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {43800, 2, 3, 1, 1, 0, 0, 0, 0, 0, 0},
      {46350, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {47500, 2, 3, 1, 1, 0, 0, 0, 0, 0, 0},
      {51700, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0},   {52900, 2, 3, 1, 1, 0, 0, 0, 0, 0, 0},
      {62350, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},   {63550, 2, 2, 3, 1, 1, 0, 0, 0, 0, 0}};
  for (int i = 0; i < 22; ++i) {
    const std::vector<long> values(signals[i], signals[i] + 10);
    EXPECT_EQ(lines[33 + i], record("segnale", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1}, values) + ", " +
                                 std::to_string(signals[i][10]));
  }
}

TEST(TrainContent, WriterReplacesAnOlderFileUnderTheHyphenName) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("train_content_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto path = folder / "Corvale_Pianasco_4816-.txt";
  std::ofstream(path) << std::string(5000, 'x');
  dati_treno(folder.string(), "Corvale_Pianasco", "4816");
  const std::string bytes = read_file(path.string());
  EXPECT_EQ(bytes.size(), 2691u);
  EXPECT_EQ(bytes, render_lines(train_content()));
  EXPECT_TRUE(bytes.ends_with("[codici]\r\n[fine]\r\n"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace scenario
