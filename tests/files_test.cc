// The executable's files when the disk is full or a size limit is reached:
// a failed compile leaves the older files as they were and no temporary one.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> files_in(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder))
    files[e.path().filename().string()] = testing::slurp(e.path());
  return files;
}

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::run_program(SCENARIO_GEN_EXE, "export -o src", dir.path()).status, 0);
  }
  // compile of the shipped descriptions into out, with prefix run first in
  // the shell.
  testing::program_result compile(const std::string& prefix = "") {
    const std::string exe = std::string("'") + SCENARIO_GEN_EXE + "'";
    return testing::run_program("sh",
                                "-c \"" + prefix + exe +
                                    " compile src/Corvale_Pianasco_linea.txt "
                                    "src/Corvale_Pianasco_4816-.txt -o out\"",
                                dir.path());
  }

  testing::scratch_folder dir;
};

TEST_F(FullDisk, ASetThatDoesNotFitLeavesTheOlderOne) {
  const fs::path out = dir.path() / "out";
  fs::create_directory(out);
  // 386 pages: an older set of one page a file and the new plan (381
  // pages) and station file (1) fit, the new grid (6) does not.
  if (::mount("tmpfs", out.c_str(), "tmpfs", 0, "size=1544k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
  for (const char* name :
       {"Corvale_Pianasco_linea.dat", "Corvale_Pianasco_4816.sim", "Corvale_Pianasco_4816.dat"})
    testing::write_file(out / name, std::string("older ") + name);
  const auto older = files_in(out);
  const testing::program_result r = compile();
  const auto after = files_in(out);
  ::umount2(out.c_str(), MNT_DETACH);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
  EXPECT_TRUE(after == older);
}

TEST_F(FullDisk, ASizeLimitIsAnErrorThatLeavesNoFile) {
  const testing::program_result r = compile("mkdir out; ulimit -f 1000; ");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "scenario_gen: error: cannot write 'out/Corvale_Pianasco_linea.dat': File too "
            "large\n");
  EXPECT_TRUE(files_in(dir.path() / "out").empty());
}

}  // namespace
}  // namespace scenario
