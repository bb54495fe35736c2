#include "sources/scenario_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ScenarioNames, FromTheFileNamesUnlessGiven) {
  struct names_case {
    const char* line_path;
    const char* train_path;
    std::optional<std::string> line_name;
    std::optional<std::string> train_number;
    const char* nome_linea;
    const char* numero_treno;
  } cases[] = {
      {"dir/Val_Rossa_linea.txt", "../Val_Rossa_4816-.txt", {}, {}, "Val_Rossa", "4816"},
      {"a.txt", "b.txt", "Monte", "12", "Monte", "12"},
      // The train file need not carry the line's name.
      {"Val_linea.txt", "Monte_7-.txt", {}, {}, "Val", "7"},
      {"Val_linea.txt", "treno_del_mattino_7-.txt", {}, {}, "Val", "7"},
      {"Val_linea.txt", "7-.txt", {}, {}, "Val", "7"},
      {"x.txt", "Monte_7-.txt", "Monte", {}, "Monte", "7"},
      // After the line name, the rest is the number, '_' and all.
      {"A_linea.txt", "A_1_2-.txt", {}, {}, "A", "1_2"},
      {"A_linea.txt", "B_1_2-.txt", {}, {}, "A", "2"},
  };
  for (const names_case& c : cases) {
    SCOPED_TRACE(c.train_path);
    const scenario_names n =
        choose_scenario_names(c.line_path, c.train_path, c.line_name, c.train_number);
    EXPECT_EQ(n.error, "");
    EXPECT_EQ(n.nome_linea, c.nome_linea);
    EXPECT_EQ(n.numero_treno, c.numero_treno);
  }
  const std::string no_number =
      "' is not named NUM-.txt or ANYTHING_NUM-.txt; give --train-number NUM";
  for (const char* train : {"Monte_7.txt", "V_-.txt", "-.txt", "Monte_7-.TXT"})
    EXPECT_EQ(choose_scenario_names("V_linea.txt", train, std::nullopt, std::nullopt).error,
              "the train number is needed: '" + std::string(train) + no_number);
  EXPECT_EQ(choose_scenario_names("_linea.txt", "b.txt", std::nullopt, std::string("1")).error,
            "the line name is needed: '_linea.txt' is not named NAME_linea.txt; give "
            "--line-name NAME");
}

TEST(ScenarioNames, NamesAreStoredAsWindows1252) {
  const scenario_names n = choose_scenario_names("Citt\xC3\xA0_linea.txt", "C\xC5\x92ur_9-.txt",
                                                 std::nullopt, std::nullopt);
  EXPECT_EQ(n.error, "");
  EXPECT_EQ(n.nome_linea, "Citt\xE0");
  EXPECT_EQ(n.numero_treno, "9");  // after the last '_': "CŒur" is not the line's name
  EXPECT_EQ(
      choose_scenario_names("a", "b", std::string("\xE2\x82\xAC"), std::string("1")).nome_linea,
      "\x80");
}

TEST(ScenarioNames, NamesThatWouldLeaveTheFolderOrTheFormatAreRefused) {
  const auto line_error = [](std::string name) {
    return choose_scenario_names("a", "b", name, std::string("1")).error;
  };
  EXPECT_EQ(line_error(""), "the line name is empty");
  EXPECT_EQ(line_error(".."), "the line name '..' is not a name");
  EXPECT_EQ(line_error("."), "the line name '.' is not a name");
  EXPECT_EQ(line_error("up/down"), "the line name 'up/down' holds a folder separator");
  EXPECT_EQ(line_error("up\\down"), "the line name 'up\\down' holds a folder separator");
  EXPECT_EQ(line_error("\xD0\x9B\xD0\xB8\xD0\xBD\xD0\xB8\xD1\x8F"),
            "the line name '\xD0\x9B\xD0\xB8\xD0\xBD\xD0\xB8\xD1\x8F' holds '\xD0\x9B' (U+041B), "
            "which Windows-1252 lacks");
  EXPECT_EQ(line_error("Citt\xE0"), "the line name 'Citt\xE0' is not UTF-8 text (at byte 5)");
  EXPECT_EQ(line_error(std::string(65536, 'a')), "the line name is longer than 65535 bytes");
  EXPECT_EQ(line_error(std::string(65535, 'a')), "");
  // The limit counts the stored bytes: 65535 accented letters fit.
  std::string accented;
  for (int i = 0; i < 65535; ++i) accented += "\xC3\xA8";
  EXPECT_EQ(line_error(accented), "");
  EXPECT_EQ(choose_scenario_names("a", "b", std::string("L"), std::string("../9")).error,
            "the train number '../9' holds a folder separator");
  EXPECT_EQ(choose_scenario_names("a", "b", std::string("L"),
                                  std::string("\xE2\x84\x96"
                                              "1"))
                .error,
            "the train number '\xE2\x84\x96"
            "1' holds '\xE2\x84\x96' (U+2116), which "
            "Windows-1252 lacks");
}

}  // namespace
}  // namespace scenario
