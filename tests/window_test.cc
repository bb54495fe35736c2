// The display of an interactive run: the terminal display wherever no X
// display can be opened, and, where the build has the window display, the
// progress window and the message box on a virtual X server (Xvfb), checked
// on screenshots and answered with a synthetic key press.
//
// The X tests need Xvfb, xdotool and xwd (Debian: xvfb, xdotool, x11-apps)
// and skip, saying which is missing, without them. Set
// SCENARIO_TEST_SCREENSHOT_DIR to keep the screenshots (X window dumps).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/window_layout.h"
#include "test_support.h"

extern char** environ;

namespace scenario {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// ---- processes --------------------------------------------------------------

// The path of an executable found on PATH, or an empty string.
std::string find_tool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path p = fs::path(dir.empty() ? "." : dir) / name;
    if (::access(p.c_str(), X_OK) == 0) return p.string();
  }
  return {};
}

// The environment of this process with the given variables set (a value) or
// removed (no value).
std::vector<std::string> environment_with(
    const std::map<std::string, std::optional<std::string>>& changes) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (changes.count(name) == 0) env.push_back(entry);
  }
  for (const auto& [name, value] : changes)
    if (value) env.push_back(name + "=" + *value);
  return env;
}

// A child process, killed and reaped with the object if it is still running.
class child {
 public:
  // Starts argv[0] (a path) in folder with env, stdin from /dev/null and
  // stdout and stderr into the files out and err (or /dev/null when empty).
  child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
        const fs::path& folder, const std::string& out, const std::string& err) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int in = ::open("/dev/null", O_RDONLY);
      const int o =
          ::open(out.empty() ? "/dev/null" : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int e =
          ::open(err.empty() ? "/dev/null" : err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 ||
          ::chdir(folder.c_str()) != 0)
        ::_exit(126);
      ::execve(args[0], args.data(), envp.data());
      ::_exit(127);
    }
  }
  ~child() {
    if (running()) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  child(const child&) = delete;
  child& operator=(const child&) = delete;

  bool started() const { return pid_ > 0; }
  bool running() const { return pid_ > 0 && !status_; }

  // The exit status once the process has ended within timeout (-1 for an
  // end by a signal); nothing while it still runs.
  std::optional<int> wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
      int raw = 0;
      const pid_t r = ::waitpid(pid_, &raw, WNOHANG);
      if (r == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(20ms);
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Runs argv to its end (at most timeout) and returns its exit status and
// stdout; the status is empty when it did not end in time.
struct tool_result {
  std::optional<int> status;
  std::string out;
};
tool_result run_tool(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     std::chrono::milliseconds timeout = 10s) {
  const testing::scratch_folder capture;
  tool_result r;
  {
    child c(argv, env, capture.path(), capture.file("out"), "");
    r.status = c.wait(timeout);
  }
  r.out = testing::slurp(capture.file("out"));
  return r;
}

// ---- the X server -----------------------------------------------------------

// A virtual X server on a free display number, ended with the object.
class virtual_display {
 public:
  explicit virtual_display(const std::string& xvfb) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(null, 2);
      const std::string fd = std::to_string(fds[1]);
      // 96 dpi: the resolution the progress window is laid out at.
      ::execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-dpi",
              "96", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
  }
  ~virtual_display() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  virtual_display(const virtual_display&) = delete;
  virtual_display& operator=(const virtual_display&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// ---- screenshots ------------------------------------------------------------

struct rgb_image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t be32(const std::string& b, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

// The colour value of a mask's field scaled to 0..255.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const std::uint32_t max = mask >> shift;
  return ((pixel & mask) >> shift) * 255u / max;
}

// A TrueColor X window dump (as xwd writes it, 24 or 32 bits a pixel) as RGB;
// nothing for any other kind.
std::optional<rgb_image> read_xwd(const std::string& b) {
  if (b.size() < 100) return std::nullopt;
  const std::uint32_t header_size = be32(b, 0);
  const std::uint32_t version = be32(b, 4);
  const std::uint32_t format = be32(b, 8);
  const std::uint32_t width = be32(b, 16);
  const std::uint32_t height = be32(b, 20);
  const std::uint32_t byte_order = be32(b, 28);  // 0: least significant first
  const std::uint32_t bits_per_pixel = be32(b, 44);
  const std::uint32_t bytes_per_line = be32(b, 48);
  const std::uint32_t visual_class = be32(b, 52);
  const std::uint32_t red = be32(b, 56);
  const std::uint32_t green = be32(b, 60);
  const std::uint32_t blue = be32(b, 64);
  const std::uint32_t ncolors = be32(b, 76);
  if (version != 7 || format != 2 || visual_class != 4 ||
      (bits_per_pixel != 32 && bits_per_pixel != 24))
    return std::nullopt;
  const std::size_t data = header_size + 12u * ncolors;
  const std::size_t bytes = bits_per_pixel / 8;
  if (b.size() < data + static_cast<std::size_t>(bytes_per_line) * height) return std::nullopt;
  rgb_image img;
  img.width = static_cast<int>(width);
  img.height = static_cast<int>(height);
  img.pixels.reserve(static_cast<std::size_t>(width) * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = data + static_cast<std::size_t>(y) * bytes_per_line + x * bytes;
      std::uint32_t p = 0;
      for (std::size_t i = 0; i < bytes; ++i) {
        const std::uint32_t v = static_cast<unsigned char>(b[at + i]);
        p |= byte_order == 0 ? v << (8 * i) : v << (8 * (bytes - 1 - i));
      }
      img.pixels.push_back((channel(p, red) << 16) | (channel(p, green) << 8) | channel(p, blue));
    }
  }
  return img;
}

// Text pixels: clearly darker than the toolkit's grey background.
bool dark(std::uint32_t rgb) {
  const std::uint32_t r = rgb >> 16 & 0xff, g = rgb >> 8 & 0xff, b = rgb & 0xff;
  return (299 * r + 587 * g + 114 * b) / 1000 < 100;
}

// The bounding box of the dark pixels of the area r of img, in the area's
// own coordinates, and how many there are.
struct dark_area {
  int count = 0;
  pixel_rect box;
};
dark_area find_dark(const rgb_image& img, const pixel_rect& r) {
  dark_area d;
  int x0 = r.width, y0 = r.height, x1 = -1, y1 = -1;
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x)
      if (dark(img.at(r.left + x, r.top + y))) {
        ++d.count;
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  if (d.count > 0) d.box = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
  return d;
}

// The dark parts of the area r of img, top to bottom: each a run of rows
// that hold dark pixels, as the bounding box of those pixels in the area's
// own coordinates.
std::vector<pixel_rect> dark_bands(const rgb_image& img, const pixel_rect& r) {
  std::vector<pixel_rect> bands;
  int y = 0;
  while (y < r.height) {
    const dark_area row = find_dark(img, {r.left, r.top + y, r.width, 1});
    if (row.count == 0) {
      ++y;
      continue;
    }
    int end = y + 1;
    while (end < r.height && find_dark(img, {r.left, r.top + end, r.width, 1}).count > 0) ++end;
    pixel_rect band = find_dark(img, {r.left, r.top + y, r.width, end - y}).box;
    band.top += y;
    bands.push_back(band);
    y = end;
  }
  return bands;
}

std::string describe(const pixel_rect& r) {
  return std::to_string(r.width) + "x" + std::to_string(r.height) + " at (" +
         std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
}

// ---- the tests --------------------------------------------------------------

TEST(TerminalDisplay, WithoutDisplayTheMessageIsPrintedAndNothingWaits) {
  const testing::scratch_folder dir;
  child run({STAMP_CONFLICT_RUN_EXE, dir.path().string()}, environment_with({{"DISPLAY", {}}}),
            dir.path(), dir.file("out"), dir.file("err"));
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.wait(60s), 2) << "no end within a minute: did it wait for a button?";
  const std::string err = testing::slurp(dir.file("err"));
  EXPECT_EQ(err.substr(0, err.find("stamp_conflict_run")), " Errore n. 1250\n") << err;
  EXPECT_FALSE(fs::exists(dir.file("Corvale_Pianasco_4816.dat")));
}

TEST(TerminalDisplay, ADisplayThatCannotBeOpenedMeansTheTerminal) {
  // A display number with no server socket: the connection fails at once.
  int n = 90;
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) ++n;
  const testing::scratch_folder dir;
  child run({STAMP_CONFLICT_RUN_EXE, dir.path().string()},
            environment_with({{"DISPLAY", ":" + std::to_string(n)}}), dir.path(), dir.file("out"),
            dir.file("err"));
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.wait(60s), 2) << "no end within a minute: did it wait for a button?";
  const std::string err = testing::slurp(dir.file("err"));
  EXPECT_EQ(err.substr(0, err.find("stamp_conflict_run")), " Errore n. 1250\n") << err;
}

// Runs of the programs on a virtual X server, with the tools that look at it.
class WindowDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef SCENARIO_WITH_WINDOW
    GTEST_SKIP() << "this build has no window display (FLTK not found; Debian: libfltk1.3-dev)";
#endif
    xvfb_ = find_tool("Xvfb");
    xdotool_ = find_tool("xdotool");
    xwd_ = find_tool("xwd");
    if (xvfb_.empty()) GTEST_SKIP() << "Xvfb not found (Debian: xvfb)";
    if (xdotool_.empty()) GTEST_SKIP() << "xdotool not found (Debian: xdotool)";
    if (xwd_.empty()) GTEST_SKIP() << "xwd not found (Debian: x11-apps)";
    server_ = std::make_unique<virtual_display>(xvfb_);
    ASSERT_FALSE(server_->name().empty()) << "Xvfb did not start";
  }

  std::vector<std::string> env(std::map<std::string, std::optional<std::string>> extra = {}) {
    extra["DISPLAY"] = server_->name();
    // Under LeakSanitizer: the font library's caches are not leaks of ours.
    const char* lsan = std::getenv("LSAN_OPTIONS");
    const std::string supp = "print_suppressions=0:suppressions=" +
                             (fs::path(SCENARIO_TESTS_DIR) / "window_lsan.supp").string();
    extra["LSAN_OPTIONS"] =
        lsan != nullptr && *lsan != '\0' ? std::string(lsan) + ":" + supp : supp;
    return environment_with(extra);
  }

  // The id of the visible window of X class cls, waiting up to timeout.
  std::string find_window(const std::string& cls, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
      const tool_result r =
          run_tool({xdotool_, "search", "--onlyvisible", "--class", "^" + cls + "$"}, env());
      std::string id = r.out.substr(0, r.out.find('\n'));
      if (!id.empty()) return id;
      std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
  }

  // The client area of a window on the screen.
  pixel_rect geometry(const std::string& id) {
    const tool_result r = run_tool({xdotool_, "getwindowgeometry", "--shell", id}, env());
    std::map<std::string, int> v;
    std::stringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
      const auto eq = line.find('=');
      if (eq != std::string::npos) v[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    }
    return {v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]};
  }

  // A screenshot of the whole screen, kept under SCENARIO_TEST_SCREENSHOT_DIR
  // as name.xwd when that is set.
  std::optional<rgb_image> screenshot(const std::string& name) {
    const std::string file = shots_.file(name + ".xwd");
    const tool_result r = run_tool({xwd_, "-root", "-silent", "-out", file}, env());
    if (r.status != 0) return std::nullopt;
    const std::string bytes = testing::slurp(file);
    if (const char* keep = std::getenv("SCENARIO_TEST_SCREENSHOT_DIR"))
      fs::copy_file(file, fs::path(keep) / (name + ".xwd"), fs::copy_options::overwrite_existing);
    return read_xwd(bytes);
  }

  std::string xvfb_, xdotool_, xwd_;
  std::unique_ptr<virtual_display> server_;
  testing::scratch_folder shots_;
};

TEST_F(WindowDisplay, ProgressWindowShowsTheLabelWhereTheLayoutPutsItBeforeTheWork) {
  const testing::scratch_folder dir;
  const std::string exe = dir.file("scenario_gen");
  fs::copy_file(SCENARIO_GEN_EXE, exe);
  child run({exe}, env({{"SCENARIO_TEST_HOLD_WINDOW_MS", "4000"}}), dir.path(), dir.file("out"),
            dir.file("err"));
  ASSERT_TRUE(run.started());

  const std::string id = find_window("scenario_gen", 20s);
  ASSERT_FALSE(id.empty()) << "no progress window appeared";
  const auto shot = screenshot("progress_window");
  // Painted before the work: while it is held, no file has been written yet.
  std::set<std::string> during;
  for (const auto& e : fs::directory_iterator(dir.path()))
    during.insert(e.path().filename().string());
  EXPECT_EQ(during, (std::set<std::string>{"scenario_gen", "out", "err"}));
  EXPECT_TRUE(run.running()) << "the run ended before the screenshot was taken";
  ASSERT_TRUE(shot) << "no screenshot";

  const progress_layout layout = progress_window_layout();
  const pixel_rect client = geometry(id);
  EXPECT_EQ(client.width, layout.client_width);
  EXPECT_EQ(client.height, layout.client_height);
  ASSERT_GE(client.left, 0);
  ASSERT_GE(client.top, 0);
  ASSERT_LE(client.left + client.width, shot->width);
  ASSERT_LE(client.top + client.height, shot->height);

  // The text is there, inside the label's rectangle, from its top-left
  // corner, and as large as a 24-point bold face makes "Attendere".
  const dark_area text = find_dark(*shot, client);
  ASSERT_GT(text.count, 300) << "no label text in the window";
  const pixel_rect& l = layout.label;
  const pixel_rect& t = text.box;
  SCOPED_TRACE("text " + describe(t) + ", label " + describe(l));
  EXPECT_GE(t.left, l.left);
  EXPECT_GE(t.top, l.top);
  EXPECT_LE(t.left + t.width, l.left + l.width);
  EXPECT_LE(t.top + t.height, l.top + l.height);
  EXPECT_LE(t.left, l.left + 4);
  EXPECT_LE(t.top, l.top + 12);
  EXPECT_GE(t.width, 120);
  EXPECT_GE(t.height, 18);
  // Bold strokes: at this size about 41% of the text's box is dark in the
  // bold face and 31% in the regular one.
  EXPECT_GE(text.count * 100, 36 * t.width * t.height) << text.count << " dark pixels";

  // The run then goes on to its end, says nothing on the terminal, and the
  // window goes with the process.
  EXPECT_EQ(run.wait(120s), 0);
  EXPECT_EQ(testing::slurp(dir.file("err")), "");
  EXPECT_TRUE(fs::exists(dir.file("Corvale_Pianasco_4816.dat")));
  const tool_result after =
      run_tool({xdotool_, "search", "--onlyvisible", "--class", "^scenario_gen$"}, env());
  EXPECT_EQ(after.out, "");
}

// The message box of a run that ends through it: the box on the screen, its
// text line and its button, and the run still waiting for the answer.
class MessageBox : public WindowDisplay {
 protected:
  void SetUp() override {
    WindowDisplay::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    run_ = std::make_unique<child>(
        std::vector<std::string>{STAMP_CONFLICT_RUN_EXE, dir_.path().string()}, env(), dir_.path(),
        dir_.file("out"), dir_.file("err"));
    ASSERT_TRUE(run_->started());
    id_ = find_window("scenario_gen_message", 20s);
    ASSERT_FALSE(id_.empty()) << "no message box appeared";
    const auto shot = screenshot("message_box");
    ASSERT_TRUE(shot) << "no screenshot";
    box_ = geometry(id_);
    ASSERT_GE(box_.left, 0);
    ASSERT_GE(box_.top, 0);
    ASSERT_LE(box_.left + box_.width, shot->width);
    ASSERT_LE(box_.top + box_.height, shot->height);

    // Two dark bands: the text line " Errore n. 1250" and, below it, the
    // button with its frame and "OK".
    const std::vector<pixel_rect> bands = dark_bands(*shot, box_);
    ASSERT_EQ(bands.size(), 2u) << "box " << describe(box_);
    const pixel_rect& text = bands[0];
    button_ = bands[1];
    SCOPED_TRACE("box " + describe(box_) + ", text " + describe(text) + ", button " +
                 describe(button_));
    EXPECT_GE(text.width, 70);
    EXPECT_LE(text.width, 140);
    EXPECT_GE(text.height, 8);
    EXPECT_LE(text.height, 20);
    EXPECT_GE(button_.width, 40);
    EXPECT_GE(button_.height, 15);

    // Still waiting for the button after the screenshot, and nothing written.
    EXPECT_FALSE(run_->wait(500ms)) << "the run did not wait for OK";
    EXPECT_FALSE(fs::exists(dir_.file("Corvale_Pianasco_4816.dat")));
    EXPECT_EQ(testing::slurp(dir_.file("err")), "");
  }

  // After the answer: the run ends with status 2 and writes no binary file.
  void expect_end_after_ok() {
    EXPECT_EQ(run_->wait(30s), 2) << "the run did not end after OK";
    const std::string err = testing::slurp(dir_.file("err"));
    EXPECT_EQ(err.rfind("stamp_conflict_run: message 1250: ", 0), 0u) << err;
    EXPECT_FALSE(fs::exists(dir_.file("Corvale_Pianasco_4816.dat")));
  }

  testing::scratch_folder dir_;
  std::unique_ptr<child> run_;
  std::string id_;
  pixel_rect box_;
  pixel_rect button_;  // in the box's coordinates
};

TEST_F(MessageBox, EnterPressesOk) {
  const tool_result key = run_tool(
      {xdotool_, "windowfocus", "--sync", id_, "key", "--clearmodifiers", "Return"}, env());
  EXPECT_EQ(key.status, 0);
  expect_end_after_ok();
}

TEST_F(MessageBox, AClickOnTheButtonPressesOk) {
  const std::string x = std::to_string(button_.left + button_.width / 2);
  const std::string y = std::to_string(button_.top + button_.height / 2);
  const tool_result click =
      run_tool({xdotool_, "mousemove", "--sync", "--window", id_, x, y, "click", "1"}, env());
  EXPECT_EQ(click.status, 0);
  expect_end_after_ok();
}

}  // namespace
}  // namespace scenario
