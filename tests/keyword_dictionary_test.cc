// The fuzzers' keyword dictionary holds only keywords the formats have.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "sources/keyword_table.h"

namespace scenario {
namespace {

TEST(KeywordDictionary, EveryQuotedKeywordIsOneTheTablesSpell) {
  std::ifstream in(std::string(SCENARIO_TESTS_DIR) + "/../fuzz/keywords.dict");
  ASSERT_TRUE(in) << "fuzz/keywords.dict not found";
  int keywords = 0;
  for (std::string entry; std::getline(in, entry);) {
    if (entry.size() < 3 || entry.front() != '"' || entry.back() != '"') continue;
    const std::string word = entry.substr(1, entry.size() - 2);
    // Punctuation, numbers and section headers are no keywords.
    if (word.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos ||
        word.front() == '[' || word.front() == '\\')
      continue;
    ++keywords;
    EXPECT_TRUE(record_written_as(description_format::line, word) != nullptr ||
                record_written_as(description_format::train, word) != nullptr)
        << word;
  }
  EXPECT_GT(keywords, 20);
}

}  // namespace
}  // namespace scenario
