// watch through the real executable: a compile at start and one after each
// real save, in place and by rename; an edit with errors; the binary files
// of -o; the page server's refusal of other addresses; Ctrl-C; and the
// usage errors.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "test_support.h"

extern char** environ;

namespace scenario {
namespace {

namespace fs = std::filesystem;

// A watch running in a scratch folder, its stdout and stderr going to files.
class running_watch {
 public:
  running_watch(const testing::scratch_folder& dir, std::vector<std::string> args)
      : out_(dir.file("watch.out")), err_(dir.file("watch.err")) {
    args.insert(args.begin(), {SCENARIO_GEN_EXE, "watch"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    fs::current_path(before);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~running_watch() {
    if (pid_ > 0) stop();
  }
  // Waits up to 5 s for the status lines to reach count; returns stderr
  // then, or an empty string when they did not.
  std::string wait_for_status(std::size_t count) {
    for (int i = 0; i < 500; ++i) {
      const std::string err = testing::slurp(err_);
      std::size_t n = 0;
      for (std::size_t at = err.find("watch: compiled"); at != std::string::npos;
           at = err.find("watch: compiled", at + 1))
        ++n;
      if (n >= count) return err;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
  }
  // Waits up to 5 s for the port of the page it serves; 0 when none is told.
  int wait_for_port() {
    constexpr std::string_view told = "serving the page at http://127.0.0.1:";
    for (int i = 0; i < 500; ++i) {
      const std::string out = testing::slurp(out_);
      if (const auto at = out.find(told); at != std::string::npos)
        return std::atoi(out.c_str() + at + told.size());
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }
  std::string err() const { return testing::slurp(err_); }
  // Ctrl-C; returns the exit status.
  int stop() {
    kill(pid_, SIGINT);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

 private:
  std::string out_;
  std::string err_;
  pid_t pid_ = -1;
};

// The status code that GET path with these header lines gets from
// 127.0.0.1:port, read from the response's first line; 0 without one. The
// connection ends there, so an event stream is only begun.
int http_status(int port, const std::string& path, const std::string& headers) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  timeval wait{5, 0};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<std::uint16_t>(port));
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0) {
    const std::string request = "GET " + path + " HTTP/1.1\r\n" + headers + "\r\n";
    if (send(s, request.data(), request.size(), MSG_NOSIGNAL) ==
        static_cast<ssize_t>(request.size())) {
      char buffer[256];
      ssize_t n = 0;
      while (answer.find("\r\n") == std::string::npos &&
             (n = recv(s, buffer, sizeof buffer, 0)) > 0)
        answer.append(buffer, static_cast<std::size_t>(n));
    }
  }
  close(s);
  return answer.starts_with("HTTP/1.1 ") ? std::atoi(answer.c_str() + 9) : 0;
}

void write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(Watch, CompilesAtStartAndAfterEverySaveUntilCtrlC) {
  testing::scratch_folder dir;
  const std::string line = dir.file("Valle_linea.txt");
  const std::string train = dir.file("Valle_12-.txt");
  write(line, testing::line_text(12000, {"pendenza,  0,   0"}));
  write(train, testing::train_text({"velocita,  0,  90"}));
  running_watch w(dir, {"Valle_linea.txt", "Valle_12-.txt", "-o", "out"});
  EXPECT_NE(w.wait_for_status(1).find("watch: compiled at "), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.path() / "out" / "Valle_12.dat"));

  // In place, then by rename, as editors save.
  write(line, testing::line_text(12000, {"pendenza,  0,   5"}));
  EXPECT_NE(w.wait_for_status(2), "");
  write(dir.file(".Valle_12-.txt.new"), testing::train_text({"velocita,  0,  80"}));
  fs::rename(dir.file(".Valle_12-.txt.new"), train);
  EXPECT_NE(w.wait_for_status(3), "");
  // An edit with errors keeps the last good picture and the last good files.
  const std::string good_grid = testing::slurp(dir.path() / "out" / "Valle_12.dat");
  write(line, testing::line_text(12000, {"pendenza,  99999,   5"}));
  const std::string err = w.wait_for_status(4);
  EXPECT_NE(err.find("Valle_linea.txt:4:12: error: "), std::string::npos) << err;
  EXPECT_NE(err.find("1 error, 11 warnings; the picture is out of date"), std::string::npos) << err;
  EXPECT_EQ(testing::slurp(dir.path() / "out" / "Valle_12.dat"), good_grid);
  EXPECT_EQ(w.stop(), 0);
  EXPECT_NE(testing::slurp(dir.file("watch.err")).find("watch: stopped"), std::string::npos);
}

TEST(Watch, SaysThereIsNoPictureYetUntilAFirstCompileWithoutErrors) {
  testing::scratch_folder dir;
  const std::string line = dir.file("Valle_linea.txt");
  write(line, testing::line_text(12000, {"pendenza,  99999,   5"}));
  write(dir.file("Valle_12-.txt"), testing::train_text({"velocita,  0,  90"}));
  running_watch w(dir, {"Valle_linea.txt", "Valle_12-.txt"});
  std::string err = w.wait_for_status(1);
  EXPECT_NE(err.find("1 error, 11 warnings; no picture yet: the first compile has errors\n"),
            std::string::npos)
      << err;
  write(line, testing::line_text(12000, {"pendenza,  0,   5"}));
  err = w.wait_for_status(2);
  EXPECT_NE(err.find("0 errors, 11 warnings\n"), std::string::npos) << err;
  write(line, testing::line_text(12000, {"pendenza,  99999,   5"}));
  err = w.wait_for_status(3);
  EXPECT_NE(err.find("1 error, 11 warnings; the picture is out of date\n"), std::string::npos)
      << err;
}

TEST(Watch, PageServerAnswersOnlyItsOwnAddress) {
  testing::scratch_folder dir;
  write(dir.file("Valle_linea.txt"), testing::line_text(12000, {"pendenza,  0,   5"}));
  write(dir.file("Valle_12-.txt"), testing::train_text({"velocita,  0,  90"}));
  running_watch w(dir, {"Valle_linea.txt", "Valle_12-.txt", "--serve"});
  const int port = w.wait_for_port();
  if (port == 0 && w.err().find("built without the HTTP library") != std::string::npos)
    GTEST_SKIP() << "scenario_gen was built without the page server (Debian: libcpp-httplib-dev)";
  ASSERT_GT(port, 0) << w.err();
  const std::string own = "127.0.0.1:" + std::to_string(port);
  const std::string foreign = "evil.example:" + std::to_string(port);
  struct request_case {
    std::string headers;
    int status;
  };
  const request_case cases[] = {
      {"Host: " + own + "\r\n", 200},
      {"Host: localhost:" + std::to_string(port) + "\r\nOrigin: http://" + own + "\r\n", 200},
      {"Host: " + foreign + "\r\n", 403},
      {"Host: " + own + "\r\nOrigin: http://" + foreign + "\r\n", 403},
      {"", 403},
  };
  for (const char* path : {"/", "/picture.svg", "/events", "/nothing-here"})
    for (const request_case& c : cases)
      EXPECT_EQ(http_status(port, path, c.headers),
                c.status == 200 && std::string_view(path) == "/nothing-here" ? 404 : c.status)
          << path << " with " << c.headers;
  EXPECT_EQ(w.stop(), 0);
}

// A connection to 127.0.0.1:port that waits at most 5 s for an answer; -1
// when none can be had.
int local_connection(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  timeval wait{5, 0};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<std::uint16_t>(port));
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0) return s;
  close(s);
  return -1;
}

bool send_text(int s, std::string_view text) {
  return send(s, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

// The status of the response whose first line comes next on s; 0 without one.
int response_status(int s) {
  std::string answer;
  char c = 0;
  while (answer.size() < 200 && !answer.ends_with("\r\n") && recv(s, &c, 1, 0) == 1) answer += c;
  return answer.starts_with("HTTP/1.1 ") ? std::atoi(answer.c_str() + 9) : 0;
}

// A client that sends its request one header line every 3 s, and starts
// again when the server gives up on it, until stop; counts the times the
// server gave up in cut.
void slow_client(int port, const std::atomic<bool>& stop, std::atomic<int>& cut) {
  while (!stop) {
    const int s = local_connection(port);
    if (s < 0) return;
    bool sent = send_text(s, "GET / HTTP/1.1\r\n");
    for (int line = 0; sent && !stop; ++line) {
      pollfd waiting{s, POLLIN, 0};
      if (poll(&waiting, 1, 3000) != 0) {
        ++cut;  // answered before its request was whole, or closed
        break;
      }
      sent = send_text(s, "X-Slow-" + std::to_string(line) + ": 1\r\n");
    }
    close(s);
  }
}

TEST(Watch, PageIsServedWhileEventStreamsAreHeldAndClientsAreSlow) {
  testing::scratch_folder dir;
  write(dir.file("Valle_linea.txt"), testing::line_text(12000, {"pendenza,  0,   5"}));
  write(dir.file("Valle_12-.txt"), testing::train_text({"velocita,  0,  90"}));
  running_watch w(dir, {"Valle_linea.txt", "Valle_12-.txt", "--serve"});
  const int port = w.wait_for_port();
  if (port == 0 && w.err().find("built without the HTTP library") != std::string::npos)
    GTEST_SKIP() << "scenario_gen was built without the page server (Debian: libcpp-httplib-dev)";
  ASSERT_GT(port, 0) << w.err();
  const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";

  // 200 pages open: the first 32 follow the saves, the others are refused.
  std::vector<int> streams;
  int followed = 0, refused = 0;
  for (int i = 0; i < 200; ++i) {
    const int s = local_connection(port);
    ASSERT_GE(s, 0);
    streams.push_back(s);
    ASSERT_TRUE(send_text(s, "GET /events HTTP/1.1\r\n" + host + "\r\n"));
    const int status = response_status(s);
    ASSERT_NE(status, 0) << "event stream " << i << " got no answer within 5 s";
    followed += status == 200;
    refused += status == 503;
  }
  EXPECT_EQ(followed, 32);
  EXPECT_EQ(refused, 168);

  std::atomic<bool> stop = false;
  std::atomic<int> cut = 0;
  std::vector<std::thread> slow;
  for (int i = 0; i < 20; ++i) slow.emplace_back(slow_client, port, std::cref(stop), std::ref(cut));
  // The page, four times a second for 6 s, each answer within a second.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(6);
  int answered = 0;
  while (std::chrono::steady_clock::now() < until) {
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(http_status(port, "/", host), 200);
    const auto took = std::chrono::steady_clock::now() - asked;
    EXPECT_LT(took, std::chrono::seconds(1));
    answered += took < std::chrono::seconds(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  stop = true;
  for (std::thread& t : slow) t.join();
  EXPECT_GE(answered, 12);
  // Each slow client was cut off before its second line, at least once.
  EXPECT_GE(cut.load(), 20);
  for (const int s : streams) close(s);
  EXPECT_EQ(w.stop(), 0);
}

TEST(Watch, ReadsUtf8WithEncodingAndRefusesWhatWindows1252Lacks) {
  testing::scratch_folder dir;
  const std::string line = dir.file("Valle_linea.txt");
  write(line, testing::line_text(12000, {"cartello indicatore, 1000, CITT\xC3\x80"}));
  write(dir.file("Valle_12-.txt"), testing::train_text({"velocita,  0,  90"}));
  running_watch w(dir, {"Valle_linea.txt", "Valle_12-.txt", "--encoding", "utf-8"});
  const std::string first = w.wait_for_status(1);
  EXPECT_NE(first.find(": 0 errors, "), std::string::npos) << first;
  EXPECT_EQ(first.find("UTF-8"), std::string::npos) << first;
  write(line, testing::line_text(12000, {"cartello indicatore, 1000, \xD0\x96X"}));
  const std::string second = w.wait_for_status(2);
  EXPECT_NE(second.find("Valle_linea.txt:4:28: error: U+0416 is not a Windows-1252 character"),
            std::string::npos)
      << second;
  EXPECT_EQ(w.stop(), 0);
}

TEST(Watch, UsageErrorsStopBeforeWatching) {
  testing::scratch_folder dir;
  write(dir.file("Valle_linea.txt"), testing::line_text(12000));
  write(dir.file("Valle_12-.txt"), testing::train_text());
  struct usage_case {
    const char* args;
    const char* error;
  };
  for (const usage_case& c :
       {usage_case{"watch Valle_linea.txt",
                   "watch needs a line description and a train description"},
        usage_case{"watch Valle_linea.txt Valle_12-.txt --serve 70000",
                   "--serve '70000' is not a port number"},
        usage_case{"watch Valle_linea.txt Valle_12-.txt --to 0", "--to must be beyond --from"},
        usage_case{"watch Valle_linea.txt Valle_12-.txt --encoding latin1",
                   "--encoding takes 'cp1252' or 'utf-8', not 'latin1'"}}) {
    const testing::program_result r = testing::run_program(SCENARIO_GEN_EXE, c.args, dir.path());
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace scenario
