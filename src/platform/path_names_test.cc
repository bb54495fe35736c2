#include "platform/path_names.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace scenario {
namespace {

// A name with accents, given as UTF-8, names a file that the folder lists
// under the same name, on every system.
TEST(PathNames, Utf8TextNamesTheFileItSpells) {
  const testing::scratch_folder dir;
  const std::string name = "Citt\xC3\xA0_\xC3\xA9t\xC3\xA9_linea.txt";
  const std::filesystem::path made = path_from_utf8(name);
  // The library's own UTF-8 view of the path, whatever the system's code page.
  const std::u8string spelt = made.u8string();
  EXPECT_EQ(std::string(spelt.begin(), spelt.end()), name);
  std::ofstream(dir.path() / made) << "x";
  std::vector<std::string> listed;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    listed.push_back(utf8_of(entry.path().filename()));
  EXPECT_EQ(listed, std::vector<std::string>{name});
  EXPECT_EQ(utf8_of(path_from_utf8("folder/" + name).filename()), name);
}

}  // namespace
}  // namespace scenario
