#include "platform/files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/descriptor.h"

namespace scenario {
namespace {

constexpr char k_separator = '/';

std::string reason(int err) {
  return std::strerror(err);
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

bool file_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string read_file(const std::string& path, std::uint64_t max_bytes, std::string_view what) {
  const auto too_large = [&](std::uint64_t size) {
    return io_error(path, "read",
                    std::to_string(size) + " bytes, larger than " + std::string(what) +
                        " may be (at most " + std::to_string(max_bytes) + " bytes)");
  };
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw io_error(path, "open", reason(errno));
  if (!S_ISREG(st.st_mode)) throw io_error(path, "read", "not a regular file");
  // Should a FIFO take the file's place after the test, opening it still
  // does not wait for a writer, and the test below refuses it.
  descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) throw io_error(path, "open", reason(errno));
  if (::fstat(fd.get(), &st) != 0) throw io_error(path, "read", reason(errno));
  if (!S_ISREG(st.st_mode)) throw io_error(path, "read", "not a regular file");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size > max_bytes) throw too_large(size);
  std::string content;
  content.reserve(static_cast<std::size_t>(size));
  std::array<char, 65536> buf{};
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw io_error(path, "read", reason(errno));
    }
    if (n == 0) break;
    content.append(buf.data(), static_cast<std::size_t>(n));
    // A file that grows while it is read is held to the same limit.
    if (content.size() > max_bytes) throw too_large(content.size());
  }
  return content;
}

bool holds_exactly(const std::string& path, std::string_view bytes) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) != bytes.size())
    return false;
  try {
    return read_file(path, bytes.size()) == bytes;
  } catch (const io_error&) {
    return false;
  }
}

std::string move_aside(const std::string& path) {
  for (int n = 0;; ++n) {
    std::string aside = path + ".bak";
    if (n > 0) aside += "." + std::to_string(n);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
      return aside;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
      throw io_error(path, "move", reason(errno));
    // A file system without the no-replace rename: a link under the new
    // name, which never replaces anything either, then the old name goes.
    if (::link(path.c_str(), aside.c_str()) == 0) {
      if (::unlink(path.c_str()) != 0) throw io_error(path, "move", reason(errno));
      return aside;
    }
    if (errno != EEXIST) throw io_error(path, "move", reason(errno));
  }
}

void remove_file(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw io_error(path, "delete", reason(errno));
}

}  // namespace scenario
