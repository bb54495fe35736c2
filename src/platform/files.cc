#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace scenario {
namespace {

constexpr char k_separator = '/';

std::string reason(int err) {
  return std::strerror(err);
}

// Closes a descriptor when it goes out of scope.
class descriptor {
 public:
  explicit descriptor(int fd) : fd_(fd) {}
  descriptor(const descriptor&) = delete;
  descriptor& operator=(const descriptor&) = delete;
  ~descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports the error of close, if any.
  int close_now() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

void write_all(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw io_error(path, "write", reason(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string executable_folder() {
  std::array<char, 4096> buf{};
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n < 0) throw io_error("/proc/self/exe", "read the link", reason(errno));
  std::string exe(buf.data(), static_cast<std::size_t>(n));
  const auto slash = exe.rfind(k_separator);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return exe.substr(0, slash);
}

std::string join_path(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += k_separator;
  path += name;
  return path;
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string read_file(const std::string& path) {
  descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw io_error(path, "open", reason(errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw io_error(path, "read", reason(errno));
  if (!S_ISREG(st.st_mode)) throw io_error(path, "read", "not a regular file");
  std::string content;
  content.reserve(static_cast<std::size_t>(st.st_size));
  std::array<char, 65536> buf{};
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw io_error(path, "read", reason(errno));
    }
    if (n == 0) break;
    content.append(buf.data(), static_cast<std::size_t>(n));
  }
  return content;
}

void remove_file(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw io_error(path, "delete", reason(errno));
}

void replace_file(const std::string& path, std::string_view bytes) {
  {
    // The name itself must take a write: this refuses a read-only file or a
    // folder standing under the name, as the writers always have.
    descriptor probe(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (probe.get() < 0) throw io_error(path, "create", reason(errno));
  }
  const std::string temp = path + ".partial-" + std::to_string(::getpid());
  ::unlink(temp.c_str());
  descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) throw io_error(temp, "create", reason(errno));
  try {
    write_all(fd.get(), bytes, path);
    if (const int err = fd.close_now(); err != 0) throw io_error(path, "write", reason(err));
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  // The old file goes first, as the writers have always deleted it before
  // creating it anew; renaming over a file that still exists would also make
  // the file system flush the new data to disk before the rename.
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw io_error(path, "delete", reason(err));
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    throw io_error(path, "replace", reason(err));
  }
}

}  // namespace scenario
