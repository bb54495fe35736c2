// What only Windows does to the platform layer, run under Wine: files held
// open by another program, names in any script and any case, both slashes,
// saves by MoveFileExW. Wine shares files and matches names as Windows does;
// it is a strong stand-in, not a Windows machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/file_set.h"
#include "platform/file_watch.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/interrupts.h"
#include "platform/page_server.h"
#include "platform/set_intent.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::slurp;
using testing::write_file;

std::vector<std::wstring> names_in(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(e.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

// A file held open without any sharing, as the simulator or an editor may,
// for hold_ms (or the whole test when negative) while a set replaces it.
TEST(WindowsFileSet, AFileHeldOpenIsWaitedForThenRefusedWithTheOlderSetWhole) {
  struct holding {
    const char* what;
    int hold_ms;
    bool replaced;
  };
  const holding cases[] = {{"let go soon", 300, true}, {"held throughout", -1, false}};
  for (const holding& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::scratch_folder dir;
    write_file(dir.path() / "a.dat", "old a");
    write_file(dir.path() / "b.dat", "old b");
    HANDLE held = ::CreateFileW((dir.path() / "b.dat").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letting_go;
    if (c.hold_ms >= 0)
      letting_go = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(c.hold_ms));
        ::CloseHandle(held);
      });
    std::string refused;
    try {
      file_set set(dir.path().string());
      set.add("a.dat").write("new a");
      set.add("b.dat").write("new b");
      set.commit();
    } catch (const io_error& e) {
      refused = e.what();
    }
    if (letting_go.joinable())
      letting_go.join();
    else
      ::CloseHandle(held);
    if (c.replaced) {
      EXPECT_EQ(refused, "");
      EXPECT_EQ(slurp(dir.path() / "a.dat") + slurp(dir.path() / "b.dat"), "new anew b");
    } else {
      EXPECT_EQ(refused, "cannot replace '" + dir.file("b.dat") +
                             "': the file is in use by another program");
      EXPECT_EQ(slurp(dir.path() / "a.dat") + slurp(dir.path() / "b.dat"), "old aold b");
    }
    EXPECT_EQ(names_in(dir.path()), (std::vector<std::wstring>{L"a.dat", L"b.dat"}));
  }
}

TEST(WindowsFiles, TheProgramsFolderAndNamesJoinedToIt) {
  const std::string folder = executable_folder();
  // The tests run from the build folder, whatever its name: written here in
  // Windows' own way, with backslashes.
  std::string build_folder = SCENARIO_BUILD_DIR;
  std::replace(build_folder.begin(), build_folder.end(), '/', '\\');
  EXPECT_EQ(folder, build_folder);
  EXPECT_EQ(join_path(folder, "x.dat"), folder + "\\x.dat");
  // A drive's root is reported with its backslash: the name gets a second.
  EXPECT_EQ(join_path("C:\\", "x.dat"), "C:\\\\x.dat");
}

// Names in Italian and beyond Windows-1252 go through arguments and file
// names intact; the station table stores them as Windows-1252.
TEST(WindowsFiles, AccentedNamesCompileAndAreStoredAsWindows1252) {
  const testing::scratch_folder dir;
  write_file(dir.path() / L"Citt\u00e0_linea.txt", testing::line_text(10000));
  write_file(dir.path() / L"Citt\u00e0_7-.txt", testing::train_text());
  const testing::program_result r = testing::run_program(
      SCENARIO_GEN_EXE, "compile Citt\xC3\xA0_linea.txt Citt\xC3\xA0_7-.txt -o \xC3\xA9t\xC3\xA9",
      dir.path());
  EXPECT_EQ(r.status, 0) << r.err;
  const fs::path out = dir.path() / L"\u00e9t\u00e9";
  EXPECT_EQ(names_in(out), (std::vector<std::wstring>{L"Citt\u00e0_7.dat", L"Citt\u00e0_7.sim",
                                                      L"Citt\u00e0_linea.dat"}));
  EXPECT_NE(slurp(out / L"Citt\u00e0_7.sim")
                .find(std::string("\x05\x00"
                                  "Citt\xE0",
                                  7)),
            std::string::npos);
}

// Windows takes either slash in a path and matches names without regard to
// case: each spelling compiles the same example, into the same names.
TEST(WindowsFiles, EitherSlashAndAnyCaseNameTheSameFiles) {
  const char* spellings[] = {
      "compile sub/Valle_linea.txt sub\\Valle_12-.txt -o out",
      "compile sub\\valle_LINEA.txt SUB/VALLE_12-.TXT -o out",
      "compile .\\sub\\..\\sub\\Valle_Linea.Txt sub//Valle_12-.txt -o out\\",
  };
  for (const char* args : spellings) {
    SCOPED_TRACE(args);
    const testing::scratch_folder dir;
    fs::create_directories(dir.path() / "sub");
    for (const char* name : {"Valle_linea.txt", "Valle_12-.txt"})
      fs::copy_file(fs::path(SCENARIO_TESTS_DIR) / ".." / "docs" / "examples" / name,
                    dir.path() / "sub" / name);
    const testing::program_result r = testing::run_program(SCENARIO_GEN_EXE, args, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    // The names are stored as the folder spells them, as Explorer shows them.
    EXPECT_EQ(names_in(dir.path() / "out"),
              (std::vector<std::wstring>{L"Valle_12.dat", L"Valle_12.sim", L"Valle_linea.dat"}));
  }
}

// What the program says on Windows names Windows' own things: the
// reference's path with backslashes only, no Debian package for --serve.
TEST(WindowsFiles, HelpAndAdviceSpeakOfWindows) {
  const testing::scratch_folder dir;
  const testing::program_result help = testing::run_program(SCENARIO_GEN_EXE, "help", dir.path());
  EXPECT_EQ(help.status, 0);
  for (const char* name : {"authoring.md\n", "examples\n"}) {
    const std::size_t end = help.out.find(name);
    ASSERT_NE(end, std::string::npos) << help.out;
    const std::size_t start = help.out.rfind('\n', end) + 1;
    const std::string line = help.out.substr(start, end - start);
    EXPECT_EQ(line.find('/'), std::string::npos) << line;
    EXPECT_NE(line.find('\\'), std::string::npos) << line;
  }
  EXPECT_EQ(std::string(page_server_missing()).find("Debian"), std::string::npos);
}

// Editors save by writing a new file and moving it onto the name.
TEST(WindowsWatch, ASaveByMoveIsCaughtAndAnotherFileIsNot) {
  const testing::scratch_folder dir;
  const std::string line = dir.file("a_linea.txt");
  write_file(line, "x");
  file_watch watch({line});
  EXPECT_EQ(watch.wait(50), file_watch::outcome::timed_out);
  write_file(dir.path() / "a_linea.txt.new", "y");
  ASSERT_TRUE(::MoveFileExW((dir.path() / "a_linea.txt.new").c_str(),
                            (dir.path() / "A_LINEA.TXT").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(watch.wait(500), file_watch::outcome::saved);
  write_file(dir.path() / "other.txt", "z");
  EXPECT_EQ(watch.wait(200), file_watch::outcome::timed_out);
  std::thread stopper([&] { watch.stop(); });
  EXPECT_EQ(watch.wait(-1), file_watch::outcome::stopped);
  stopper.join();
}

// Two programs writing into one folder take turns; the one that waits says
// so. The lock leaves nothing in the folder, and a temporary file of a
// process that no longer runs is removed when the lock is next taken.
TEST(WindowsFolderLock, AnotherProgramWaitsForTheFolderAndStaleTemporaryFilesGo) {
  const testing::scratch_folder dir;
  for (const char* name : {"Valle_linea.txt", "Valle_12-.txt"})
    fs::copy_file(fs::path(SCENARIO_TESTS_DIR) / ".." / "docs" / "examples" / name,
                  dir.path() / name);
  const std::string mine = "x.dat.partial-" + process_mark();
  write_file(dir.path() / "x.dat.partial-4000000000-0123456789abcdef", "left by a crash");
  write_file(dir.path() / "x.dat.partial-4000000000", "a user's, of a form the program never made");
  write_file(dir.path() / mine, "being written");
  testing::program_result r;
  std::thread other;
  {
    const folder_lock held(dir.path().string());
    other = std::thread([&] {
      r = testing::run_program(SCENARIO_GEN_EXE, "compile Valle_linea.txt Valle_12-.txt",
                               dir.path());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_FALSE(fs::exists(dir.path() / "Valle_12.sim")) << "written while the folder was held";
  }
  other.join();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("note: waiting for another scenario_gen writing into '.'"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir.path() / "x.dat.partial-4000000000-0123456789abcdef"));
  EXPECT_TRUE(fs::exists(dir.path() / "x.dat.partial-4000000000"));
  EXPECT_TRUE(fs::exists(dir.path() / mine));
  EXPECT_TRUE(fs::exists(dir.path() / "Valle_12.sim"));
}

// Ctrl-C and Ctrl-Break reach a watch as a stop, not as the end of the
// process.
TEST(WindowsWatch, CtrlCAndCtrlBreakStopTheWatch) {
  if (::GetConsoleWindow() == nullptr && !::AllocConsole())
    GTEST_SKIP() << "no console to send Ctrl-C on";
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  const testing::scratch_folder dir;
  for (const DWORD key : {CTRL_C_EVENT, CTRL_BREAK_EVENT}) {
    SCOPED_TRACE(key);
    file_watch watch({dir.file("a_linea.txt")});
    const stop_on_interrupt interrupts(watch);
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(key, 0));
    EXPECT_EQ(watch.wait(5000), file_watch::outcome::stopped);
  }
}

}  // namespace
}  // namespace scenario
