#include "sources/line_content.h"

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

// keyword, then each value after a comma and the given blanks; an empty value
// leaves just the blanks.
std::string record(std::string_view keyword, const std::vector<int>& blanks,
                   const std::vector<std::string>& values) {
  std::string line(keyword);
  for (std::size_t i = 0; i < values.size(); ++i) {
    line += ',' + std::string(static_cast<std::size_t>(blanks[i]), ' ') + values[i];
  }
  return line;
}

TEST(LineContent, SizeSectionsAndQuotedLines) {
  const auto lines = line_content();
  ASSERT_EQ(lines.size(), 81u);
  EXPECT_EQ(render_lines(lines).size(), 2185u);
  const std::pair<int, std::string_view> quoted[] = {
      {1, "[generale]"},
      {2, "lunghezza percorso,    70850"},
      {3, "progressiva chilometrica uno,    0,    172000,    1"},
      {4, "progressiva chilometrica due,    0,    0,    0"},
      {5, "progressiva chilometrica tre,    0,    0,    0"},
      {6, "sfondo uno,    60000"},
      {7, "sfondo due,    1"},
      {8, "sfondo tre,    2000"},
      {9, "ripetizione segnali 4 codici,    0,    70850"},
      {10, "[curve]"},
      {11, "curvad6,  500,  300"},
      {39, "[pendenze]"},
      {41, "pendenza,  2950,   14"},
      {54, "pendenza,  30500,   -11"},
      {67, "[montagne]"},
      {68, "montagna,   8650,  8750,  12"},
      {71, "[cartelli]"},
      {72, "indicatori_vmax,  1850,  85,  90,  90,  0,  ,  ,  ,  0"},
      {80, "[indicazioni]"},
      {81, "[fine]"}};
  for (const auto& [number, text] : quoted) EXPECT_EQ(lines[number - 1], text) << "line " << number;
}

TEST(LineContent, BodyRecordsMatchTheirTablesWithTheirSectionsSpacing) {
  const auto lines = line_content();
  const std::vector<std::vector<std::string>> curves = {
      {"d6", "500", "300"},   {"d1", "1000", "300"},  {"s2", "2500", "300"},
      {"s6", "3600", "300"},  {"s6", "5000", "300"},  {"s4", "7350", "300"},
      {"d4", "8250", "300"},  {"d6", "8750", "300"},  {"s5", "12650", "300"},
      {"s1", "15650", "600"}, {"d6", "18450", "300"}, {"s6", "19550", "300"},
      {"d4", "22500", "300"}, {"d3", "23000", "300"}, {"d2", "23450", "300"},
      {"d4", "23950", "300"}, {"s6", "24550", "300"}, {"d6", "29500", "300"},
      {"s3", "32000", "300"}, {"s3", "33000", "300"}, {"s4", "34450", "300"},
      {"d6", "35800", "300"}, {"d6", "38200", "300"}, {"s6", "38850", "300"},
      {"s6", "41200", "300"}, {"s6", "51200", "300"}, {"d6", "58050", "300"},
      {"s4", "62550", "300"}};
  for (int i = 0; i < 28; ++i) {
    EXPECT_EQ(lines[10 + i], record("curva" + curves[i][0], {2, 2}, {curves[i][1], curves[i][2]}));
  }
  const int gradients[][2] = {
      {0, 0},       {2950, 14},  {6050, 0},    {6500, 14},   {8000, 15},   {9450, 0},  {10000, 27},
      {16300, 0},   {16700, 27}, {23000, 0},   {23700, 27},  {27400, 12},  {29000, 0}, {29800, 17},
      {30500, -11}, {34800, 0},  {35300, -11}, {39800, 0},   {40500, -8},  {45000, 0}, {45300, -8},
      {48450, 0},   {49150, -8}, {53750, 0},   {54500, -17}, {60550, -10}, {64500, 0}};
  for (int i = 0; i < 27; ++i) {
    EXPECT_EQ(lines[39 + i],
              record("pendenza", {2, 3},
                     {std::to_string(gradients[i][0]), std::to_string(gradients[i][1])}));
  }
  EXPECT_EQ(lines[68], record("montagna", {3, 2, 2}, {"26500", "27300", "11"}));
  EXPECT_EQ(lines[69], record("montagna", {3, 2, 2}, {"30700", "32500", "11"}));
  const std::vector<std::vector<std::string>> boards = {
      {"1850", "85", "90", "90"},     {"7850", "75", "80", "80"},    {"8600", "70", "75", "75"},
      {"24000", "75", "80", "80"},    {"27400", "80", "90", "90"},   {"42950", "75", "80", "80"},
      {"54950", "125", "130", "130"}, {"63600", "100", "110", "110"}};
  for (int i = 0; i < 8; ++i) {
    auto values = boards[i];
    values.insert(values.end(), {"0", "", "", "", "0"});
    EXPECT_EQ(lines[71 + i], record("indicatori_vmax", std::vector<int>(9, 2), values));
  }
}

TEST(LineContent, WriterReplacesAnOlderFile) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("line_content_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto path = folder / "Corvale_Pianasco_linea.txt";
  std::ofstream(path) << std::string(5000, 'x');
  dati_linea(folder.string(), "Corvale_Pianasco");
  const std::string bytes = read_file(path.string());
  EXPECT_EQ(bytes.size(), 2185u);
  EXPECT_EQ(bytes, render_lines(line_content()));
  EXPECT_TRUE(bytes.ends_with("[indicazioni]\r\n[fine]\r\n"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace scenario
