#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "test_support.h"

namespace scenario {
namespace {

void write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Each way an editor saves, and a change the watch must not take for a save.
TEST(FileWatch, CatchesSavesInPlaceAndByRenameOfTheFilesWatchedOnly) {
  testing::scratch_folder dir;
  const std::string line = dir.file("a_linea.txt");
  const std::string train = dir.file("a_1-.txt");
  write(line, "x");
  write(train, "x");
  file_watch watch({line, train});
  EXPECT_EQ(watch.wait(50), file_watch::outcome::timed_out);

  struct save {
    const char* how;
    std::function<void()> act;
    file_watch::outcome want;
  };
  const save saves[] = {
      {"in place", [&] { write(line, "y"); }, file_watch::outcome::saved},
      {"by rename",
       [&] {
         write(dir.file(".a_1-.txt.tmp"), "z");
         std::rename(dir.file(".a_1-.txt.tmp").c_str(), train.c_str());
       },
       file_watch::outcome::saved},
      {"another file", [&] { write(dir.file("other.txt"), "z"); }, file_watch::outcome::timed_out},
  };
  for (const save& s : saves) {
    s.act();
    EXPECT_EQ(watch.wait(200), s.want) << s.how;
  }
  // A stop from elsewhere ends a wait without end.
  std::thread stopper([&] { watch.stop(); });
  EXPECT_EQ(watch.wait(-1), file_watch::outcome::stopped);
  stopper.join();
}

}  // namespace
}  // namespace scenario
