#include "platform/file_set.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "platform/file_faults.h"
#include "platform/files.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::slurp;
using testing::write_file;

// Sets faults for one scope.
class injected {
 public:
  explicit injected(file_faults f) : faults_(std::move(f)) { set_file_faults(&faults_); }
  ~injected() { set_file_faults(nullptr); }

 private:
  file_faults faults_;
};

// The names in folder, sorted, each with its content.
std::string contents(const fs::path& folder) {
  std::set<std::string> lines;
  for (const auto& e : fs::directory_iterator(folder))
    lines.insert(e.path().filename().string() + "=" + slurp(e.path()));
  std::string all;
  for (const std::string& l : lines) all += l + ";";
  return all;
}

// An older set of a and b (no c), then a set writing a, c and b anew; what
// it threw, if anything.
std::string replace_older_set(const testing::scratch_folder& dir) {
  write_file(dir.path() / "a", "old a");
  write_file(dir.path() / "b", "old b");
  try {
    file_set set(dir.path().string());
    set.add("a").write("new a");
    set.add("c").write("new c");
    // b is made of parts written out of order.
    output_file& b = set.add("b");
    b.write_at(4, "b");
    b.write_at(0, "new ");
    set.commit();
  } catch (const io_error& e) {
    return e.what();
  }
  return "";
}

TEST(FileSet, AFailureAnywhereLeavesTheOlderSetWholeAndNoTemporaryFile) {
  struct fault_case {
    const char* what;
    file_faults faults;
    std::string error;  // after "cannot "
  };
  const auto on = [](std::string_view name, int err) {
    return [=](const std::string& path) { return path.ends_with(name) ? err : 0; };
  };
  const fault_case cases[] = {
      {"disk full on b",
       {.write_error = [](const std::string& path, std::uint64_t,
                          std::size_t) { return path.ends_with("/b") ? ENOSPC : 0; }},
       "write '#/b': No space left on device"},
      {"size limit on c",
       {.write_error = [](const std::string& path, std::uint64_t,
                          std::size_t) { return path.ends_with("/c") ? EFBIG : 0; }},
       "write '#/c': File too large"},
      // The members put in place before the one that fails go back: a over
      // its older file, c into a free name.
      {"rename of c fails", {.rename_error = on("/c", EIO)}, "replace '#/c': Input/output error"},
      {"rename of b fails", {.rename_error = on("/b", EIO)}, "replace '#/b': Input/output error"},
  };
  for (const fault_case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::scratch_folder dir;
    std::string error = c.error;
    error.replace(error.find('#'), 1, dir.path().string());
    {
      const injected faults(c.faults);
      EXPECT_EQ(replace_older_set(dir), "cannot " + error);
    }
    EXPECT_EQ(contents(dir.path()), "a=old a;b=old b;");
  }
  testing::scratch_folder dir;
  EXPECT_EQ(replace_older_set(dir), "");
  EXPECT_EQ(contents(dir.path()), "a=new a;b=new b;c=new c;");
}

TEST(FileSet, RefusesNamesThatCannotTakeAFileAndNeverWritesThroughALink) {
  testing::scratch_folder dir;
  const fs::path& d = dir.path();
  fs::create_directory(d / "folder");
  ASSERT_EQ(::mkfifo((d / "fifo").c_str(), 0644), 0);
  fs::create_directory_symlink(d / "folder", d / "to_folder");
  const std::string at = d.string() + "/";
  const std::pair<const char*, std::string> refused[] = {
      {"folder", "cannot create '" + at + "folder': Is a directory"},
      {"to_folder", "cannot create '" + at + "to_folder': Is a directory"},
      {"fifo", "cannot create '" + at + "fifo': not a regular file"},
      {"", "cannot create '" + at + "': Is a directory"},
  };
  for (const auto& [name, error] : refused) {
    try {
      file_set set(d.string());
      set.add(name);
      ADD_FAILURE() << name << " was taken";
    } catch (const io_error& e) {
      EXPECT_EQ(e.what(), error);
    }
  }
  const std::string before = contents(d / "folder");

  // A link is replaced itself: nothing appears where a dangling one points,
  // and a file behind one keeps its bytes.
  testing::scratch_folder elsewhere;
  write_file(elsewhere.path() / "target", "target");
  fs::create_symlink(elsewhere.path() / "missing", d / "dangling");
  fs::create_symlink(elsewhere.path() / "target", d / "linked");
  replace_file(at + "dangling", "new");
  replace_file(at + "linked", "new");
  EXPECT_EQ(contents(elsewhere.path()), "target=target;");
  EXPECT_FALSE(fs::is_symlink(d / "dangling"));
  EXPECT_EQ(slurp(d / "dangling"), "new");
  EXPECT_EQ(slurp(d / "linked"), "new");
  EXPECT_EQ(contents(d / "folder"), before);
}

// Root writes anywhere: as root (as CI runs) the writer runs as nobody, in
// a child, on a folder and a file that nobody owns.
TEST(FileSet, ReadOnlyFileIsRefusedAsItWouldBeWritten) {
  testing::scratch_folder dir;
  const fs::path ro = dir.path() / "ro";
  write_file(ro, "kept");
  fs::permissions(ro, fs::perms::owner_read);
  const auto refused = [&] {
    try {
      replace_file(ro.string(), "new");
    } catch (const io_error&) {
      return slurp(ro) == "kept";
    }
    return false;
  };
  if (::geteuid() != 0) {
    EXPECT_TRUE(refused());
    return;
  }
  constexpr uid_t k_nobody = 65534;
  ASSERT_EQ(::chown(dir.path().c_str(), k_nobody, k_nobody), 0);
  ASSERT_EQ(::chown(ro.c_str(), k_nobody, k_nobody), 0);
  const auto as_nobody = [&] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(k_nobody) != 0 || ::setuid(k_nobody) != 0)
      ::_exit(3);
    ::_exit(refused() ? 0 : 1);
  };
  EXPECT_EXIT(as_nobody(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(slurp(ro), "kept");
}

// A writer stopped between its temporary files and the renames: by SIGKILL
// it leaves them, for the next writer in the folder to remove; by SIGTERM it
// removes them itself.
TEST(FileSetDeathTest, AStoppedWriterLeavesTheOlderSetAndNoTemporaryFileSurvives) {
  for (const int sig : {SIGKILL, SIGTERM}) {
    SCOPED_TRACE(sig);
    testing::scratch_folder dir;
    const auto stop_before_rename = [&] {
      const file_faults faults{.before_rename = [sig] { ::raise(sig); }};
      set_file_faults(&faults);
      replace_older_set(dir);
    };
    EXPECT_EXIT(stop_before_rename(), ::testing::KilledBySignal(sig), "");
    const std::string left = contents(dir.path());
    if (sig == SIGKILL)
      EXPECT_NE(left.find(".partial-"), std::string::npos) << left;
    else
      EXPECT_EQ(left, "a=old a;b=old b;");
    replace_file((dir.path() / "d").string(), "d");
    EXPECT_EQ(contents(dir.path()), "a=old a;b=old b;d=d;");
  }
}

TEST(FolderLock, ASecondWriterWaitsAndSaysSo) {
  testing::scratch_folder dir;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const folder_lock lock(dir.path().string());
    const char c = 'x';
    if (::write(ready[1], &c, 1) != 1) ::_exit(1);
    ::usleep(1300 * 1000);
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  std::ostringstream notices;
  const auto start = std::chrono::steady_clock::now();
  {
    const folder_lock lock(dir.path().string(), notices);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  }
  int status = -1;
  ASSERT_EQ(::waitpid(holder, &status, 0), holder);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(notices.str(), "scenario_gen: note: waiting for another scenario_gen writing into '" +
                               dir.path().string() + "'\n");
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace scenario
