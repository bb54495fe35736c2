#include "cli/scenario_names.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ScenarioNames, FromTheFileNamesUnlessGiven) {
  scenario_names n = choose_scenario_names("dir/Val_Rossa_linea.txt", "../Val_Rossa_4816-.txt",
                                           std::nullopt, std::nullopt);
  EXPECT_EQ(n.error, "");
  EXPECT_EQ(n.nome_linea, "Val_Rossa");
  EXPECT_EQ(n.numero_treno, "4816");

  n = choose_scenario_names("a.txt", "b.txt", std::string("Monte"), std::string("12"));
  EXPECT_EQ(n.error, "");
  EXPECT_EQ(n.nome_linea, "Monte");
  EXPECT_EQ(n.numero_treno, "12");

  // The train number is read after the line name that was chosen.
  n = choose_scenario_names("x.txt", "Monte_7-.txt", std::string("Monte"), std::nullopt);
  EXPECT_EQ(n.numero_treno, "7");
  n = choose_scenario_names("Val_linea.txt", "Monte_7-.txt", std::nullopt, std::nullopt);
  EXPECT_EQ(n.error,
            "the train number is needed: 'Monte_7-.txt' is not named Val_NUM-.txt; give "
            "--train-number NUM");
  n = choose_scenario_names("_linea.txt", "b.txt", std::nullopt, std::string("1"));
  EXPECT_EQ(n.error,
            "the line name is needed: '_linea.txt' is not named NAME_linea.txt; give "
            "--line-name NAME");
  EXPECT_NE(choose_scenario_names("V_linea.txt", "V_-.txt", std::nullopt, std::nullopt).error, "");
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
  EXPECT_EQ(line_error(std::string(65536, 'a')), "the line name is longer than 65535 bytes");
  EXPECT_EQ(line_error(std::string(65535, 'a')), "");
  EXPECT_EQ(choose_scenario_names("a", "b", std::string("L"), std::string("../9")).error,
            "the train number '../9' holds a folder separator");
}

}  // namespace
}  // namespace scenario
